#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zhavik {

// How pinyin is written: with tone marks (zhōng, the window's way), with the tone as a digit
// after the syllable (zhong1, the neutral tone 5, ü kept as ü), or without tones (zhong).
enum class PinyinStyle { marks, numbers, none };

// A reading of the dictionary (a syllable and its tone digit, zhong1) in a style. Numbers
// and no tones come from the key itself, so every syllable the data holds is covered,
// including those the tone marks table leaves as they are.
std::u16string styled_reading(std::u16string_view numbered_key, PinyinStyle style);

// Pinyin letters in lower case, as the dictionary spells them: A to Z and Ü.
std::u16string pinyin_lower_case(std::u16string_view text);

// A syllable as a user writes it: zhong, zhong1, zhōng, Zhong, lü4, lv4 or lǜ. The syllable
// comes back in the dictionary's spelling (lower case, ü) with its tone 1 to 5, or 0 when no
// tone was given; nothing when the text holds anything but letters and one tone.
struct WrittenSyllable {
  std::u16string syllable;
  int tone = 0;
};
std::optional<WrittenSyllable> read_written_syllable(std::u16string_view text);

}  // namespace zhavik
