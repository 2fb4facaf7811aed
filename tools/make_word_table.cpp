// Compiles the word table of a program folder (its img/word_pinyin.txt, img/word_counts.txt
// and img/3.jpg) into the form the programs load at once, img/word_table.bin; the build
// runs it whenever one of those files changes (see core/pinyin/word_loading.h).
//
// Usage: make_word_table FOLDER OUTPUT   (FOLDER holds img/)

#include <cstdio>
#include <fstream>

#include "core/dictionary/dictionary_texts.h"
#include "core/pinyin/word_loading.h"

int main(int argc, char** argv) {
  using namespace zhavik;
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_word_table FOLDER OUTPUT\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  const std::optional<std::string> compiled =
      compile_word_table(folder / kWordPinyinFile, load_dictionary_texts(folder)[Kind::pinyin]);
  if (!compiled) {
    std::fprintf(stderr, "make_word_table: cannot use %s\n",
                 (folder / kWordPinyinFile).string().c_str());
    return 1;
  }
  // Written beside and renamed over the old table, never rewritten in place: a program that
  // has the old one mapped keeps reading it whole.
  const std::filesystem::path output = argv[2];
  std::filesystem::path written = output;
  written += ".new";
  std::ofstream out(written, std::ios::binary | std::ios::trunc);
  out.write(compiled->data(), static_cast<std::streamsize>(compiled->size()));
  out.close();
  std::error_code error;
  if (out) std::filesystem::rename(written, output, error);
  if (!out || error) {
    std::fprintf(stderr, "make_word_table: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
