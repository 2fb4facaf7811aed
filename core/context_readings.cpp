#include "core/context_readings.h"

namespace zhavik {
namespace {

bool is_one_of(char16_t unit, std::u16string_view units) {
  return units.find(unit) != std::u16string_view::npos;
}

// What may count a measure word: numerals, digits, demonstratives and their like.
bool counts_things(char16_t unit) {
  return is_one_of(unit,
                   u"一二三四五六七八九十百千万两几半每这那哪某多"
                   u"0123456789０１２３４５６７８９");
}

}  // namespace

std::u16string_view reading_in_context(std::u16string_view line, std::size_t at) {
  const char16_t before = at > 0 ? line[at - 1] : u'\0';
  switch (line[at]) {
    case u'地':
      return u"de";
    case u'得':
      return u"de";
    case u'只':
      return counts_things(before) ? u"zhī" : u"";
    default:
      return {};
  }
}

}  // namespace zhavik
