// The character code lookup with any kind and any character over fuzzed dictionaries:
// the answer's shape follows from the arguments alone.

#include <cstdint>

#include "core/code_book.h"
#include "core/cp936.h"
#include "core/kind.h"
#include "core/text.h"
#include "fuzz/fuzz_text.h"

namespace {

bool is_quwei_code(std::u16string_view answer) {
  if (answer.size() != 4) return false;
  for (const char16_t digit : answer) {
    if (digit < u'0' || digit > u'9') return false;
  }
  const int area = (answer[0] - u'0') * 10 + answer[1] - u'0';
  const int position = (answer[2] - u'0') * 10 + answer[3] - u'0';
  return area >= 1 && area <= 94 && position >= 1 && position <= 94;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::u16string kind =
      input.ConsumeBool()
          ? std::u16string(zhavik::kind_text(zhavik::kAllKinds[input.ConsumeIntegralInRange(0, 3)]))
          : zhavik::fuzz::telling_text(input, 4);
  const std::u16string character = zhavik::fuzz::telling_text(input, 3);
  zhavik::DictionaryTexts texts;
  texts.pinyin_data = zhavik::pinyin_data_from(zhavik::fuzz::telling_text(input, 120));
  texts.wubi86_data = zhavik::wubi_data_from(zhavik::fuzz::telling_text(input, 120));
  texts.wubi98_data = zhavik::wubi_data_from(zhavik::fuzz::telling_text(input, 120));
  const zhavik::CodeBook book(std::move(texts));

  const std::u16string answer = book.huoqu(kind, character);
  const std::optional<zhavik::Kind> which = zhavik::kind_from_text(kind);
  if (character.empty()) {
    FUZZ_REQUIRE(answer.empty());
  } else if (zhavik::cp936_double_byte(zhavik::code_point_at(character, 0)) == 0) {
    FUZZ_REQUIRE(answer == zhavik::kNotChinese);
  } else if (!which) {
    FUZZ_REQUIRE(answer.empty());
  } else if (answer != zhavik::kMissing) {
    switch (*which) {
      case zhavik::Kind::pinyin:
        FUZZ_REQUIRE(answer.ends_with(u"  "));
        break;
      case zhavik::Kind::wubi86:
      case zhavik::Kind::wubi98:
        FUZZ_REQUIRE(answer.ends_with(u' '));
        break;
      case zhavik::Kind::quwei:
        FUZZ_REQUIRE(is_quwei_code(answer));
        break;
    }
  }
  return 0;
}
