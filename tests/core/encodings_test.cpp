// Texts between encodings: UTF-8, UTF-16 surrogate pairs, code page 936, the editor's line
// separators, and a file's bytes decoded whole or in pieces as they stream in.

#include <gtest/gtest.h>

#include <string>

#include "core/text/cp936.h"
#include "core/text/editor_lines.h"
#include "core/text/stream_decoder.h"
#include "core/text/text.h"
#include "core/text/text_file.h"

namespace zhavik {
namespace {

// What the query panel does with its input. Pairs and lone surrogates in the lookup and the
// conversion are tested there.
TEST(Text, OnlyBlanksAreTrimmedAndAPairIsOneCharacter) {
  EXPECT_EQ(trim_blanks(u"  好人 "), u"好人");
  EXPECT_EQ(trim_blanks(u"   "), u"");
  EXPECT_EQ(trim_blanks(u"\t好 "), u"\t好");
  EXPECT_EQ(trim_blanks(u"\u3000好"), u"\u3000好");
  EXPECT_EQ(first_character(u"😀好"), u"😀");
  EXPECT_EQ(first_character(std::u16string{0xD83D, u'a'}), std::u16string{0xD83D});
}

TEST(Text, Utf8RoundTripAndErrorOffsets) {
  EXPECT_EQ(utf8_to_utf16("好a😀"), u"好a😀");
  EXPECT_EQ(utf16_to_utf8(u"好a😀"), "好a😀");
  // Lone surrogates become U+FFFD; the largest units of two and three bytes.
  EXPECT_EQ(utf16_to_utf8(u"a\xDC00\xD83D"), "a\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(utf16_to_utf8(u"\x07FF\x0800\xFFFF"), "\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF");
  EXPECT_EQ(utf8_to_utf16_lossy("a\xFF\xE5\xA5\xBD"), u"a\uFFFD好");
  // A bad byte, a sequence cut short, an overlong one, a surrogate and one above U+10FFFF.
  const std::pair<std::string_view, std::size_t> bad[] = {
      {"ab\xFF", 2},        {"a\xE5\xA5", 1},        {"\xC0\xAF", 0},
      {"x\xED\xA0\x80", 1}, {"\xF4\x90\x80\x80", 0},
  };
  for (const auto& [bytes, at] : bad) {
    std::size_t offset = 99;
    EXPECT_FALSE(utf8_to_utf16(bytes, &offset));
    EXPECT_EQ(offset, at) << testing::PrintToString(bytes);
  }
}

TEST(Cp936, TwoByteCodesOnlyForChineseCharactersAndFullWidthSymbols) {
  const std::pair<char32_t, std::uint16_t> cases[] = {
      {U'好', 0xBAC3}, {U'中', 0xD6D0}, {U'啊', 0xB0A1}, {U'，', 0xA3AC}, {0x3000, 0xA1A1},
      {U'丂', 0x8140},  // outside GB2312 but inside GBK
      {U'a', 0},       {U'€', 0},       {0, 0},          {0x20000, 0},    {0xD800, 0},
      {U'ÿ', 0},       {U'ÿ', 0},       {U'好', 0xBAC3}};  // asked again: the kept answer
  for (const auto& [code_point, code] : cases)
    EXPECT_EQ(cp936_double_byte(code_point), code)
        << std::hex << static_cast<std::uint32_t>(code_point);
  EXPECT_EQ(cp936_encode(u"a二€😀"), "a\xB6\xFE??");
  // A bad byte costs only itself: the euro sign's one byte, a byte that leads nothing, a lead
  // byte before a blank or a line end, a four-byte GB18030 sequence (not code page 936) and a
  // lead byte cut off by the end.
  EXPECT_EQ(cp936_decode("\x80\xFF\xD6\xD0\x81 \x81\x30\x81\x30\xFE\r\n\xBA"),
            u"€\uFFFD中\uFFFD \uFFFD0\uFFFD0\uFFFD\r\n\uFFFD");
}

TEST(EditorLines, BothSeparatorsBecomeCrLfAndNothingElseChanges) {
  EXPECT_EQ(editor_lines_to_crlf(u"你\u2029我\u2028他\u2029\u2029"), u"你\r\n我\r\n他\r\n\r\n");
  EXPECT_EQ(editor_lines_to_crlf(u"a\rb\nc\u00a0"), u"a\rb\nc\u00a0");
}

std::u16string decode_in_pieces(std::string_view bytes, std::size_t piece, StreamDecoder& decoder) {
  std::u16string text;
  for (std::size_t i = 0; i < bytes.size(); i += piece)
    decoder.feed(bytes.substr(i, piece), text);
  decoder.finish(text);
  return text;
}

// Up to the first byte that is not ASCII UTF-8 and code page 936 agree; the choice is made
// there, however late, from what follows, and a whole file is read by the same rule. A forced
// encoding decodes as it is told.
TEST(StreamDecoder, OneRuleForWholeFilesAndAnyPieces) {
  using namespace std::string_literals;
  const std::string ascii(200 * 1024, 'a');
  // UTF-8 for more than the look-ahead, then 中 in code page 936: damaged UTF-8.
  std::string late_utf8 = ascii;
  std::u16string late_text(ascii.begin(), ascii.end());
  while (late_utf8.size() < ascii.size() + 70 * 1024) {
    late_utf8 += "\xE4\xB8\xAD";
    late_text += u"中";
  }
  const std::uint64_t late_bad = late_utf8.size();
  late_utf8 += "\xD6\xD0\xE4\xB8\xAD";
  late_text += u"\uFFFD\uFFFD中";
  const struct {
    std::string bytes;
    std::u16string text;
    std::optional<std::uint64_t> first_bad;
    InputEncoding encoding = InputEncoding::automatic;
    bool at_line_end = false;
  } cases[] = {
      {"", u"", std::nullopt},
      {"\xE4\xB8\xAD\xE5\x9B\xBD a\n\xF0\x9F\x98\x80", u"中国 a\n😀", std::nullopt},
      {"\xEF\xBB\xBF\xE4\xB8\xAD\r\n", u"中\r\n", std::nullopt},              // BOM
      {"\xFF\xFE\x2D\x4E\x0A\x00\x3D\xD8\x00\xDE"s, u"中\n😀", std::nullopt},  // UTF-16 LE
      {"\xFF\xFE\x7D\x59\x41", u"好\uFFFD", 4},                               // LE, odd byte
      {"\xFE\xFF\x4E\x2D\x00\x41"s, u"中A", std::nullopt},                    // UTF-16 BE
      {"ab\xD6\xD0\xB9\xFA\r\n\xC4\xE3", u"ab中国\r\n你", std::nullopt},      // not UTF-8: GBK
      {"\xD6\xD0\xFF\xB9\xFA\xD6", u"中\uFFFD国\uFFFD", 2},  // a bad byte, a lone lead byte
      // The mark forces UTF-8: bad bytes are kept apart.
      {"\xEF\xBB\xBF\xE4\xB8\xAD\xFF\xE4\xB8", u"中\uFFFD\uFFFD\uFFFD", 6},
      {ascii + "\xD6\xD0\xB9\xFA", std::u16string(ascii.begin(), ascii.end()) + u"中国",
       std::nullopt},
      {"\xC4\xA3", u"模", std::nullopt, InputEncoding::gbk},  // valid UTF-8 too: U+0123
      {"a\xC4\xA3\xB9", u"a\x0123\xFFFD", 3, InputEncoding::utf8},
      // Chosen from the first line that is not ASCII alone, where lines cannot wait.
      {"a\n\xE4\xB8\xAD\n\xD6\xD0", u"a\n中\n\uFFFD\uFFFD", 6, InputEncoding::automatic, true},
      {late_utf8, late_text, late_bad},
  };
  for (const auto& c : cases) {
    if (c.encoding == InputEncoding::automatic && !c.at_line_end) {
      EXPECT_TRUE(decode_text_file(c.bytes) == c.text)
          << testing::PrintToString(c.bytes.substr(0, 16));
    }
    for (const std::size_t piece : {1, 2, 3, 4096}) {
      StreamDecoder decoder(c.encoding, c.at_line_end);
      EXPECT_TRUE(decode_in_pieces(c.bytes, piece, decoder) == c.text)
          << testing::PrintToString(c.bytes.substr(0, 16)) << " in pieces of " << piece;
      EXPECT_EQ(decoder.first_bad_byte(), c.first_bad);
    }
  }
}

// A look-ahead that turns out to end the input ends with the text: a character cut short
// there is damage, and the input is read as a shorter one would be, as code page 936, whether
// it comes whole or in pieces.
TEST(StreamDecoder, LookAheadToTheEndIsReadWhole) {
  std::string bytes;
  while (bytes.size() < 64 * 1024 - 1)
    bytes += "\xE4\xB8\xAD";  // 中
  bytes += '\xE4';            // the look-ahead's last byte, and the input's
  const std::u16string gbk = cp936_decode(bytes);
  EXPECT_TRUE(decode_text_file(bytes) == gbk);
  for (const std::size_t piece : {std::size_t{4096}, bytes.size()}) {
    StreamDecoder decoder;
    EXPECT_TRUE(decode_in_pieces(bytes, piece, decoder) == gbk) << "in pieces of " << piece;
  }
}

// Valid text without a single ASCII byte (a book saved without line breaks), in pieces of
// every size around the look-ahead and of the command line's reads: no piece may split a
// character, whatever the form. Code page 936 trail bytes from 0x40 to 0x7E look like ASCII.
TEST(StreamDecoder, TextWithoutAsciiInLongPieces) {
  std::u16string text;
  while (text.size() < 100'000)
    text += u"中文丂啊";  // 丂 is 81 40 in code page 936
  std::string utf16 = "\xFF\xFE";
  for (const char16_t unit : text)
    utf16 += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  const std::pair<std::string, InputEncoding> cases[] = {
      {cp936_encode(text), InputEncoding::automatic},
      {cp936_encode(text), InputEncoding::gbk},
      {utf16_to_utf8(text), InputEncoding::automatic},
      {utf16, InputEncoding::automatic}};
  constexpr std::size_t kLookAhead = 64 * 1024;
  for (const auto& [bytes, encoding] : cases) {
    for (std::size_t piece = kLookAhead - 3; piece <= kLookAhead + 3; ++piece) {
      for (const std::size_t size : {piece, 4 * piece}) {
        StreamDecoder decoder(encoding);
        EXPECT_TRUE(decode_in_pieces(bytes, size, decoder) == text)
            << testing::PrintToString(bytes.substr(0, 4)) << " in pieces of " << size;
        EXPECT_EQ(decoder.first_bad_byte(), std::nullopt);
      }
    }
  }
}

}  // namespace
}  // namespace zhavik
