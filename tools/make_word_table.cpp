// Compiles the word table of a program folder (its img/word_pinyin.txt, img/word_counts.txt
// and img/3.jpg) into the form the programs load at once, img/word_table.bin; the build
// runs it whenever one of those files changes (see core/word_loading.h).
//
// Usage: make_word_table FOLDER OUTPUT   (FOLDER holds img/)

#include <cstdio>
#include <fstream>

#include "core/dictionary_texts.h"
#include "core/word_loading.h"

int main(int argc, char** argv) {
  using namespace zhavik;
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_word_table FOLDER OUTPUT\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  const std::optional<std::string> compiled =
      compile_word_table(folder / kWordPinyinFile, load_dictionary_texts(folder).pinyin_data);
  if (!compiled) {
    std::fprintf(stderr, "make_word_table: cannot use %s\n",
                 (folder / kWordPinyinFile).string().c_str());
    return 1;
  }
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out.write(compiled->data(), static_cast<std::streamsize>(compiled->size()));
  if (!out.flush()) {
    std::fprintf(stderr, "make_word_table: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
