#include "core/pinyin/tone_sandhi.h"

#include <algorithm>
#include <optional>

namespace zhavik {
namespace {

bool is_one_of(char16_t unit, std::u16string_view units) {
  return units.find(unit) != std::u16string_view::npos;
}

// The tone of a reading with tone marks, 5 for none; nothing for an item that is no
// syllable ("###", "暂缺").
std::optional<int> tone_of(std::u16string_view reading) {
  static constexpr std::u16string_view kMarked[] = {u"āēīōūǖ\u0304", u"áéíóúǘḿń\u0301",
                                                    u"ǎěǐǒǔǚň\u030C", u"àèìòùǜǹ\u0300"};
  int tone = 5;
  for (const char16_t unit : reading) {
    if ((unit >= u'a' && unit <= u'z') || unit == u'ü') continue;
    const auto marked =
        std::find_if(std::begin(kMarked), std::end(kMarked),
                     [unit](std::u16string_view set) { return is_one_of(unit, set); });
    if (marked == std::end(kMarked)) return std::nullopt;
    tone = static_cast<int>(marked - std::begin(kMarked)) + 1;
  }
  if (reading.empty()) return std::nullopt;
  return tone;
}

constexpr std::u16string_view kDigits = u"〇零一二三四五六七八九十0123456789０１２３４５６７８９";

// Whether 一 is read as the numeral yī whatever follows: see the header.
bool keeps_numeral_tone(std::u16string_view line, const LineItem& one, char16_t next) {
  const char16_t before = one.at > 0 ? line[one.at - 1] : u'\0';
  // After a demonstrative 一 counts what follows, word or not: 另一方面 lìng yì fāng miàn.
  const bool counts_on = is_one_of(before, u"这那每哪另任");
  if ((one.ends_word && !counts_on) || is_one_of(before, u"第初") || is_one_of(before, kDigits)) {
    return true;
  }
  // A number that begins with 一 before a large unit: 一百 yì bǎi, 一万一千 yí wàn yì qiān.
  if (is_one_of(next, u"百千万亿")) return false;
  return is_one_of(next, kDigits) || (is_one_of(next, u"月号") && !counts_on);
}

}  // namespace

void apply_tone_sandhi(std::u16string& out, std::u16string_view line,
                       const std::vector<LineItem>& items, const CodeBook& book) {
  std::u16string scratch;
  for (std::size_t i = 0; i + 1 < items.size(); ++i) {
    const LineItem& item = items[i];
    const LineItem& next = items[i + 1];
    const std::u16string_view reading = std::u16string_view(out).substr(item.offset, item.length);
    const bool yi = line[item.at] == u'一' && reading == u"yī";
    const bool bu = line[item.at] == u'不' && reading == u"bù";
    if ((!yi && !bu) || next.at != item.at + 1) continue;
    std::optional<int> tone = tone_of(std::u16string_view(out).substr(next.offset, next.length));
    if (tone == 5) {
      // A neutral tone: the character's usual one.
      const std::u16string_view usual = book.first_word(Kind::pinyin, line[next.at], scratch);
      tone = tone_of(usual.substr(0, usual.find(u' ')));
    }
    if (!tone || tone == 5) continue;
    if (bu && tone == 4) {
      out[item.offset + 1] = u'ú';
    } else if (yi && item.at > 0 && line[item.at - 1] == line[next.at] &&
               !is_one_of(line[next.at], kDigits)) {
      out[item.offset + 1] = u'i';
    } else if (yi && !keeps_numeral_tone(line, item, line[next.at])) {
      out[item.offset + 1] = tone == 4 ? u'í' : u'ì';
    }
  }
}

}  // namespace zhavik
