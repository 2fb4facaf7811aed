// The indexed lookup against the plain scan over fuzzed dictionaries: every character of
// the texts, in every kind, and the conversion of a fuzzed text. Any difference is a fault.
// Answers are bounded either as in the program or so tightly that fuzzed texts reach the
// bound, and both sides must cut them at the same reading or code.

#include <algorithm>
#include <cstdint>

#include "core/conversion/batch.h"
#include "core/dictionary/code_book.h"
#include "core/dictionary/lookup_scan.h"
#include "fuzz/fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::size_t max_answer = input.ConsumeBool()
                                     ? zhavik::kMaxAnswerUnits
                                     : input.ConsumeIntegralInRange<std::size_t>(0, 48);
  const std::u16string text = zhavik::fuzz::telling_text(input, 40);
  const zhavik::DictionaryTexts texts = zhavik::fuzz::telling_dictionaries(input, 120);
  const zhavik::CodeBook book(texts, max_answer);

  // Each unit that occurs anywhere, once.
  std::u16string asked = text;
  for (const zhavik::Kind kind : zhavik::kAllKinds)
    asked += texts[kind];
  std::sort(asked.begin(), asked.end());
  asked.erase(std::unique(asked.begin(), asked.end()), asked.end());
  for (const char16_t unit : asked) {
    const std::u16string character(1, unit);
    for (const zhavik::Kind kind : zhavik::kAllKinds) {
      const zhavik::Answer answer = book.answer(kind, character);
      FUZZ_REQUIRE(answer == zhavik::answer_scan(texts, kind, character, max_answer));
      const std::u16string shown = zhavik::answer_text(zhavik::shape_of(kind), answer);
      FUZZ_REQUIRE(shown.size() <= std::max<std::size_t>(max_answer, 4));
    }
  }
  for (const zhavik::Kind kind : zhavik::kAllKinds) {
    FUZZ_REQUIRE(zhavik::convert_text(book, text, kind) ==
                 zhavik::convert_text_scan(texts, text, kind, max_answer));
  }
  return 0;
}
