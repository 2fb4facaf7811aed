#include "core/dictionary/browser.h"

#include <gtest/gtest.h>

#include "core/dictionary/dictionary_texts.h"

namespace zhavik {
namespace {

const std::u16string kPinyin = pinyin_data_from(
    u"a=阿\r\na1=啊阿\r\nai1=哎 唉\r\nai2=癌\r\nb1=八\r\nai4=爱碍\r\nai4=暧\r\nan1安\r\n"
    u"ang2=昂\r\nhe2=和𠀀\r\nzh5=\r\n");

TEST(Browser, SyllablesOnceEachInTheOrderOfTheirFirstRecords) {
  // "a=" has no syllable, "b1" lies inside a's block but belongs to b, "an1" has no "=".
  EXPECT_EQ(syllables_of_letter(kPinyin, u"a", 40),
            (std::vector<std::u16string>{u"a", u"ai", u"ang"}));
  EXPECT_EQ(syllables_of_letter(kPinyin, u"b", 40), (std::vector<std::u16string>{u"b"}));
  EXPECT_EQ(syllables_of_letter(kPinyin, u"a", 2), (std::vector<std::u16string>{u"a", u"ai"}));
  EXPECT_TRUE(syllables_of_letter(kPinyin, u"A", 40).empty());
  EXPECT_TRUE(syllables_of_letter(kPinyin, u"", 40).empty());
  EXPECT_TRUE(syllables_of_letter(u"", u"a", 40).empty());  // no pinyin file
  // A key of one character has no syllable, whether that character takes one unit or two.
  const std::u16string pairs = pinyin_data_from(u"𠀀=中\r\n𠀀1=好\r\n𠀀𠀁=一\r\na=啊\r\n");
  EXPECT_EQ(syllables_of_letter(pairs, u"𠀀", 40), (std::vector<std::u16string>{u"𠀀"}));
  EXPECT_TRUE(syllables_of_letter(pairs, u"a", 40).empty());
}

TEST(Browser, CharactersToneByToneWithoutGaps) {
  const auto shown = [](std::u16string_view syllable, std::size_t capacity = 114) {
    std::u16string buttons;
    for (const SyllableCharacter& entry : characters_of_syllable(kPinyin, syllable, capacity))
      buttons += entry.character + entry.pinyin + static_cast<char16_t>(u'0' + entry.tone);
    return buttons;
  };
  // No tone 3 or 5; the second ai4 record is never read; blanks fill nothing.
  EXPECT_EQ(shown(u"ai"), u"哎āi1唉āi1癌ái2爱ài4碍ài4");
  EXPECT_EQ(shown(u"ai", 3), u"哎āi1唉āi1癌ái2");
  for (const std::u16string_view none : {u"zh", u"", u"an", u"Ai"})
    EXPECT_EQ(shown(none), u"") << testing::PrintToString(std::u16string(none));
  // A character outside the Basic Multilingual Plane is one button, not two halves.
  EXPECT_EQ(shown(u"he"), u"和hé2𠀀hé2");
}

}  // namespace
}  // namespace zhavik
