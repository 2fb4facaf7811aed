// The committed dictionaries and word file: facts a user relies on, polyphones read from their
// words, and every character answered alike by the plain scan, the index and the quick paths.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "core/conversion/word_conversion.h"
#include "core/dictionary/browser.h"
#include "core/dictionary/code_book.h"
#include "core/dictionary/first_words.h"
#include "core/dictionary/lookup_scan.h"
#include "core/dictionary/query.h"
#include "core/text/cp936.h"

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
      parse_word_pinyin(file_bytes(kWordPinyinFile), CharacterReadings(texts()[Kind::pinyin]));
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
  EXPECT_EQ(book().huoqu(Kind::pinyin, u"绿"), u"lǜ  lù  ");
  EXPECT_EQ(book().huoqu(Kind::pinyin, u"说").substr(0, 6), u"shuō  ");
  EXPECT_EQ(book().huoqu(Kind::pinyin, u"說"), u"shuō  ");
  EXPECT_EQ(book().huoqu(Kind::pinyin, u"嗯"), u"ńg  ń  ňg  ǹg  ");
  EXPECT_EQ(book().huoqu(Kind::wubi98, u"式").substr(0, 3), u"aa ");
  EXPECT_EQ(book().huoqu(Kind::wubi98, u"藏").find(u"aa "), std::u16string::npos);
}

TEST(RealData, EverySyllableOfTheBrowserReachesCharacters) {
  const std::u16string& pinyin = texts()[Kind::pinyin];
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
      {u"问明了情况", 2, u"le"},
      {u"吃我的人便是我的哥哥", 7, u"de"},
      {u"似乎打的是自己", 3, u"de"},
      {u"那个的哥开车", 2, u"dī"},
      {u"慢慢地走", 2, u"de"},
      {u"土地", 1, u"dì"},
      {u"跑得快", 1, u"de"},
      {u"获得", 1, u"dé"},
      {u"两只手", 1, u"zhī"},
      {u"这只猫", 1, u"zhī"},
      {u"每只", 1, u"zhī"},
      {u"只是", 0, u"zhǐ"},
      {u"他只有一个", 1, u"zhǐ"},
      {u"胡子这么长了", 4, u"cháng"},
      {u"一支长烟管", 2, u"cháng"},
      {u"孩子长大了", 2, u"zhǎng"},
      {u"最后两行", 3, u"háng"},
      {u"我还得活几天", 2, u"děi"},
      {u"又得了胜", 1, u"dé"},
      // The rules of context_readings.cpp on sentences of bench/accuracy/, each beside a
      // place it must leave alone.
      {u"创建新的物理卷", 6, u"juàn"},
      {u"所有卷组上的分区", 2, u"juàn"},
      {u"松松的卷了放在长桌上", 3, u"juǎn"},
      {u"松松的卷了放在长桌上", 7, u"cháng"},
      {u"将长烟管靠在桌旁", 1, u"cháng"},
      {u"他是我的长子", 4, u"zhǎng"},
      {u"店伙也翘了长指甲", 5, u"cháng"},
      {u"上午又烧了四十九卷《大悲咒》", 8, u"juàn"},
      {u"七斤没有应。", 4, u"yìng"},
      {u"一个看着她的疤应和道", 7, u"yìng"},
      {u"不应该这样", 1, u"yīng"},
      {u"写下一行题目", 3, u"háng"},
      {u"五行缺土", 1, u"xíng"},
      {u"你读过书么", 2, u"guo"},
      {u"而且受过高等教育", 3, u"guo"},
      {u"避免使用过多的硬盘空间", 4, u"guò"},
      {u"代人受过", 3, u"guò"},
      {u"只见豆撒得一地", 3, u"sǎ"},
      {u"他撒谎", 1, u"sā"},
      {u"系上桌帏", 0, u"jì"},
      {u"被系着细线", 1, u"xì"},
      {u"他抬起紫涨着的脸来了", 4, u"zhàng"},
      {u"煤油已经涨价两次了", 4, u"zhǎng"},
      {u"七年四月二日识。", 6, u"zhì"},
      {u"乡下人不识好歹", 4, u"shí"},
      {u"荷生满脸是血，", 5, u"xiě"},
      {u"打得头破血出", 4, u"xuè"},
      {u"他又喝干一杯酒", 3, u"gān"},
      {u"你干什么", 1, u"gàn"},
      {u"只是盐和干辣椒", 4, u"gān"},
      {u"坐在门槛上剥豆去", 5, u"bāo"},
      {u"平桥内泊着一只白篷的航船", 3, u"bó"},
      {u"怕自己调得不好", 3, u"tiáo"},
      {u"他们的笑容和声调上", 7, u"diào"},
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

// Every character, in every kind: the index against the plain scan, and the quick ways to an
// answer (the first words alone, of the code book and of the command-line tool, and the scan
// of an excerpt that holds only the character's lines) against the index.
TEST(RealData, IndexAndQuickPathsAgreeWithTheScanOnEveryCharacter) {
  // Every character that code page 936 writes with two bytes in any of the texts.
  std::set<char16_t> characters;
  for (const Kind kind : kAllKinds) {
    for (const char16_t unit : texts()[kind]) {
      if (cp936_double_byte(unit) != 0) characters.insert(unit);
    }
  }
  ASSERT_GT(characters.size(), 6763u);
  std::vector<std::string> files;
  std::vector<FirstWords> words;
  for (const KindRow& row : kKinds) {
    files.push_back(row.file ? file_bytes(row.file) : "");
    words.emplace_back(texts(), row.kind);
  }
  std::u16string scratch;
  for (const char16_t unit : characters) {
    const std::u16string character(1, unit);
    const std::vector<std::uint16_t> code = {cp936_double_byte(unit)};
    DictionaryTexts excerpt;
    for (const KindRow& row : kKinds) {
      if (row.file) excerpt[row.kind] = dictionary_text(row.kind, files[index_of(row.kind)], &code);
    }
    int mismatches = 0;
    for (const Kind kind : kAllKinds) {
      const Answer answer = book().answer(kind, character);
      mismatches += answer != answer_scan(texts(), kind, character);
      mismatches += answer != answer_scan(excerpt, kind, character);
      const std::u16string shown = answer_text(shape_of(kind), answer);
      const std::u16string_view first = std::u16string_view(shown).substr(0, shown.find(u' '));
      mismatches += words[index_of(kind)].of(unit, code[0]) != first;
      mismatches += book().first_word(kind, unit, scratch) != first;
    }
    ASSERT_EQ(mismatches, 0) << testing::PrintToString(character);
  }
}

}  // namespace
}  // namespace zhavik
