// Where reading words changes the pinyin of real prose: converts a UTF-8 text (one
// paragraph a line) plainly and by words and prints one tab-separated line per hanzi whose
// reading differs (with --agreeing: whose reading is the same): line number, place in the
// line, the hanzi, its surroundings, the plain reading, the word reading. The last line
// counts the hanzi and the differences.
//
// Usage: word_accuracy [--agreeing] TEXT_FILE [PROGRAM_FOLDER]   (the folder holding img/;
// default: this program's build folder)

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/conversion/batch.h"
#include "core/conversion/word_conversion.h"
#include "core/pinyin/word_loading.h"
#include "core/text/text.h"

namespace {

std::vector<std::u16string_view> items_of(std::u16string_view converted) {
  std::vector<std::u16string_view> items;
  for (std::size_t begin = 0, blank; (blank = converted.find(u' ', begin)) != converted.npos;
       begin = blank + 1) {
    items.push_back(converted.substr(begin, blank - begin));
  }
  return items;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zhavik;
  const bool agreeing = argc > 1 && std::string_view(argv[1]) == "--agreeing";
  argv += agreeing;
  argc -= agreeing;
  if (argc < 2) {
    std::fprintf(stderr, "usage: word_accuracy [--agreeing] TEXT_FILE [PROGRAM_FOLDER]\n");
    return 2;
  }
  const std::filesystem::path folder = argc > 2 ? argv[2] : ZHAVIK_BUILD_DIR;
  const CodeBook book(load_dictionary_texts(folder));
  const LoadedWords words = load_word_table(folder / kWordPinyinFile, book.texts()[Kind::pinyin]);
  std::ifstream file(argv[1], std::ios::binary);
  if (!words.table || !file) {
    std::fprintf(stderr, "word_accuracy: cannot read the word file or the text\n");
    return 1;
  }
  const WordTable& table = *words.table;
  long hanzi = 0, differing = 0, line_number = 0;
  for (std::string bytes; std::getline(file, bytes);) {
    ++line_number;
    const std::u16string line = utf8_to_utf16_lossy(bytes);
    WordConversion conversion(book, table);
    const std::u16string by_words = convert_whole_text(conversion, line, TextLayout::window);
    const std::u16string plain = convert_text(book, line, Kind::pinyin);
    const std::vector<std::u16string_view> plain_items = items_of(plain);
    const std::vector<std::u16string_view> word_items = items_of(by_words);
    std::size_t item = 0;
    for (std::size_t i = 0; i < line.size(); i += character_length(line, i)) {
      if (line[i] == u' ') continue;
      const bool is_hanzi = line[i] >= 0x4E00 && line[i] <= 0x9FFF;
      hanzi += is_hanzi;
      const bool differs = plain_items[item] != word_items[item];
      differing += differs;
      if (is_hanzi && differs != agreeing) {
        const std::size_t from = i < 12 ? 0 : i - 12;
        std::cout << line_number << '\t' << i << '\t' << utf16_to_utf8(line.substr(i, 1)) << '\t'
                  << utf16_to_utf8(line.substr(from, i - from)) << '['
                  << utf16_to_utf8(line.substr(i, 1)) << ']'
                  << utf16_to_utf8(line.substr(i + 1, 12)) << '\t'
                  << utf16_to_utf8(plain_items[item]) << '\t' << utf16_to_utf8(word_items[item])
                  << '\n';
      }
      ++item;
    }
  }
  std::cout << "# hanzi " << hanzi << " differing " << differing << '\n';
  return 0;
}
