#pragma once

#include <random>
#include <string>
#include <string_view>

namespace zhavik {

// The text the benchmarks convert: 85 % hanzi of the pinyin dictionary, the rest punctuation,
// ASCII and line breaks, the same for every run.
inline std::u16string sample_text(std::u16string_view pinyin_data, std::size_t length,
                                  std::u16string_view line_break) {
  std::u16string hanzi;
  for (const char16_t unit : pinyin_data) {
    if (unit >= 0x4E00 && unit <= 0x9FFF) hanzi += unit;
  }
  const std::u16string_view others = u"，。、！？“”：；《》 abcdefghijklmnopqrstuvwxyz0123456789.,";
  std::mt19937 random(1);
  std::u16string text;
  text.reserve(length + line_break.size());
  while (text.size() < length) {
    const unsigned roll = random() % 100;
    if (roll < 85) {
      text += hanzi[random() % hanzi.size()];
    } else if (roll < 87) {
      text += line_break;
    } else {
      text += others[random() % others.size()];
    }
  }
  return text;
}

}  // namespace zhavik
