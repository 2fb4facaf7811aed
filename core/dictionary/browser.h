#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zhavik {

// What the pinyin browser shows, worked out from the pinyin text alone.

// The browser's rows hold this many buttons: the syllables of one letter and the characters
// of one syllable. The window sizes its rows by them and the command line lists as many.
inline constexpr std::size_t kSyllableCapacity = 40;
inline constexpr std::size_t kCharacterCapacity = 114;

// The distinct syllables of the records that begin with `letter` (lower case), in the order
// of their first records, at most `capacity` of them.
std::vector<std::u16string> syllables_of_letter(std::u16string_view pinyin_data,
                                                std::u16string_view letter, std::size_t capacity);

struct SyllableCharacter {
  std::u16string character;
  int tone;               // 1 to 5, 5 the neutral tone
  std::u16string pinyin;  // the syllable with its tone mark, e.g. ài
};

// The characters read with `syllable` (lower case), tone 1 to 5 in turn, each tone's
// characters in stored order, at most `capacity` of them. Only the first record of a key
// counts; blanks in a record are skipped.
std::vector<SyllableCharacter> characters_of_syllable(std::u16string_view pinyin_data,
                                                      std::u16string_view syllable,
                                                      std::size_t capacity);

}  // namespace zhavik
