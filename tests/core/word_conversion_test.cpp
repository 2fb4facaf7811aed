// The word-aware pinyin conversion: polyphones read from their words on the committed data,
// the cutting rule and the plain conversion's layout on small tables, and the fast path
// against the plain reference.

#include "core/word_conversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "core/batch.h"
#include "core/text.h"

namespace zhavik {
namespace {

class RealWords : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    book_ = new CodeBook(load_dictionary_texts(ZHAVIK_SOURCE_DIR));
    list_ = new WordList(
        *read_word_pinyin_file(std::filesystem::path(ZHAVIK_SOURCE_DIR) / kWordPinyinFile));
    table_ = new WordTable(list_->words);
  }
  static void TearDownTestSuite() {
    delete table_;
    delete list_;
    delete book_;
  }
  static CodeBook* book_;
  static WordList* list_;
  static WordTable* table_;
};

CodeBook* RealWords::book_ = nullptr;
WordList* RealWords::list_ = nullptr;
WordTable* RealWords::table_ = nullptr;

TEST_F(RealWords, PolyphonesTakeTheReadingOfTheirWord) {
  EXPECT_EQ(list_->malformed_lines, 0u);
  const struct {
    std::u16string_view text;
    std::u16string_view expected;
  } cases[] = {
      {u"我去银行\r\n行走很慢", u"wǒ qù yín háng \r\nxíng zǒu hěn màn \r\n"},
      {u"长大\r\n长度", u"zhǎng dà \r\ncháng dù \r\n"},
      {u"重新\r\n重要", u"chóng xīn \r\nzhòng yào \r\n"},
      {u"睡觉\r\n觉得", u"shuì jiào \r\njué de \r\n"},
      {u"音乐\r\n快乐", u"yīn yuè \r\nkuài lè \r\n"},
      {u"朝阳\r\n朝代", u"zhāo yáng \r\ncháo dài \r\n"},
      // 一 and 不 in their base tones, as a dictionary spells them.
      {u"一个\r\n不是", u"yī gè \r\nbù shì \r\n"},
      // A word interrupted by a blank or a line end is no word: 行 keeps its first reading.
      {u"银 行\r\n银\r\n行", u"yín xíng \r\nyín \r\nxíng \r\n"},
      // A surrogate pair stays one character, and a word beside it is found.
      {u"😀银行😀", u"### yín háng ### \r\n\r\n"},
      // Text without words converts as the plain conversion does.
      {u"你 a，\t", u"nǐ ### 暂缺 ### \r\n\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(convert_text_by_words(*book_, *table_, c.text), c.expected);
    EXPECT_EQ(convert_text_by_words_reference(*book_, list_->words, c.text), c.expected);
  }
}

// The neighbourhood of the first place where two long texts differ, which a failure shows.
std::u16string_view around_first_difference(std::u16string_view a, std::u16string_view b) {
  const std::size_t at = static_cast<std::size_t>(
      std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin());
  return a.substr(at < 40 ? 0 : at - 40, 80);
}

// A stretch of real prose, line by line and whole: the fast path agrees with the reference
// and with itself, and changes nothing but readings.
TEST_F(RealWords, AgreesWithTheReferenceOnRealProse) {
  std::ifstream file(std::filesystem::path(ZHAVIK_SOURCE_DIR) / "bench/accuracy/handbook_zh_cn.txt",
                     std::ios::binary);
  std::string bytes(20'000, '\0');
  file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  std::u16string text = utf8_to_utf16_lossy(bytes);
  // The editor hands over CR LF.
  for (std::size_t at = 0; (at = text.find(u'\n', at)) != std::u16string::npos; at += 2) {
    text.replace(at, 1, u"\r\n");
  }
  const std::u16string converted = convert_text_by_words(*book_, *table_, text);
  const std::u16string reference = convert_text_by_words_reference(*book_, list_->words, text);
  EXPECT_EQ(around_first_difference(converted, reference),
            around_first_difference(reference, converted));
  std::u16string by_lines;
  std::istringstream lines(bytes);
  for (std::string line; std::getline(lines, line);) {
    append_line_by_words(by_lines, *book_, *table_, utf8_to_utf16_lossy(line));
    by_lines += u"\r\n";
  }
  EXPECT_EQ(around_first_difference(converted, by_lines),
            around_first_difference(by_lines, converted));
  const auto items = [](std::u16string_view out) {
    return std::count(out.begin(), out.end(), u' ');
  };
  EXPECT_EQ(items(converted), items(convert_text(*book_, text, u"拼音")));
}

// Small tables: how a line is cut, and the plain layout around the words.
TEST(WordCutting, FewestPiecesThenTheLongerWordFirst) {
  const CodeBook book(
      DictionaryTexts{{}, {}, pinyin_data_from(u"jia3=甲\r\nyi3=乙\r\nbing3=丙\r\nding1=丁\r\n")});
  const std::vector<WordReading> words = {
      {u"甲乙", u"jia2 yi2"}, {u"乙丙", u"yi4 bing4"}, {u"乙丙丁", u"yi1 bing1 ding2"},
      {u"甲乙", u"jia5 yi5"},  // a repeated word keeps its first line
      {u"丙", u"bing2"},       // one character is no word
  };
  const WordTable table(words);
  EXPECT_EQ(table.size(), 3u);
  const struct {
    std::u16string_view text;
    std::u16string_view expected;
  } cases[] = {
      // 甲|乙丙丁 (two pieces) beats 甲乙|丙|丁 (three).
      {u"甲乙丙丁", u"jiǎ yī bīng díng \r\n\r\n"},
      // 甲乙|丙 and 甲|乙丙 tie: the longer word comes first.
      {u"甲乙丙", u"jiá yí bǐng \r\n\r\n"},
      {u"丙甲乙\r\n甲 乙", u"bǐng jiá yí \r\njiǎ yǐ \r\n"},
      {u"", u"\r\n\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(convert_text_by_words(book, table, c.text), c.expected);
    EXPECT_EQ(convert_text_by_words_reference(book, words, c.text), c.expected);
  }
}

}  // namespace
}  // namespace zhavik
