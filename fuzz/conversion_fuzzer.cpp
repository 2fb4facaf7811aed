// A file a user opens in the batch view, converted with the committed dictionaries: decoding
// its bytes, the editor's line separators, then the conversion. Every line of the text gives
// one line of the result.

#include <cstdint>
#include <string_view>

#include "core/conversion/batch.h"
#include "core/dictionary/code_book.h"
#include "core/text/editor_lines.h"
#include "core/text/text_file.h"
#include "fuzz/fuzz_text.h"

namespace {

std::size_t line_ends(std::u16string_view text) {
  std::size_t count = 0;
  for (std::size_t at = text.find(u"\r\n"); at != std::u16string_view::npos;
       at = text.find(u"\r\n", at + 2)) {
    ++count;
  }
  return count;
}

const zhavik::CodeBook& committed_book() {
  static const zhavik::CodeBook book(zhavik::load_dictionary_texts(ZHAVIK_SOURCE_DIR));
  return book;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const zhavik::Kind kind = zhavik::kAllKinds[data[0] % zhavik::kKindCount];
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::u16string text = zhavik::editor_lines_to_crlf(zhavik::decode_text_file(bytes));
  const std::u16string converted = zhavik::convert_text(committed_book(), text, kind);
  const std::size_t lines = line_ends(text);
  FUZZ_REQUIRE(line_ends(converted) == lines + (lines == 0 ? 2 : 1));
  FUZZ_REQUIRE(converted.ends_with(u"\r\n"));
  return 0;
}
