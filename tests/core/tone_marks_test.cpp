#include "core/tone_marks.h"

#include <gtest/gtest.h>

#include <string_view>
#include <utility>

namespace zhavik {
namespace {

TEST(ToneMarks, MarkLandsWhereTheOrderOfFinalsPutsIt) {
  const std::pair<std::u16string_view, std::u16string_view> cases[] = {
      {u"zhong1", u"zhōng"},
      {u"ai1", u"āi"},
      {u"hao3", u"hǎo"},
      {u"kou3", u"kǒu"},
      {u"zhong1 guo2", u"zhōng guó"},
      // Compound finals without a group of their own go through the final they end with.
      {u"xiao1", u"xiāo"},
      {u"tian2", u"tián"},
      {u"liang3", u"liǎng"},
      {u"guang1", u"guāng"},
      {u"xiong2", u"xióng"},
      {u"huai4", u"huài"},
      {u"xia4", u"xià"},
      {u"guo2", u"guó"},
      {u"yue4", u"yuè"},
      {u"gui4", u"guì"},
      {u"liu2", u"liú"},
      // The neutral tone drops the digit.
      {u"ma5", u"ma"},
      {u"er5", u"er"},
      // ü gets its marks after the other finals: the e of üe takes the mark first, so the ü
      // group finds no digit left; v is no ü.
      {u"lü4", u"lǜ"},
      {u"nü3", u"nǚ"},
      {u"lü2", u"lǘ"},
      {u"lü1", u"lǖ"},
      {u"lü5", u"lü"},
      {u"lüe4", u"lüè"},
      {u"lv4", u"lv4"},
      // Syllables without a vowel take the mark on their first letter.
      {u"ng1", u"n\u0304g"},
      {u"ng2", u"ńg"},
      {u"ng3", u"ňg"},
      {u"ng4", u"ǹg"},
      {u"ng5", u"ng"},
      {u"n1", u"n\u0304"},
      {u"n2", u"ń"},
      {u"n3", u"ň"},
      {u"n4", u"ǹ"},
      {u"n5", u"n"},
      {u"m1", u"m\u0304"},
      {u"m2", u"ḿ"},
      {u"m3", u"m\u030C"},
      {u"m4", u"m\u0300"},
      {u"m5", u"m"},
      {u"hm5", u"hm"},
      {u"hng5", u"hng"},
      // Finals ending in n or ng keep the mark on their vowel: their groups come first.
      {u"an2", u"án"},
      {u"ang2", u"áng"},
      {u"ing3", u"ǐng"},
      // Text without listed finals stays as it is.
      {u"", u""},
      {u"A1", u"A1"},
      {u"a0", u"a0"},
      {u"a6", u"a6"},
      {u"好", u"好"},
      // Each pass works on the previous result.
      {u"ai11", u"āī"},
      {u"an1g", u"āng"},
  };
  for (const auto& [numbered, marked] : cases)
    EXPECT_TRUE(zhuanhuan_py(numbered) == marked) << std::string(numbered.begin(), numbered.end());
}

}  // namespace
}  // namespace zhavik
