// Pinyin spelt with tone marks, numbers or neither, and read back as users write it. The
// real data tests 嗯 (ń ńg ňg ǹg).

#include <gtest/gtest.h>

#include <string_view>
#include <utility>

#include "core/dictionary_texts.h"
#include "core/lookup_scan.h"
#include "core/pinyin_style.h"
#include "core/tone_marks.h"

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
