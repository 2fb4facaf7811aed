#include "core/quwei.h"

#include "core/kind.h"

namespace zhavik {

std::u16string quwei_answer(std::uint16_t code) {
  const int area = (code >> 8) - 0xA0;
  const int position = (code & 0xFF) - 0xA0;
  if (area < 1 || area > 94 || position < 1 || position > 94) return std::u16string(kMissing);
  return {static_cast<char16_t>(u'0' + area / 10), static_cast<char16_t>(u'0' + area % 10),
          static_cast<char16_t>(u'0' + position / 10), static_cast<char16_t>(u'0' + position % 10)};
}

}  // namespace zhavik
