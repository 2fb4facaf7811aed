#include "core/browser.h"

#include <gtest/gtest.h>

#include "core/dictionary_texts.h"

namespace zhavik {
namespace {

class Browser : public testing::Test {
 protected:
  void SetUp() override {
    pinyin_ = pinyin_data_from(
        u"a=阿\r\n"
        u"a1=啊阿\r\n"
        u"ai1=哎 唉\r\n"
        u"ai2=癌\r\n"
        u"b1=八\r\n"
        u"ai4=爱碍\r\n"
        u"ai4=暧\r\n"
        u"an1安\r\n"
        u"ang2=昂\r\n"
        u"he2=和𠀀\r\n"
        u"zh5=\r\n");
  }

  std::u16string characters(std::u16string_view syllable, std::size_t capacity = 114) {
    std::u16string shown;
    for (const SyllableCharacter& entry : characters_of_syllable(pinyin_, syllable, capacity)) {
      shown += entry.character;
      shown += static_cast<char16_t>(u'0' + entry.tone);
    }
    return shown;
  }

  std::u16string pinyin_;
};

TEST_F(Browser, SyllablesOnceEachInTheOrderOfTheirFirstRecords) {
  // "a=" has no syllable, "b1" lies inside a's block but belongs to b, "an1" has no "=".
  EXPECT_EQ(syllables_of_letter(pinyin_, u"a", 40),
            (std::vector<std::u16string>{u"a", u"ai", u"ang"}));
  EXPECT_EQ(syllables_of_letter(pinyin_, u"b", 40), (std::vector<std::u16string>{u"b"}));
  EXPECT_EQ(syllables_of_letter(pinyin_, u"a", 2), (std::vector<std::u16string>{u"a", u"ai"}));
  EXPECT_TRUE(syllables_of_letter(pinyin_, u"i", 40).empty());
  EXPECT_TRUE(syllables_of_letter(pinyin_, u"A", 40).empty());
  EXPECT_TRUE(syllables_of_letter(pinyin_, u"", 40).empty());
  EXPECT_TRUE(syllables_of_letter(u"", u"a", 40).empty());
}

TEST_F(Browser, CharactersToneByToneWithoutGaps) {
  // No tone 3 or 5; the second ai4 record is never read; blanks fill nothing.
  EXPECT_EQ(characters(u"ai"), u"哎1唉1癌2爱4碍4");
  EXPECT_EQ(characters(u"ai", 3), u"哎1唉1癌2");
  EXPECT_EQ(characters(u"zh"), u"");
  EXPECT_EQ(characters(u""), u"");
  EXPECT_EQ(characters(u"an"), u"");
  EXPECT_EQ(characters(u"Ai"), u"");
  // A character outside the Basic Multilingual Plane is one button, not two halves.
  EXPECT_EQ(characters(u"he"), u"和2𠀀2");
}

TEST_F(Browser, EachCharacterCarriesItsTonedPinyin) {
  const auto entries = characters_of_syllable(pinyin_, u"ai", 114);
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries[0].pinyin, u"āi");
  EXPECT_EQ(entries[2].pinyin, u"ái");
  EXPECT_EQ(entries[3].pinyin, u"ài");
  EXPECT_EQ(entries[3].tone, 4);
}

// A key of one character has no syllable, whether that character takes one unit or two.
TEST(BrowserLimits, SyllablesNeverSplitACharacter) {
  const std::u16string pinyin = pinyin_data_from(u"𠀀=中\r\n𠀀1=好\r\n𠀀𠀁=一\r\na=啊\r\n");
  EXPECT_EQ(syllables_of_letter(pinyin, u"𠀀", 40), (std::vector<std::u16string>{u"𠀀"}));
  EXPECT_TRUE(syllables_of_letter(pinyin, u"a", 40).empty());
}

TEST(BrowserLimits, CapacityCutsAndFarRecordsStillShow) {
  std::u16string file;
  for (int i = 0; i < 41; ++i) {
    file += u"z";
    file += static_cast<char16_t>(u'a' + i / 26);
    file += static_cast<char16_t>(u'a' + i % 26);
    file += u"1=中\r\n";
  }
  std::u16string many;
  for (int i = 0; i < 120; ++i)
    many += static_cast<char16_t>(u'一' + i);
  // Pushes the last records far beyond 32,767 characters into the text.
  file += u"zz1=" + std::u16string(40000, u'中') + u"\r\n";
  file += u"zzz2=" + many + u"\r\n";
  const std::u16string pinyin = pinyin_data_from(file);

  const auto syllables = syllables_of_letter(pinyin, u"z", 40);
  ASSERT_EQ(syllables.size(), 40u);
  EXPECT_EQ(syllables.front(), u"zaa");
  EXPECT_EQ(syllables.back(), u"zbn");

  const auto characters = characters_of_syllable(pinyin, u"zzz", 114);
  ASSERT_EQ(characters.size(), 114u);
  EXPECT_EQ(characters.front().character, u"一");
  EXPECT_EQ(characters.back().character, std::u16string(1, u'一' + 113));
  EXPECT_EQ(characters.back().tone, 2);
}

}  // namespace
}  // namespace zhavik
