#pragma once

#include <cstddef>
#include <string_view>

namespace zhavik {

// The reading of a character that no word of the word table reads, where the characters
// around it tell it better than its usual reading. Each rule was kept because it set more
// readings right than wrong in real prose (bench/accuracy/):
//
//   地  de   the adverbial particle (慢慢地走): a noun 地 (dì) stands in a word (土地, 地上)
//   得  de   the complement particle (跑得快, 说得好): 得到, 获得 and the like are words
//   只  zhī  the measure word after a numeral or a demonstrative (两只手, 这只猫, 每只);
//            the adverb zhǐ "only" stands in words (只是, 只有) or elsewhere
//
// `at` is the place of the character in `line`. Gives the reading with tone marks, or
// nothing where no rule applies.
std::u16string_view reading_in_context(std::u16string_view line, std::size_t at);

}  // namespace zhavik
