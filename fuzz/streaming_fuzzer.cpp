// The command-line tool's streaming parts against their whole-text references: bytes
// decoded in pieces against the plain rule for a whole file (the window reads a file by the
// same decoder, at once), lines converted in pieces
// against one piece, and the first-words table against the plain scan's answers.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/conversion/conversion.h"
#include "core/dictionary/first_words.h"
#include "core/dictionary/lookup_scan.h"
#include "core/text/cp936.h"
#include "core/text/stream_decoder.h"
#include "core/text/text.h"
#include "core/text/text_file.h"
#include "fuzz/fuzz_text.h"

namespace {

// How far past the first byte that is not ASCII the automatic choice looks.
constexpr std::size_t kLookAhead = 64 * 1024;

// The automatic choice told plainly: a byte-order mark; else UTF-8 when the look-ahead that
// starts at the first byte that is not ASCII is valid UTF-8 (a character cut off at its end
// may lack up to three bytes), the rest of the input then read as UTF-8 whatever it holds;
// else code page 936. Up to that first byte the two agree.
std::u16string decoded_whole(std::string_view bytes) {
  std::u16string text;
  if (bytes.starts_with("\xEF\xBB\xBF")) return zhavik::utf8_to_utf16_lossy(bytes.substr(3));
  const bool little = bytes.starts_with("\xFF\xFE");
  if (little || bytes.starts_with("\xFE\xFF")) {
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      const auto first = static_cast<unsigned char>(bytes[i]);
      const auto second = static_cast<unsigned char>(bytes[i + 1]);
      text += static_cast<char16_t>(little ? second << 8 | first : first << 8 | second);
    }
    if (bytes.size() % 2 != 0) text += u'\xFFFD';
    return text;
  }
  std::size_t first = 0;
  while (first < bytes.size() && static_cast<unsigned char>(bytes[first]) < 0x80)
    ++first;
  const std::string_view look_ahead = bytes.substr(first, kLookAhead);
  const bool cut = first + kLookAhead < bytes.size();
  for (std::size_t lacking = 0; lacking <= (cut ? 3 : 0) && lacking <= look_ahead.size();
       ++lacking) {
    if (zhavik::utf8_to_utf16(look_ahead.substr(0, look_ahead.size() - lacking))) {
      return zhavik::utf8_to_utf16_lossy(bytes);
    }
  }
  return zhavik::cp936_decode(bytes);
}

// The whole-text rule of each encoding; with the choice made at the first line end, the
// same decoder given the whole input at once.
std::u16string whole_text(const std::string& bytes, zhavik::InputEncoding encoding,
                          bool at_line_end) {
  switch (encoding) {
    case zhavik::InputEncoding::gbk:
      return zhavik::cp936_decode(bytes);
    case zhavik::InputEncoding::utf8:
      return zhavik::utf8_to_utf16_lossy(
          std::string_view(bytes).substr(bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0));
    case zhavik::InputEncoding::automatic:
      break;
  }
  if (!at_line_end) {
    const std::u16string text = decoded_whole(bytes);
    FUZZ_REQUIRE(zhavik::decode_text_file(bytes) == text);
    return text;
  }
  zhavik::StreamDecoder decoder(encoding, true);
  std::u16string text;
  decoder.feed(bytes, text);
  decoder.finish(text);
  return text;
}

