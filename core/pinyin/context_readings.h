#pragma once

#include <cstddef>
#include <string_view>

namespace zhavik {

// The reading of a character where the characters around it tell it better than its usual
// reading, for the conversion by words: the rules of context_readings.cpp, one table row a
// rule, each kept because it set more readings right than wrong in the prose of
// bench/accuracy/ (two story collections of Lu Xun and a technical handbook, 245,000 hanzi).
// A rule reads only a character that no word with readings reads, but for the few words
// that a row names as outranked (一行 in 最后一行 háng). The particles 地 and 得 (慢慢地走,
// 跑得快) read de as their usual reading; the noun 地 and the verb 得 stand in words (土地,
// 获得).
//
// `at` is the place of the character in `line`; `word` is the word with readings that holds
// it there, or empty. Gives the reading with tone marks, or nothing where no rule applies.
std::u16string_view reading_in_context(std::u16string_view line, std::size_t at,
                                       std::u16string_view word = {});

}  // namespace zhavik
