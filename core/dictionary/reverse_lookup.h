#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/pinyin/pinyin_style.h"

namespace zhavik {

// The reverse questions: which characters does a code give?

struct ReverseEntry {
  std::u16string code;  // the code that gives the character (in the asked style)
  std::u16string character;
  bool typed_first = false;  // Wubi: typing the code gives this character first
};

// The characters whose Wubi records hold `code` (or, with `prefix`, any code that starts
// with it), code by code in code order, each code's characters in the table's order. A
// short code stands only beside the character it types; so a code types first the
// character that has it as a short code, else the first character listed with it.
std::vector<ReverseEntry> characters_of_wubi_code(std::u16string_view wubi_data,
                                                  std::u16string_view code, bool prefix);

// The character of a four-digit area/position code (with `prefix`, of every code that
// starts with the digits given).
std::vector<ReverseEntry> characters_of_quwei(std::u16string_view code, bool prefix);

// The characters read with a syllable, tone by tone (only the given tone when there is
// one), each tone's characters in record order, which is the order of frequency; every
// record of a key counts. With `prefix` every syllable that starts with the given one, in
// file order of first appearance.
std::vector<ReverseEntry> characters_of_reading(std::u16string_view pinyin_data,
                                                const WrittenSyllable& reading, bool prefix,
                                                PinyinFormat format);

}  // namespace zhavik
