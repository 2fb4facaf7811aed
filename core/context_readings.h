#pragma once

#include <cstddef>
#include <string_view>

namespace zhavik {

// The reading of a character that no word with readings reads, where the characters around
// it tell it better than its usual reading. Each rule was kept because it set more readings
// right than wrong in the prose of bench/accuracy/ (two story collections of Lu Xun and a
// technical handbook, 245,000 hanzi; counts of the places it changed, right : wrong):
//
//   只  zhī   after a numeral or a demonstrative: the measure word (两只手, 那只小篮)  18 : 2
//   行  háng  after a numeral or a demonstrative, not before 人 动 为 事 (两行, 每行)  9 : 0
//   长  cháng after a word of degree or a unit of length (很长, 那么长, 一尺多长), or
//             after a measure word (一支长烟管, 一封长信)                             26 : 0
//   得  děi   after an adverb or a pronoun (还得走, 须得, 我得去); dé before 了 and after
//             才 and 能 (又得了胜, 才得回南, 能得几文钱)                               30 : 0
//
// The particles 地 and 得 (慢慢地走, 跑得快) read de as their usual reading; the noun 地
// and the verb 得 stand in words (土地, 获得). `at` is the place of the character in `line`.
// Gives the reading with tone marks, or nothing where no rule applies.
std::u16string_view reading_in_context(std::u16string_view line, std::size_t at);

}  // namespace zhavik
