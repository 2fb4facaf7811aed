#include "tone_marks.h"

#include <gtest/gtest.h>

#include <string_view>
#include <utility>

namespace zhavik {
namespace {

TEST(ToneMarks, MarkLandsWhereTheOrderOfFinalsPutsIt) {
  EXPECT_EQ(zhuanhuan_py(u"zhong1"), u"zhōng");
  EXPECT_EQ(zhuanhuan_py(u"ai1"), u"āi");
  EXPECT_EQ(zhuanhuan_py(u"hao3"), u"hǎo");
  EXPECT_EQ(zhuanhuan_py(u"kou3"), u"kǒu");
  EXPECT_EQ(zhuanhuan_py(u"ai4"), u"ài");
  // Compound finals without a group of their own go through the final they end with.
  EXPECT_EQ(zhuanhuan_py(u"xiao1"), u"xiāo");
  EXPECT_EQ(zhuanhuan_py(u"tian2"), u"tián");
  EXPECT_EQ(zhuanhuan_py(u"liang3"), u"liǎng");
  EXPECT_EQ(zhuanhuan_py(u"guang1"), u"guāng");
  EXPECT_EQ(zhuanhuan_py(u"xiong2"), u"xióng");
  EXPECT_EQ(zhuanhuan_py(u"huai4"), u"huài");
  EXPECT_EQ(zhuanhuan_py(u"xia4"), u"xià");
  EXPECT_EQ(zhuanhuan_py(u"guo2"), u"guó");
  EXPECT_EQ(zhuanhuan_py(u"yue4"), u"yuè");
  EXPECT_EQ(zhuanhuan_py(u"gui4"), u"guì");
  EXPECT_EQ(zhuanhuan_py(u"liu2"), u"liú");
  EXPECT_EQ(zhuanhuan_py(u"zhong1 guo2"), u"zhōng guó");
}

TEST(ToneMarks, NeutralToneDropsTheDigit) {
  EXPECT_EQ(zhuanhuan_py(u"ma5"), u"ma");
  EXPECT_EQ(zhuanhuan_py(u"er5"), u"er");
  EXPECT_EQ(zhuanhuan_py(u"de5"), u"de");
}

TEST(ToneMarks, UmlautUGetsItsMarksAfterTheOtherFinals) {
  EXPECT_EQ(zhuanhuan_py(u"lü4"), u"lǜ");
  EXPECT_EQ(zhuanhuan_py(u"nü3"), u"nǚ");
  EXPECT_EQ(zhuanhuan_py(u"lü2"), u"lǘ");
  EXPECT_EQ(zhuanhuan_py(u"lü1"), u"lǖ");
  EXPECT_EQ(zhuanhuan_py(u"lü5"), u"lü");
  // The e of üe takes the mark first, so the ü group finds no digit left.
  EXPECT_EQ(zhuanhuan_py(u"lüe4"), u"lüè");
  EXPECT_EQ(zhuanhuan_py(u"lv4"), u"lv4");
}

TEST(ToneMarks, VowellessSyllablesTakeTheMarkOnTheirFirstLetter) {
  const std::pair<std::u16string_view, std::u16string_view> cases[] = {
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
      // Finals ending in n or ng, and nü, keep the mark on their vowel: their groups come first.
      {u"an2", u"án"},
      {u"ang2", u"áng"},
      {u"ing3", u"ǐng"},
      {u"nü3", u"nǚ"},
  };
  for (const auto& [numbered, marked] : cases)
    EXPECT_TRUE(zhuanhuan_py(numbered) == marked) << std::string(numbered.begin(), numbered.end());
}

TEST(ToneMarks, TextWithoutListedFinalsStaysAsItIs) {
  EXPECT_EQ(zhuanhuan_py(u""), u"");
  EXPECT_EQ(zhuanhuan_py(u"A1"), u"A1");
  EXPECT_EQ(zhuanhuan_py(u"a0"), u"a0");
  EXPECT_EQ(zhuanhuan_py(u"a6"), u"a6");
  EXPECT_EQ(zhuanhuan_py(u"好"), u"好");
}

TEST(ToneMarks, EachPassWorksOnThePreviousResult) {
  EXPECT_EQ(zhuanhuan_py(u"ai11"), u"āī");
  EXPECT_EQ(zhuanhuan_py(u"an1g"), u"āng");
}

}  // namespace
}  // namespace zhavik