// Input without a single ASCII byte gets a share of its own: GBK text without line breaks,
// blanks or digits, where no byte is sure to end a character. Another share comes late: after
// ASCII, with more bytes where the look-ahead from its first byte that is not ASCII ends, so
// that the choice is made from part of the input, as in a large file.
void check_decoding(FuzzedDataProvider& input) {
  const std::size_t piece = input.ConsumeIntegralInRange<std::size_t>(1, 16);
  const zhavik::InputEncoding encoding = input.PickValueInArray(
      {zhavik::InputEncoding::automatic, zhavik::InputEncoding::utf8, zhavik::InputEncoding::gbk});
  const bool at_line_end = input.ConsumeBool();
  const bool no_ascii = input.ConsumeBool();
  const bool late = input.ConsumeBool();
  const std::size_t ascii_before = late ? input.ConsumeIntegralInRange<std::size_t>(0, 80'000) : 0;
  const std::size_t back_from_end = input.ConsumeIntegralInRange<std::size_t>(0, 8);
  // Late bytes start as UTF-8, so that the look-ahead's end decides between the encodings.
  std::string bytes = late ? zhavik::utf16_to_utf8(zhavik::fuzz::telling_text(input, 128))
                           : input.ConsumeRandomLengthString(512);
  if (no_ascii) {
    for (char& byte : bytes)
      byte = static_cast<char>(byte | 0x80);
  }
  // The input in parts: ASCII fed whole, the fuzzer's bytes in pieces.
  std::vector<std::pair<std::string, bool>> parts = {{std::string(ascii_before, 'a'), false}};
  if (late) {
    const std::string tail = input.ConsumeRandomLengthString(64);
    const auto first = std::find_if(bytes.begin(), bytes.end(), [](char byte) {
      return static_cast<unsigned char>(byte) >= 0x80;
    });
    const auto after = static_cast<std::size_t>(bytes.end() - first);
    const std::size_t filler =
        kLookAhead > after + back_from_end ? kLookAhead - after - back_from_end : 0;
    parts.emplace_back(std::move(bytes), true);
    parts.emplace_back(std::string(filler, 'a'), false);
    parts.emplace_back(tail, true);
  } else {
    parts.emplace_back(std::move(bytes), true);
  }
  std::string whole;
  zhavik::StreamDecoder decoder(encoding, at_line_end);
  std::u16string text;
  for (const auto& [part, in_pieces] : parts) {
    const std::size_t size = in_pieces ? piece : std::max<std::size_t>(part.size(), 1);
    for (std::size_t i = 0; i < part.size(); i += size)
      decoder.feed(std::string_view(part).substr(i, size), text);
    whole += part;
  }
  decoder.finish(text);
  FUZZ_REQUIRE(text == whole_text(whole, encoding, at_line_end));
  FUZZ_REQUIRE(!decoder.first_bad_byte() || *decoder.first_bad_byte() < whole.size());
}

void check_lines_and_words(FuzzedDataProvider& input) {
  const zhavik::DictionaryTexts texts = zhavik::fuzz::telling_dictionaries(input, 64);
  const zhavik::Kind kind =
      zhavik::kAllKinds[input.ConsumeIntegralInRange<std::size_t>(0, zhavik::kKindCount - 1)];
  zhavik::FirstWords words(texts, kind);
  for (const zhavik::Kind each : zhavik::kAllKinds) {
    for (const char16_t unit : texts[each]) {
      const std::uint16_t code = zhavik::cp936_double_byte(unit);
      if (code == 0) continue;
      const std::u16string answer = zhavik::huoqu_scan(texts, kind, std::u16string(1, unit));
      FUZZ_REQUIRE(words.of(unit, code) ==
                   std::u16string_view(answer).substr(0, answer.find(u' ')));
    }
  }

  // Every layout gives the same text whatever the pieces the text arrives in and wherever a
  // long line is cut.
  const std::u16string text = zhavik::fuzz::telling_text(input, 256);
  const std::size_t piece = input.ConsumeIntegralInRange<std::size_t>(1, 16);
  const std::size_t longest = input.ConsumeIntegralInRange<std::size_t>(0, 16);
  const zhavik::TextLayout layout = input.PickValueInArray(
      {zhavik::TextLayout::window, zhavik::TextLayout::command_line, zhavik::TextLayout::keep});
  const auto first_word_of = [&](char16_t unit, std::uint16_t code) {
    return words.of(unit, code);
  };
  zhavik::CharacterByCharacter conversion(first_word_of);
  std::u16string out;
  zhavik::TextLayoutWriter writer(layout, out);
  zhavik::ConversionPipeline pipeline(conversion, writer, longest);
  for (std::size_t i = 0; i < text.size(); i += piece)
    pipeline.feed(std::u16string_view(text).substr(i, piece));
  pipeline.finish();
  FUZZ_REQUIRE(out == zhavik::convert_whole_text(conversion, text, layout));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  if (input.ConsumeBool()) {
    check_decoding(input);
  } else {
    check_lines_and_words(input);
  }
  return 0;
}
