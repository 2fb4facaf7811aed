#include "core/context_readings.h"

namespace zhavik {
namespace {

bool is_one_of(char16_t unit, std::u16string_view units) {
  return unit != 0 && units.find(unit) != std::u16string_view::npos;
}

// What counts things before a measure word: numerals, digits, demonstratives and the like.
constexpr std::u16string_view kCounters =
    u"一二三四五六七八九十百千万两几半每这那哪某多0123456789０１２３４５６７８９";

}  // namespace

std::u16string_view reading_in_context(std::u16string_view line, std::size_t at) {
  const char16_t before = at > 0 ? line[at - 1] : u'\0';
  const char16_t after = at + 1 < line.size() ? line[at + 1] : u'\0';
  switch (line[at]) {
    case u'只':
      return is_one_of(before, kCounters) ? u"zhī" : u"";
    case u'行':
      return is_one_of(before, kCounters) && !is_one_of(after, u"人动为事") ? u"háng" : u"";
    case u'长':
      // After a word of degree or a unit of length (很长, 那么长, 一尺多长), or after a
      // measure word, before the thing it measures (一支长烟管, 一封长信).
      return is_one_of(before, u"很太更最越颇多来够较挺真么尺寸丈条根支枝封段篇排串句") ? u"cháng"
                                                                                        : u"";
    case u'得':
      // After an adverb or a pronoun 得 is no complement: "must" (还得走, 我得去), or
      // "obtain" before 了 and after 才 and 能 (又得了胜, 才得回南, 能得几文钱).
      if (!is_one_of(before, u"还也就便须又总都我你他她们才能")) return {};
      return after == u'了' || is_one_of(before, u"才能") ? u"dé" : u"děi";
    default:
      return {};
  }
}

}  // namespace zhavik
