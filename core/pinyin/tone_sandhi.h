#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/dictionary/code_book.h"

namespace zhavik {

// One item of a converted line: where its reading stands in the output (the blank after it
// left out), which character of the line it reads, and whether that character ends a word:
// the last of a piece of the cut of two or more, or where the piece splits into two words
// of the table (统一 + 战线 in 统一战线; but 不一会 is no 不一 + 会).
struct LineItem {
  std::size_t offset;
  std::size_t length;
  std::size_t at;
  bool ends_word;
};

// Writes 一 and 不 as they are spoken before the syllable that follows them, where the
// conversion gave their base tones (yī, bù):
//
//   不 bú before a fourth tone          不是 bú shì, 不会 bú huì (else bù: 不好 bù hǎo)
//   一 yí before a fourth tone          一个 yí gè, 一样 yí yàng, 一万 yí wàn
//   一 yì before a first, second or third tone    一天 yì tiān, 一年 yì nián, 一起 yì qǐ
//
// 一 between two of the same character is neutral (看一看 kàn yi kàn, 想一想). It keeps yī
// where it is a numeral read as such: in an ordinal or a date (第一, 初一, 一月, 一号; but
// 这一月), beside another digit of a number (十一, 一九九八, 一一; but 一百, 一千, 一万 and
// 一亿 change), at the end of a word (统一, 唯一, 之一; but 另一方面, 每一个) and before
// anything that is no syllable (a punctuation mark, the end of the line). A neutral tone
// that follows counts as the usual tone of its character (一个 yí ge). The readings are
// rewritten in `out` in place.
void apply_tone_sandhi(std::u16string& out, std::u16string_view line,
                       const std::vector<LineItem>& items, const CodeBook& book);

}  // namespace zhavik
