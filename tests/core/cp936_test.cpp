#include "core/cp936.h"

#include <gtest/gtest.h>

namespace zhavik {
namespace {

TEST(Cp936, TwoByteCodesOfChineseCharactersAndFullWidthSymbols) {
  EXPECT_EQ(cp936_double_byte(U'好'), 0xBAC3);
  EXPECT_EQ(cp936_double_byte(U'中'), 0xD6D0);
  EXPECT_EQ(cp936_double_byte(U'啊'), 0xB0A1);
  EXPECT_EQ(cp936_double_byte(U'，'), 0xA3AC);
  EXPECT_EQ(cp936_double_byte(0x3000), 0xA1A1);
  // Outside GB2312 but inside GBK.
  EXPECT_EQ(cp936_double_byte(U'丂'), 0x8140);
}

TEST(Cp936, EncodesTwoByteCodesAndMarksWhatItCannotWrite) {
  EXPECT_EQ(cp936_encode(u"a二€😀"), "a\xB6\xFE??");
}

TEST(Cp936, CharactersWithoutATwoByteCode) {
  EXPECT_EQ(cp936_double_byte(U'a'), 0);
  EXPECT_EQ(cp936_double_byte(U'1'), 0);
  EXPECT_EQ(cp936_double_byte(0), 0);
  EXPECT_EQ(cp936_double_byte(U'€'), 0);  // one byte, 0x80
  EXPECT_EQ(cp936_double_byte(0x20000), 0);
  EXPECT_EQ(cp936_double_byte(0x1F600), 0);
  EXPECT_EQ(cp936_double_byte(0xD800), 0);  // a lone surrogate
  EXPECT_EQ(cp936_double_byte(U'ÿ'), 0);
  // Asked twice: the kept answer is the same.
  EXPECT_EQ(cp936_double_byte(U'ÿ'), 0);
  EXPECT_EQ(cp936_double_byte(U'好'), 0xBAC3);
}

TEST(Cp936, DecodingKeepsWhatFollowsABadByte) {
  EXPECT_EQ(cp936_decode("\xBA\xC3 ok\r\n"), u"好 ok\r\n");
  EXPECT_EQ(cp936_decode(""), u"");
  EXPECT_EQ(cp936_decode("\xB0\xA1\xFF\xD6\xD0"), u"啊\uFFFD中");
  EXPECT_EQ(cp936_decode("a\xB0"), u"a\uFFFD");
  EXPECT_EQ(cp936_decode("\xB0 b"), u"\uFFFD b");
}

}  // namespace
}  // namespace zhavik
