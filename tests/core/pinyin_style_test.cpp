#include "core/pinyin_style.h"

#include <gtest/gtest.h>

#include "core/dictionary_texts.h"

namespace zhavik {
namespace {

TEST(PinyinStyle, ReadingsInEachStyle) {
  struct Case {
    std::u16string key, marks, numbers, none;
  };
  // ng, n and m have no vowel to carry a mark; numbers and no tones come from the key, so
  // they hold for these whatever the tone marks table does with them.
  const Case cases[] = {
      {u"zhong1", u"zhōng", u"zhong1", u"zhong"},
      {u"ma5", u"ma", u"ma5", u"ma"},
      {u"lü4", u"lǜ", u"lü4", u"lü"},
      {u"ng2", u"", u"ng2", u"ng"},
      {u"m4", u"", u"m4", u"m"},
      {u"hm5", u"", u"hm5", u"hm"},
      {u"", u"", u"", u""},
  };
  for (const Case& c : cases) {
    if (!c.marks.empty()) EXPECT_EQ(styled_reading(c.key, PinyinStyle::marks), c.marks);
    EXPECT_EQ(styled_reading(c.key, PinyinStyle::numbers), c.numbers);
    EXPECT_EQ(styled_reading(c.key, PinyinStyle::none), c.none);
  }
  const std::u16string data = pinyin_data_from(u"zhong1=中钟\r\nzhong4=众中\r\nng2=嗯");
  EXPECT_EQ(pinyin_answer_in_style(data, u"中", PinyinStyle::numbers), u"zhong1  zhong4  ");
  EXPECT_EQ(pinyin_answer_in_style(data, u"嗯", PinyinStyle::none), u"ng  ");
  EXPECT_EQ(pinyin_answer_in_style(data, u"国", PinyinStyle::none), u"暂缺");
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
