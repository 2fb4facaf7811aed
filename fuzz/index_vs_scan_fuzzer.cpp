// The indexed lookup against the plain scan over fuzzed dictionaries: every character of
// the texts, in every kind, and the conversion of a fuzzed text. Any difference is a fault.

#include <algorithm>
#include <cstdint>

#include "batch.h"
#include "code_book.h"
#include "fuzz_text.h"
#include "lookup_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::u16string text = zhavik::fuzz::telling_text(input, 40);
  zhavik::DictionaryTexts texts;
  texts.pinyin_data = zhavik::pinyin_data_from(zhavik::fuzz::telling_text(input, 120));
  texts.wubi86_data = zhavik::wubi_data_from(zhavik::fuzz::telling_text(input, 120));
  texts.wubi98_data = zhavik::wubi_data_from(zhavik::fuzz::telling_text(input, 120));
  const zhavik::CodeBook book(texts);

  // Each unit that occurs anywhere, once.
  std::u16string asked = text + texts.pinyin_data + texts.wubi86_data + texts.wubi98_data;
  std::sort(asked.begin(), asked.end());
  asked.erase(std::unique(asked.begin(), asked.end()), asked.end());
  for (const char16_t unit : asked) {
    const std::u16string character(1, unit);
    for (const zhavik::Kind kind : zhavik::kAllKinds) {
      const std::u16string_view name = zhavik::kind_text(kind);
      FUZZ_REQUIRE(book.huoqu(name, character) == zhavik::huoqu_scan(texts, name, character));
    }
  }
  for (const zhavik::Kind kind : zhavik::kAllKinds) {
    const std::u16string_view name = zhavik::kind_text(kind);
    FUZZ_REQUIRE(zhavik::convert_text(book, text, name) ==
                 zhavik::convert_text_scan(texts, text, name));
  }
  return 0;
}
