// The character code lookup with any kind and any character over fuzzed dictionaries:
// what the answer is follows from the arguments alone, and its text lays out its items.

#include <algorithm>
#include <cstdint>

#include "core/dictionary/code_book.h"
#include "core/text/cp936.h"
#include "core/text/text.h"
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
  using zhavik::Answer;
  FuzzedDataProvider input(data, size);
  const zhavik::Kind kind =
      zhavik::kAllKinds[input.ConsumeIntegralInRange<std::size_t>(0, zhavik::kKindCount - 1)];
  const std::u16string character = zhavik::fuzz::telling_text(input, 3);
  const zhavik::CodeBook book(zhavik::fuzz::telling_dictionaries(input, 120));

  const Answer answer = book.answer(kind, character);
  const std::u16string text = book.huoqu(kind, character);
  FUZZ_REQUIRE(text == zhavik::answer_text(zhavik::shape_of(kind), answer));
  FUZZ_REQUIRE((answer.outcome == Answer::Outcome::found) == !answer.items.empty());
  if (character.empty()) {
    FUZZ_REQUIRE(answer.outcome == Answer::Outcome::no_character && text.empty());
  } else if (zhavik::cp936_double_byte(zhavik::code_point_at(character, 0)) == 0) {
    FUZZ_REQUIRE(answer.outcome == Answer::Outcome::not_chinese && text == zhavik::kNotChinese);
  } else if (answer.outcome != Answer::Outcome::found) {
    FUZZ_REQUIRE(answer.outcome == Answer::Outcome::missing && text == zhavik::kMissing);
  } else {
    switch (zhavik::shape_of(kind)) {
      case zhavik::AnswerShape::readings:
        FUZZ_REQUIRE(text.ends_with(u"  "));
        break;
      case zhavik::AnswerShape::codes:
        // Distinct codes, each a blank-separated word of the dictionary.
        for (auto item = answer.items.begin(); item != answer.items.end(); ++item) {
          FUZZ_REQUIRE(!item->empty() && item->find(u' ') == std::u16string::npos);
          FUZZ_REQUIRE(std::find(answer.items.begin(), item, *item) == item);
        }
        FUZZ_REQUIRE(text.ends_with(u' '));
        break;
      case zhavik::AnswerShape::area_position:
        FUZZ_REQUIRE(answer.items.size() == 1 && is_quwei_code(text));
        break;
    }
  }
  return 0;
}
