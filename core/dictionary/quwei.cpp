#include "core/dictionary/quwei.h"

namespace zhavik {

std::u16string quwei_code(std::uint16_t code) {
  const int area = (code >> 8) - 0xA0;
  const int position = (code & 0xFF) - 0xA0;
  if (area < 1 || area > 94 || position < 1 || position > 94) return {};
  return {static_cast<char16_t>(u'0' + area / 10), static_cast<char16_t>(u'0' + area % 10),
          static_cast<char16_t>(u'0' + position / 10), static_cast<char16_t>(u'0' + position % 10)};
}

Answer quwei_answer(std::uint16_t code) {
  std::u16string digits = quwei_code(code);
  if (digits.empty()) return Answer::of(Answer::Outcome::missing);
  return Answer::listing({std::move(digits)});
}

}  // namespace zhavik
