// Arbitrary bytes loaded as each dictionary file: decoding as code page 936, then the
// records. Every text must begin with "^", hold no CR LF any more, and the pinyin text must
// also end with "^".

#include <cstdint>
#include <string_view>

#include "core/dictionary/dictionary_texts.h"
#include "core/text/cp936.h"
#include "fuzz/fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::u16string text = zhavik::cp936_decode(bytes);
  // One unit per byte at most: a bad byte becomes one U+FFFD and a pair one character.
  FUZZ_REQUIRE(text.size() <= bytes.size());

  const std::u16string wubi = zhavik::wubi_data_from(text);
  const std::u16string pinyin = zhavik::pinyin_data_from(text);
  FUZZ_REQUIRE(wubi.starts_with(u'^') && pinyin.starts_with(u'^') && pinyin.ends_with(u'^'));
  FUZZ_REQUIRE(pinyin.size() == wubi.size() + 1);
  FUZZ_REQUIRE(wubi.find(u"\r\n") == std::u16string::npos);
  return 0;
}
