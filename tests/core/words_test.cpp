// The word-aware pinyin conversion, fast path and reference alike, on a small table (the real
// data tests the committed word file), and what a line of the word file must hold.

#include "core/word_conversion.h"

#include <gtest/gtest.h>

#include "core/batch.h"

namespace zhavik {
namespace {

TEST(WordCutting, FewestPiecesThenTheLongerWordFirst) {
  const CodeBook book(DictionaryTexts{
      {Kind::pinyin, pinyin_data_from(u"jia3=甲\r\nyi3=乙\r\nbing3=丙\r\nding1=丁\r\n")}});
  const std::vector<WordReading> words = {
      {u"甲乙", u"jia2 yi2"}, {u"乙丙", u"yi4 bing4"}, {u"乙丙丁", u"yi1 bing1 ding2"},
      {u"甲乙", u"jia5 yi5"},  // a repeated word keeps its first line
      {u"丙", u"bing2"},       // one character is no word
  };
  const WordTable table(words);
  const struct {
    std::u16string_view text, expected;
  } cases[] = {
      // 甲|乙丙丁 (two pieces) beats 甲乙|丙|丁 (three).
      {u"甲乙丙丁", u"jiǎ yī bīng díng \r\n\r\n"},
      // 甲乙|丙 and 甲|乙丙 tie: the longer word comes first.
      {u"甲乙丙", u"jiá yí bǐng \r\n\r\n"},
      {u"丙甲乙\r\n甲 乙", u"bǐng jiá yí \r\njiǎ yǐ \r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(convert_text_by_words(book, table, c.text), c.expected);
    EXPECT_EQ(convert_text_by_words_reference(book, words, c.text), c.expected);
  }
  // One line alone gets the items it gets inside a whole text.
  std::u16string line;
  append_line_by_words(line, book, table, u"丙甲乙");
  EXPECT_EQ(line, u"bǐng jiá yí ");
}

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

}  // namespace
}  // namespace zhavik
