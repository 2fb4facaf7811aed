// The command-line tool's streaming parts against their whole-text references: bytes
// decoded in pieces against the whole-file rule, lines converted in pieces against one
// piece, and the first-words table against the plain scan's answers.

#include <cstdint>
#include <string_view>

#include "core/cp936.h"
#include "core/first_words.h"
#include "core/line_conversion.h"
#include "core/lookup_scan.h"
#include "core/stream_decoder.h"
#include "core/text.h"
#include "core/text_file.h"
#include "fuzz/fuzz_text.h"

namespace {

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
  if (!at_line_end) return zhavik::decode_text_file(bytes);
  zhavik::StreamDecoder decoder(encoding, true);
  std::u16string text;
  decoder.feed(bytes, text);
  decoder.finish(text);
  return text;
}

// Input without a single ASCII byte gets a share of its own: GBK text without line breaks,
// blanks or digits, where no byte is sure to end a character.
void check_decoding(FuzzedDataProvider& input) {
  const std::size_t piece = input.ConsumeIntegralInRange<std::size_t>(1, 16);
  const zhavik::InputEncoding encoding = input.PickValueInArray(
      {zhavik::InputEncoding::automatic, zhavik::InputEncoding::utf8, zhavik::InputEncoding::gbk});
  const bool at_line_end = input.ConsumeBool();
  const bool no_ascii = input.ConsumeBool();
  std::string bytes = input.ConsumeRandomLengthString(512);
  if (no_ascii) {
    for (char& byte : bytes)
      byte = static_cast<char>(byte | 0x80);
  }
  zhavik::StreamDecoder decoder(encoding, at_line_end);
  std::u16string text;
  for (std::size_t i = 0; i < bytes.size(); i += piece) {
    decoder.feed(std::string_view(bytes).substr(i, piece), text);
  }
  decoder.finish(text);
  FUZZ_REQUIRE(text == whole_text(bytes, encoding, at_line_end));
  FUZZ_REQUIRE(!decoder.first_bad_byte() || *decoder.first_bad_byte() < bytes.size());
}

void check_lines_and_words(FuzzedDataProvider& input) {
  zhavik::DictionaryTexts texts;
  texts.pinyin_data = zhavik::pinyin_data_from(zhavik::fuzz::telling_text(input, 64));
  texts.wubi86_data = zhavik::wubi_data_from(zhavik::fuzz::telling_text(input, 64));
  const zhavik::Kind kind = input.ConsumeBool() ? zhavik::Kind::pinyin : zhavik::Kind::wubi86;
  zhavik::FirstWords words(texts, kind);
  for (const std::u16string* text : {&texts.pinyin_data, &texts.wubi86_data}) {
    for (const char16_t unit : *text) {
      const std::uint16_t code = zhavik::cp936_double_byte(unit);
      if (code == 0) continue;
      const std::u16string answer =
          zhavik::huoqu_scan(texts, zhavik::kind_text(kind), std::u16string(1, unit));
      FUZZ_REQUIRE(words.of(unit, code) ==
                   std::u16string_view(answer).substr(0, answer.find(u' ')));
    }
  }

  const std::u16string text = zhavik::fuzz::telling_text(input, 256);
  const std::size_t piece = input.ConsumeIntegralInRange<std::size_t>(1, 16);
  const auto convert = [&](std::size_t size) {
    zhavik::LineConverter converter([&](std::u16string_view line, std::u16string& out) {
      zhavik::convert_characters(line, words, out);
    });
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); i += size) {
      converter.feed(std::u16string_view(text).substr(i, size), out);
    }
    converter.finish(out);
    return out;
  };
  FUZZ_REQUIRE(convert(piece) == convert(text.size() + 1));
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
