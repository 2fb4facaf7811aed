// Reading the word file: what a line must hold, and files that cannot be read.

#include "core/word_table.h"

#include <gtest/gtest.h>

#include "tests/core/dictionary_folder.h"

namespace zhavik {
namespace {

TEST(WordFile, BadLinesAreSkippedAndCounted) {
  const std::string lines =
      "银行\tyin2 hang2\r\n"  // CR LF is fine
      "女儿\tnü3 er2\n"
      "\n"                              // empty
      "银行 yin2 hang2\n"               // no tab
      "银\tyin2\n"                      // one character
      "银行\tyin2\n"                    // a reading short
      "银行\tyin2  hang2\n"             // two blanks
      "银行\tYin2 hang2\n"              // not lower case
      "银行\tyin6 hang2\n"              // no such tone
      "银a\tyin2 a1\n"                  // a one-byte character
      "\xe9\x93\xb6\xff\tyin2 hang2\n"  // not UTF-8
      "行走\txing2 zou3";               // no line end after the last line
  std::string too_long = "\t";          // 33 characters
  for (int i = 0; i < 33; ++i)
    too_long = "一" + too_long + (i == 0 ? "yi1" : " yi1");
  const WordList list = parse_word_pinyin(too_long + "\n" + lines);
  ASSERT_EQ(list.words.size(), 3u);
  EXPECT_EQ(list.words[0].word, u"银行");
  EXPECT_EQ(list.words[1].readings, u"nü3 er2");
  EXPECT_EQ(list.words[2].word, u"行走");
  EXPECT_EQ(list.malformed_lines, 10u);
}

class WordFileOnDisk : public DictionaryFolder {};

TEST_F(WordFileOnDisk, OnlyARegularReadableFileLoads) {
  const std::filesystem::path path = folder_ / kWordPinyinFile;
  EXPECT_FALSE(read_word_pinyin_file(path));
  std::filesystem::create_directory(path);
  EXPECT_FALSE(read_word_pinyin_file(path));
  std::filesystem::remove(path);
  write(kWordPinyinFile, "银行\tyin2 hang2\n");
  const std::optional<WordList> list = read_word_pinyin_file(path);
  ASSERT_TRUE(list);
  EXPECT_EQ(list->words.size(), 1u);
}

}  // namespace
}  // namespace zhavik
