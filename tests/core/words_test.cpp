// The word-aware pinyin conversion, the fast path and the plain reference alike: polyphones
// read from their words on the committed data, the cutting rule on a small table, and what a
// line of the word file must hold.

#include "core/word_conversion.h"

#include <gtest/gtest.h>

#include "core/batch.h"

namespace zhavik {
namespace {

struct RealWords {
  CodeBook book{load_dictionary_texts(ZHAVIK_SOURCE_DIR)};
  WordList list{*read_word_pinyin_file(std::filesystem::path(ZHAVIK_SOURCE_DIR) / kWordPinyinFile)};
  WordTable table{list.words};
};

const RealWords& real() {
  static const RealWords words;
  return words;
}

TEST(RealWords, PolyphonesTakeTheReadingOfTheirWord) {
  EXPECT_EQ(real().list.malformed_lines, 0u);
  const struct {
    std::u16string_view text, expected;
  } cases[] = {
      {u"我去银行\r\n行走很慢", u"wǒ qù yín háng \r\nxíng zǒu hěn màn \r\n"},
      {u"长大\r\n长度", u"zhǎng dà \r\ncháng dù \r\n"},
      {u"重新\r\n重要", u"chóng xīn \r\nzhòng yào \r\n"},
      {u"睡觉\r\n觉得", u"shuì jiào \r\njué de \r\n"},
      // 一 and 不 in their base tones, as a dictionary spells them.
      {u"一个\r\n不是", u"yī gè \r\nbù shì \r\n"},
      // A word interrupted by a blank or a line end is no word: 行 keeps its first reading.
      {u"银 行\r\n银\r\n行", u"yín xíng \r\nyín \r\nxíng \r\n"},
      // A surrogate pair stays one character, and a word beside it is found.
      {u"😀银行😀", u"### yín háng ### \r\n\r\n"},
      {u"你 a，\t", u"nǐ ### 暂缺 ### \r\n\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(convert_text_by_words(real().book, real().table, c.text), c.expected);
    EXPECT_EQ(convert_text_by_words_reference(real().book, real().list.words, c.text), c.expected);
  }
}

TEST(WordCutting, FewestPiecesThenTheLongerWordFirst) {
  const CodeBook book(
      DictionaryTexts{{}, {}, pinyin_data_from(u"jia3=甲\r\nyi3=乙\r\nbing3=丙\r\nding1=丁\r\n")});
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
