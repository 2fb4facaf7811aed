// Pinyin in every style, for every syllable of the real data, and read back as users write
// it. The real data tests 嗯 (ń ńg ňg ǹg) in tone marks.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <string_view>
#include <utility>

#include "core/dictionary/dictionary_texts.h"
#include "core/dictionary/first_words.h"
#include "core/dictionary/lookup_scan.h"
#include "core/dictionary/reverse_lookup.h"
#include "core/pinyin/pinyin_style.h"
#include "core/pinyin/tone_marks.h"
#include "core/text/cp936.h"
#include "core/text/text.h"

namespace zhavik {
namespace {

TEST(ToneMarks, MarkLandsWhereTheOrderOfFinalsPutsIt) {
  // Compound finals without a group of their own go through the final they end with; ü gets
  // its marks after the other finals, so the e of üe takes the mark first, and v is no ü;
  // finals ending in n or ng keep the mark on their vowel; syllables without a vowel take it
  // on their first letter, ng before n; the neutral tone drops the digit; only lower case
  // finals count; each pass works on the previous result.
  const std::pair<std::u16string_view, std::u16string_view> cases[] = {
      {u"hao3", u"hǎo"},   {u"kou3", u"kǒu"},     {u"zhong1 guo2", u"zhōng guó"},
      {u"xiao1", u"xiāo"}, {u"tian2", u"tián"},   {u"guang1", u"guāng"},
      {u"huai4", u"huài"}, {u"yue4", u"yuè"},     {u"gui4", u"guì"},
      {u"liu2", u"liú"},   {u"ma5", u"ma"},       {u"nü3", u"nǚ"},
      {u"lü1", u"lǖ"},     {u"lü5", u"lü"},       {u"lüe4", u"lüè"},
      {u"lv4", u"lv4"},    {u"ng1", u"n\u0304g"}, {u"n3", u"ň"},
      {u"m2", u"ḿ"},       {u"m3", u"m\u030C"},   {u"m4", u"m\u0300"},
      {u"hm5", u"hm"},     {u"hng5", u"hng"},     {u"an2", u"án"},
      {u"ang2", u"áng"},   {u"ing3", u"ǐng"},     {u"A1", u"A1"},
      {u"ai11", u"āī"},    {u"an1g", u"āng"}};
  for (const auto& [numbered, marked] : cases)
    EXPECT_TRUE(zhuanhuan_py(numbered) == marked) << std::string(numbered.begin(), numbered.end());
}

// Numbers and no tones come from the key, so they hold for syllables the tone marks leave
// as they are; marks are huoqu's answer, which the real data tests.
TEST(PinyinStyle, ReadingsInEachStyle) {
  const DictionaryTexts texts{
      {Kind::pinyin, pinyin_data_from(u"zhong1=中钟\r\nzhong4=众中\r\nng2=嗯\r\nlü5=绿")}};
  const auto readings = [&](std::u16string_view character, PinyinStyle style) {
    return answer_scan(texts, Kind::pinyin, character, kMaxAnswerUnits, style).items;
  };
  using Items = std::vector<std::u16string>;
  EXPECT_EQ(readings(u"中", PinyinStyle::numbers), (Items{u"zhong1", u"zhong4"}));
  EXPECT_EQ(readings(u"中", PinyinStyle::none), (Items{u"zhong", u"zhong"}));
  EXPECT_EQ(readings(u"嗯", PinyinStyle::none), Items{u"ng"});
  EXPECT_EQ(readings(u"绿", PinyinStyle::none), Items{u"lü"});
  EXPECT_EQ(readings(u"国", PinyinStyle::numbers), Items{});
}

struct SyllableRow {
  std::u16string zhuyin, initial, third_tone;
};

// tests/core/syllables.txt, by syllable.
std::map<std::u16string, SyllableRow> syllable_table() {
  std::ifstream file(std::string(ZHAVIK_SOURCE_DIR) + "/tests/core/syllables.txt");
  std::map<std::u16string, SyllableRow> table;
  for (std::string line; std::getline(file, line);) {
    if (line.starts_with('#')) continue;
    std::istringstream fields(line);
    std::string syllable, zhuyin, initial, third_tone;
    fields >> syllable >> zhuyin >> initial >> third_tone;
    table[*utf8_to_utf16(syllable)] = {*utf8_to_utf16(zhuyin),
                                       initial == "-" ? u"" : *utf8_to_utf16(initial),
                                       *utf8_to_utf16(third_tone)};
  }
  return table;
}

TEST(PinyinStyle, EverySyllableOfTheDataInEveryStyle) {
  const std::map<std::u16string, SyllableRow> table = syllable_table();
  ASSERT_EQ(table.size(), 417u);
  std::size_t keys = 0;
  for_each_record(load_dictionary_texts(ZHAVIK_SOURCE_DIR)[Kind::pinyin],
                  [&](std::u16string_view record) {
                    const std::size_t equals = record.find(u'=');
                    if (equals == std::u16string_view::npos) return;  // an empty line
                    const std::u16string_view key = record.substr(0, equals);
                    ++keys;
                    EXPECT_TRUE(table.contains(std::u16string(key.substr(0, key.size() - 1))))
                        << testing::PrintToString(std::u16string(key));
                  });
  EXPECT_GT(keys, 1400u);  // the real dictionary was read
  for (const auto& [syllable, row] : table) {
    const std::u16string first = syllable + u'1';
    const std::u16string third = syllable + u'3';
    EXPECT_EQ(styled_reading(first, PinyinStyle::zhuyin), row.zhuyin);
    EXPECT_EQ(styled_reading(third, PinyinStyle::initials), row.initial);
    EXPECT_EQ(styled_reading(third, PinyinStyle::marks), row.third_tone);
    EXPECT_EQ(styled_reading(third, PinyinStyle::first), syllable.substr(0, 1));
    EXPECT_EQ(styled_reading(third, PinyinStyle::numbers), third);
    EXPECT_EQ(styled_reading(third, PinyinStyle::none), syllable);
  }
}

// The lookups that write a style (the answer, the conversion's first words, the characters
// of a reading) on every key of the real dictionary, against the syllable table; the
// conversion's first word agrees with the answer's first reading.
TEST(PinyinStyle, EveryKeyOfTheDataThroughTheLookups) {
  const std::map<std::u16string, SyllableRow> table = syllable_table();
  const DictionaryTexts texts = load_dictionary_texts(ZHAVIK_SOURCE_DIR);
  const auto with_v = [](std::u16string text) {
    std::replace(text.begin(), text.end(), u'ü', u'v');
    return text;
  };
  constexpr auto v = UmlautSpelling::v;
  const PinyinFormat formats[] = {PinyinStyle::zhuyin,
                                  PinyinStyle::initials,
                                  PinyinStyle::first,
                                  {PinyinStyle::none, v},
                                  {PinyinStyle::numbers, v}};
  for (const PinyinFormat format : formats) {
    FirstWords first_words(texts, Kind::pinyin, format);
    std::size_t keys = 0;
    for_each_record(texts[Kind::pinyin], [&](std::u16string_view record) {
      const std::size_t equals = record.find(u'=');
      if (equals == std::u16string_view::npos || equals + 1 == record.size()) return;
      const std::u16string key(record.substr(0, equals));
      const std::u16string syllable = key.substr(0, key.size() - 1);
      const int tone = key.back() - u'0';
      const SyllableRow& row = table.at(syllable);
      std::u16string expected;
      switch (format.style) {
        case PinyinStyle::zhuyin:
          if (tone != 1) return;  // the table gives the first tone
          expected = row.zhuyin;
          break;
        case PinyinStyle::initials:
          expected = row.initial;
          break;
        case PinyinStyle::first:
          expected = syllable.substr(0, 1);
          break;
        default:
          expected = with_v(format.style == PinyinStyle::none ? syllable : key);
      }
      SCOPED_TRACE(testing::PrintToString(key) + " in style " +
                   std::to_string(static_cast<int>(format.style)));
      ++keys;
      const std::vector<ReverseEntry> entries =
          characters_of_reading(texts[Kind::pinyin], {syllable, tone}, false, format);
      ASSERT_FALSE(entries.empty());
      for (const ReverseEntry& entry : entries)
        EXPECT_EQ(entry.code, expected);
      const std::u16string& character = entries.front().character;
      const Answer answer = answer_scan(texts, Kind::pinyin, character, kMaxAnswerUnits, format);
      EXPECT_NE(std::find(answer.items.begin(), answer.items.end(), expected), answer.items.end());
      EXPECT_EQ(first_words.of(character[0], cp936_double_byte(character[0])),
                first_word(AnswerShape::readings, answer.items.front()));
    });
    EXPECT_GT(keys, format.style == PinyinStyle::zhuyin ? 300u : 1400u);
  }
}

TEST(PinyinStyle, TonesUmlautsAndKeysOutsideTheScheme) {
  constexpr auto v = UmlautSpelling::v;
  const struct {
    std::u16string_view key;
    PinyinFormat format;
    std::u16string_view expected;
  } cases[] = {
      // Zhuyin: the first tone (or none given) unmarked, ˊ ˇ ˋ after, the neutral ˙ before.
      {u"guo2", PinyinStyle::zhuyin, u"ㄍㄨㄛˊ"},
      {u"ni3", PinyinStyle::zhuyin, u"ㄋㄧˇ"},
      {u"shi4", PinyinStyle::zhuyin, u"ㄕˋ"},
      {u"de5", PinyinStyle::zhuyin, u"˙ㄉㄜ"},
      {u"hm5", PinyinStyle::zhuyin, u"˙ㄏㄇ"},
      {u"ng2", PinyinStyle::zhuyin, u"ㄫˊ"},
      {u"zhong", PinyinStyle::zhuyin, u"ㄓㄨㄥ"},
      {u"ê4", PinyinStyle::zhuyin, u"ㄝˋ"},
      // v stands for ü where letters are written out, and nowhere else.
      {u"lü4", {PinyinStyle::numbers, v}, u"lv4"},
      {u"nüe5", {PinyinStyle::none, v}, u"nve"},
      {u"lü4", PinyinStyle::none, u"lü"},
      {u"lü4", {PinyinStyle::marks, v}, u"lǜ"},
      {u"lü4", {PinyinStyle::zhuyin, v}, u"ㄌㄩˋ"},
      // Keys that are no syllable of the scheme come back as they are.
      {u"xyz3", PinyinStyle::zhuyin, u"xyz3"},
      {u"y1", PinyinStyle::initials, u"y1"},
      {u"zhong12", PinyinStyle::zhuyin, u"zhong12"},
      {u"", PinyinStyle::zhuyin, u""},
      {u"", PinyinStyle::first, u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(styled_reading(c.key, c.format), c.expected)
        << testing::PrintToString(std::u16string(c.key)) << " in style "
        << static_cast<int>(c.format.style);
  }
}

TEST(PinyinStyle, SyllablesAsUsersWriteThem) {
  const std::pair<std::u16string, std::optional<std::pair<std::u16string, int>>> cases[] = {
      {u"zhong", {{u"zhong", 0}}},  {u"zhong1", {{u"zhong", 1}}}, {u"zhōng", {{u"zhong", 1}}},
      {u"Zhong4", {{u"zhong", 4}}}, {u"lv4", {{u"lü", 4}}},       {u"lü4", {{u"lü", 4}}},
      {u"lǜ", {{u"lü", 4}}},        {u"LÜ", {{u"lü", 0}}},        {u"ńg", {{u"ng", 2}}},
      {u"m\x0300", {{u"m", 4}}},    {u"a5", {{u"a", 5}}},         {u"zhōng1", std::nullopt},
      {u"zh1ong", std::nullopt},    {u"1", std::nullopt},         {u"", std::nullopt},
      {u"中", std::nullopt},        {u"a6", std::nullopt},        {u"zhong ", std::nullopt},
  };
  for (const auto& [text, expected] : cases) {
    const std::optional<WrittenSyllable> read = read_written_syllable(text);
    ASSERT_EQ(read.has_value(), expected.has_value()) << testing::PrintToString(text);
    if (read) {
      EXPECT_EQ(read->syllable, expected->first) << testing::PrintToString(text);
      EXPECT_EQ(read->tone, expected->second) << testing::PrintToString(text);
    }
  }
}

}  // namespace
}  // namespace zhavik
