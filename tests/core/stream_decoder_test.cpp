#include "core/stream_decoder.h"

#include <gtest/gtest.h>

#include <string>

#include "core/text.h"
#include "core/text_file.h"
#include "core/utf8_append.h"

namespace zhavik {
namespace {

// Feeds the bytes in pieces of `piece` bytes.
std::u16string decode_in_pieces(std::string_view bytes, std::size_t piece, StreamDecoder& decoder) {
  std::u16string text;
  for (std::size_t i = 0; i < bytes.size(); i += piece)
    decoder.feed(bytes.substr(i, piece), text);
  decoder.finish(text);
  return text;
}

TEST(StreamDecoder, AgreesWithTheWholeFileRuleInAnyPieces) {
  using namespace std::string_literals;
  struct Case {
    std::string bytes;
    std::optional<std::uint64_t> first_bad;
  };
  const Case cases[] = {
      {"", std::nullopt},
      {"ab\r\n", std::nullopt},
      {"\xE4\xB8\xAD\xE5\x9B\xBD a\n\xF0\x9F\x98\x80", std::nullopt},  // 中国 a, an emoji
      {"\xEF\xBB\xBF\xE4\xB8\xAD", std::nullopt},                      // BOM 中
      {"\xFF\xFE\x2D\x4E\x0A\x00\x3D\xD8\x00\xDE"s, std::nullopt},     // UTF-16 LE 中 LF 😀
      {"\xFE\xFF\x4E\x2D\x00"s, 4},                                    // BE 中, odd byte
      {"ab\xD6\xD0\xB9\xFA\r\n\xC4\xE3", std::nullopt},                // GBK 中国, 你
      {"\xD6\xD0\xFF\xB9\xFA\xD6", 2},              // GBK with a bad byte, then a lone lead byte
      {"\xEF\xBB\xBF\xE4\xB8\xAD\xFF\xE4\xB8", 6},  // BOM forces UTF-8: bad bytes kept apart
  };
  for (const Case& c : cases) {
    for (const std::size_t piece : {1, 2, 3, 5, 4096}) {
      StreamDecoder decoder;
      EXPECT_EQ(decode_in_pieces(c.bytes, piece, decoder), decode_text_file(c.bytes))
          << testing::PrintToString(c.bytes) << " in pieces of " << piece;
      EXPECT_EQ(decoder.first_bad_byte(), c.first_bad) << testing::PrintToString(c.bytes);
    }
  }
}

TEST(StreamDecoder, ForcedEncodingsAndALateFirstNonAsciiByte) {
  StreamDecoder gbk(InputEncoding::gbk);
  EXPECT_EQ(decode_in_pieces("\xC4\xA3", 1, gbk), u"模");  // valid UTF-8 too: U+0123
  StreamDecoder utf8(InputEncoding::utf8);
  EXPECT_EQ(decode_in_pieces("a\xC4\xA3\xB9", 1, utf8), u"a\x0123\xFFFD");
  EXPECT_EQ(utf8.first_bad_byte(), 3u);

  // Up to the first byte that is not ASCII both encodings agree; the choice is made there.
  const std::string ascii(200 * 1024, 'a');
  StreamDecoder late;
  const std::u16string text = decode_in_pieces(ascii + "\xD6\xD0\xB9\xFA", 1000, late);
  EXPECT_EQ(text, std::u16string(ascii.begin(), ascii.end()) + u"中国");
  EXPECT_EQ(late.first_bad_byte(), std::nullopt);
}

TEST(Utf8Append, WritesTheBytesOfTheReferenceConversion) {
  const std::u16string texts[] = {
      u"",       u"abc",           u"zhōng 中\r\n",      u"\xD83D\xDE00 x",
      u"\xD800", u"a\xDC00\xD83D", u"\x07FF\x0800\xFFFF"};
  for (const std::u16string& text : texts) {
    std::string out = "<";
    append_utf8(out, text);
    EXPECT_EQ(out, "<" + utf16_to_utf8(text)) << testing::PrintToString(text);
  }
}

}  // namespace
}  // namespace zhavik
