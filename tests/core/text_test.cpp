#include "core/text.h"

#include <gtest/gtest.h>

#include "core/text_file.h"

namespace zhavik {
namespace {

TEST(Text, TrimmingRemovesOnlyTheBlank) {
  EXPECT_EQ(trim_blanks(u"  好人 "), u"好人");
  EXPECT_EQ(trim_blanks(u"   "), u"");
  EXPECT_EQ(trim_blanks(u"\t好 "), u"\t好");
  EXPECT_EQ(trim_blanks(u"\u3000好"), u"\u3000好");
}

TEST(Text, SurrogatePairIsOneCharacter) {
  const std::u16string text = u"😀好";
  EXPECT_EQ(character_length(text, 0), 2u);
  EXPECT_EQ(code_point_at(text, 0), 0x1F600u);
  EXPECT_EQ(first_character(text), u"😀");
  const std::u16string lone = {0xD83D, u'a'};
  EXPECT_EQ(character_length(lone, 0), 1u);
  EXPECT_EQ(first_character(lone).size(), 1u);
}

TEST(Text, Utf8RoundTripAndErrorOffsets) {
  EXPECT_EQ(utf8_to_utf16("好a😀"), u"好a😀");
  EXPECT_EQ(utf16_to_utf8(u"好a😀"), "好a😀");
  EXPECT_EQ(utf16_to_utf8(std::u16string{0xDC00}), "\xEF\xBF\xBD");

  std::size_t offset = 99;
  EXPECT_FALSE(utf8_to_utf16("ab\xFF", &offset));
  EXPECT_EQ(offset, 2u);
  EXPECT_FALSE(utf8_to_utf16("a\xE5\xA5", &offset));  // cut short
  EXPECT_EQ(offset, 1u);
  EXPECT_FALSE(utf8_to_utf16("\xC0\xAF", &offset));  // overlong
  EXPECT_EQ(offset, 0u);
  EXPECT_FALSE(utf8_to_utf16("x\xED\xA0\x80", &offset));  // a surrogate
  EXPECT_EQ(offset, 1u);
  EXPECT_FALSE(utf8_to_utf16("\xF4\x90\x80\x80", &offset));  // above U+10FFFF
  EXPECT_EQ(utf8_to_utf16_lossy("a\xFF\xE5\xA5\xBD"), u"a\uFFFD好");
}

TEST(TextFile, ByteOrderMarkThenUtf8ThenCodePage936) {
  EXPECT_EQ(decode_text_file("\xEF\xBB\xBF好\r\n"), u"好\r\n");
  EXPECT_EQ(decode_text_file(std::string("\xFF\xFE\x7D\x59\x0D\x00", 6)), u"好\r");
  EXPECT_EQ(decode_text_file(std::string("\xFE\xFF\x59\x7D\x00\x41", 6)), u"好A");
  EXPECT_EQ(decode_text_file(std::string("\xFF\xFE\x7D\x59\x41", 5)), u"好\uFFFD");
  EXPECT_EQ(decode_text_file("你好 abc"), u"你好 abc");
  EXPECT_EQ(decode_text_file("\xC4\xE3\xBA\xC3"), u"你好");  // GBK is not valid UTF-8
  EXPECT_EQ(decode_text_file(""), u"");
}

}  // namespace
}  // namespace zhavik
