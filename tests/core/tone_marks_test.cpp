#include "tone_marks.h"

#include <gtest/gtest.h>

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

TEST(ToneMarks, TextWithoutListedFinalsStaysAsItIs) {
  EXPECT_EQ(zhuanhuan_py(u""), u"");
  EXPECT_EQ(zhuanhuan_py(u"A1"), u"A1");
  EXPECT_EQ(zhuanhuan_py(u"a0"), u"a0");
  EXPECT_EQ(zhuanhuan_py(u"a6"), u"a6");
  EXPECT_EQ(zhuanhuan_py(u"m2"), u"m2");
  EXPECT_EQ(zhuanhuan_py(u"n2"), u"n2");
  EXPECT_EQ(zhuanhuan_py(u"ng2"), u"ng2");
  EXPECT_EQ(zhuanhuan_py(u"好"), u"好");
}

TEST(ToneMarks, EachPassWorksOnThePreviousResult) {
  EXPECT_EQ(zhuanhuan_py(u"ai11"), u"āī");
  EXPECT_EQ(zhuanhuan_py(u"an1g"), u"āng");
}

}  // namespace
}  // namespace zhavik
