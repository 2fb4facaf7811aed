// The committed dictionaries and word file: facts a user relies on, polyphones read from their
// words, and every character answered alike by the plain scan, the index and the quick paths.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "core/batch.h"
#include "core/browser.h"
#include "core/code_book.h"
#include "core/cp936.h"
#include "core/dictionary_excerpt.h"
#include "core/first_words.h"
#include "core/lookup_scan.h"
#include "core/pinyin_style.h"
#include "core/query.h"
#include "core/word_conversion.h"

namespace zhavik {
namespace {

const DictionaryTexts& texts() {
  static const DictionaryTexts loaded = load_dictionary_texts(ZHAVIK_SOURCE_DIR);
  return loaded;
}

const CodeBook& book() {
  static const CodeBook indexed(texts());
  return indexed;
}

std::string file_bytes(const char* name) {
  std::ifstream file(std::string(ZHAVIK_SOURCE_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

const WordList& words() {
  static const WordList list =
      parse_word_pinyin(file_bytes(kWordPinyinFile), CharacterReadings(texts().pinyin_data));
  return list;
}

const CountList& counts() {
  static const CountList list = parse_word_counts(file_bytes(kWordCountsFile));
  return list;
}

const WordTable& table() {
  static const WordTable built(words().words, counts().counts);
  return built;
}

TEST(RealData, KnownCharacters) {
  const QueryResult hao = run_query(book(), u"  好人 ");
  EXPECT_EQ(hao.character, u"好");
  EXPECT_EQ(hao.answers[0], u"hǎo  hào  ");
  EXPECT_NE(hao.answers[1].find(u"vbg "), std::u16string::npos);
  EXPECT_NE(hao.answers[2].find(u"vbg "), std::u16string::npos);
  EXPECT_EQ(hao.answers[3], u"2635");
  // A character's usual reading comes first, wherever its syllable stands: lǜ before lù.
  EXPECT_EQ(book().huoqu(u"拼音", u"绿"), u"lǜ  lù  ");
  EXPECT_EQ(book().huoqu(u"拼音", u"说").substr(0, 6), u"shuō  ");
  EXPECT_EQ(book().huoqu(u"拼音", u"說"), u"shuō  ");
  EXPECT_EQ(book().huoqu(u"拼音", u"嗯"), u"ńg  ń  ňg  ǹg  ");
  EXPECT_EQ(book().huoqu(u"98五笔", u"式").substr(0, 3), u"aa ");
  EXPECT_EQ(book().huoqu(u"98五笔", u"藏").find(u"aa "), std::u16string::npos);
  EXPECT_EQ(convert_text(book(), u"中国人\r\n你", u"拼音"), u"zhōng guó rén \r\nnǐ \r\n");
}

TEST(RealData, EverySyllableOfTheBrowserReachesCharacters) {
  const std::u16string& pinyin = texts().pinyin_data;
  EXPECT_EQ(syllables_of_letter(pinyin, u"a", 40),
            (std::vector<std::u16string>{u"a", u"ai", u"an", u"ang", u"ao"}));
  // Hundreds of records lie beyond unit 32,767 of the text; theirs are found too.
  for (char16_t letter = u'a'; letter <= u'z'; ++letter) {
    for (const auto& syllable : syllables_of_letter(pinyin, {&letter, 1}, 40)) {
      EXPECT_FALSE(characters_of_syllable(pinyin, syllable, 114).empty())
          << testing::PrintToString(syllable);
    }
  }
}

TEST(RealData, PolyphonesTakeTheReadingOfTheirWord) {
  EXPECT_EQ(words().malformed_lines + counts().malformed_lines, 0u);
  const struct {
    std::u16string_view text, expected;
  } cases[] = {
      {u"我去银行\r\n行走很慢", u"wǒ qù yín háng \r\nxíng zǒu hěn màn \r\n"},
      {u"长大\r\n长度", u"zhǎng dà \r\ncháng dù \r\n"},
      // 一 and 不 in their base tones, as a dictionary spells them.
      {u"一个\r\n不是", u"yī gè \r\nbù shì \r\n"},
      // A word interrupted by a blank or a line end is no word: 行 keeps its first reading.
      {u"银 行\r\n银\r\n行", u"yín xíng \r\nyín \r\nxíng \r\n"},
      // A surrogate pair stays one character, and a word beside it is found.
      {u"😀银行😀", u"### yín háng ### \r\n\r\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(convert_text_by_words(book(), table(), c.text), c.expected);
}

// The reading of one character of a text converted by words; `at` counts the characters,
// all of them hanzi.
std::u16string reading_at(std::u16string_view text, std::size_t at, bool sandhi) {
  const std::u16string converted = convert_text_by_words(book(), table(), text, sandhi);
  std::size_t begin = 0;
  for (std::size_t i = 0; i < at; ++i)
    begin = converted.find(u' ', begin) + 1;
  return converted.substr(begin, converted.find(u' ', begin) - begin);
}

// Places that real prose got wrong: a cut across the words (问 + 明了 liǎo, 我 + 的哥 + 哥),
// a particle or a measure word that no word reads, and the context rules.
TEST(RealData, LinesAreCutAsTheyAreLikeliestReadAndRulesReadTheRest) {
  const struct {
    std::u16string_view text;
    std::size_t at;
    std::u16string_view expected;
  } cases[] = {
      {u"问明了情况", 2, u"le"},     {u"吃我的人便是我的哥哥", 7, u"de"},
      {u"似乎打的是自己", 3, u"de"}, {u"那个的哥开车", 2, u"dī"},
      {u"慢慢地走", 2, u"de"},       {u"土地", 1, u"dì"},
      {u"跑得快", 1, u"de"},         {u"获得", 1, u"dé"},
      {u"两只手", 1, u"zhī"},        {u"这只猫", 1, u"zhī"},
      {u"每只", 1, u"zhī"},          {u"只是", 0, u"zhǐ"},
      {u"他只有一个", 1, u"zhǐ"},    {u"胡子这么长了", 4, u"cháng"},
      {u"一支长烟管", 2, u"cháng"},  {u"孩子长大了", 2, u"zhǎng"},
      {u"最后两行", 3, u"háng"},     {u"我还得活几天", 2, u"děi"},
      {u"又得了胜", 1, u"dé"},
  };
  std::u16string all;  // the reference is slow on the full tables: all lines at once
  for (const auto& c : cases) {
    EXPECT_EQ(reading_at(c.text, c.at, false), c.expected) << testing::PrintToString(c.text);
    all += c.text;
    all += u"\r\n";
  }
  EXPECT_EQ(convert_text_by_words(book(), table(), all),
            convert_text_by_words_reference(book(), words().words, counts().counts, all));
}

// zhavik-lookup --sandhi: 一 and 不 as spoken, 一 as a numeral where it counts.
TEST(RealData, ToneSandhiOfYiAndBu) {
  const struct {
    std::u16string_view text;
    std::size_t at;
    std::u16string_view expected;
  } cases[] = {
      {u"一个人", 0, u"yí"},   {u"不是", 0, u"bú"},       {u"一天", 0, u"yì"},
      {u"一起", 0, u"yì"},     {u"不好", 0, u"bù"},       {u"第一个", 1, u"yī"},
      {u"十一点", 1, u"yī"},   {u"一九九八年", 0, u"yī"}, {u"统一战线", 1, u"yī"},
      {u"唯一的", 1, u"yī"},   {u"一模一样", 2, u"yí"},   {u"一万一千", 2, u"yì"},
      {u"十一万", 1, u"yī"},   {u"看一看", 1, u"yi"},     {u"一月", 0, u"yī"},
      {u"说了一", 2, u"yī"},   {u"不一会", 1, u"yí"},     {u"这一月", 1, u"yí"},
      {u"另一方面", 1, u"yì"},
  };
  std::u16string all;
  for (const auto& c : cases) {
    EXPECT_EQ(reading_at(c.text, c.at, true), c.expected) << testing::PrintToString(c.text);
    EXPECT_EQ(reading_at(c.text, c.at, false), c.text[c.at] == u'一' ? u"yī" : u"bù");
    all += c.text;
    all += u"\r\n";
  }
  EXPECT_EQ(convert_text_by_words(book(), table(), all, true),
            convert_text_by_words_reference(book(), words().words, counts().counts, all, true));
}

// Every character, in every kind: the index against the plain scan, and the command-line
// tool's quick ways to an answer (the first words alone, the pinyin answer in marks, the scan
// of an excerpt that holds only the character's lines) against the index.
TEST(RealData, IndexAndQuickPathsAgreeWithTheScanOnEveryCharacter) {
  // Every character that code page 936 writes with two bytes in any of the texts.
  std::set<char16_t> characters;
  for (const std::u16string* text :
       {&texts().pinyin_data, &texts().wubi86_data, &texts().wubi98_data}) {
    for (const char16_t unit : *text) {
      if (cp936_double_byte(unit) != 0) characters.insert(unit);
    }
  }
  ASSERT_GT(characters.size(), 6763u);
  const std::string files[] = {file_bytes(kWubi86File), file_bytes(kWubi98File),
                               file_bytes(kPinyinFile)};
  std::vector<FirstWords> words;
  for (const Kind kind : kAllKinds)
    words.emplace_back(texts(), kind);
  for (const char16_t unit : characters) {
    const std::u16string character(1, unit);
    const std::uint16_t code = cp936_double_byte(unit);
    const DictionaryTexts excerpt{
        wubi_data_from(cp936_decode(dictionary_excerpt(files[0], {code}))),
        wubi_data_from(cp936_decode(dictionary_excerpt(files[1], {code}))),
        pinyin_data_from(cp936_decode(dictionary_excerpt(files[2], {code})))};
    int mismatches = pinyin_answer_scan(texts().pinyin_data, character, PinyinStyle::marks) !=
                     book().huoqu(u"拼音", character);
    for (std::size_t k = 0; k < kAllKinds.size(); ++k) {
      const std::u16string_view kind = kind_text(kAllKinds[k]);
      const std::u16string answer = book().huoqu(kind, character);
      mismatches += answer != huoqu_scan(texts(), kind, character);
      mismatches += answer != huoqu_scan(excerpt, kind, character);
      mismatches +=
          words[k].of(unit, code) != std::u16string_view(answer).substr(0, answer.find(u' '));
    }
    ASSERT_EQ(mismatches, 0) << testing::PrintToString(character);
  }
}

}  // namespace
}  // namespace zhavik
