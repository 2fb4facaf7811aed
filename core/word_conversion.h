#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/code_book.h"
#include "core/word_table.h"

namespace zhavik {

// The pinyin conversion that reads a polyphone from the word it stands in: 银行 yín háng but
// 行走 xíng zǒu. Its output is laid out as convert_text's: one item and one blank per
// character, "###" for a one-byte character, nothing for the blank U+0020, CR LF after every
// line, and an empty last line for a text without any CR LF.
//
// Each line is cut into words of the table and single characters: the cut whose pieces cost
// least in sum (piece_cost, single_character_cost), that is the likeliest sentence; among
// cuts of equal cost the one of fewest pieces, and among those the one whose earliest
// differing piece is the longer word. A character inside a word with readings takes the
// word's reading for it. A word known only by its count is cut again the same way, by the
// words with readings alone, and its characters read as those pieces (大儿子: 大 + 儿子).
// Every other character takes the reading the characters around it call for
// (context_readings.h), else its usual reading, exactly as in convert_text with the kind
// "拼音". Words never hold a blank, a line break or half of a surrogate pair (see
// word_table.h), so a word interrupted by any of these is not found, and the work grows with
// the length of the text only.

// Appends the items of one line (a text without CR LF; a CR or LF alone converts to "###"),
// exactly the items that the line gets inside a whole text, without its line end. With
// `tone_sandhi`, 一 and 不 are written as spoken before the syllable that follows
// (tone_sandhi.h).
void append_line_by_words(std::u16string& out, const CodeBook& book, const WordTable& words,
                          std::u16string_view line, bool tone_sandhi = false);

std::u16string convert_text_by_words(const CodeBook& book, const WordTable& words,
                                     std::u16string_view text, bool tone_sandhi = false);

// The same conversion done plainly, as the reference that the one above must agree with:
// every stretch of every line looked up in ordered maps of the words and the counts.
std::u16string convert_text_by_words_reference(const CodeBook& book,
                                               const std::vector<WordReading>& words,
                                               const std::vector<WordCount>& counts,
                                               std::u16string_view text, bool tone_sandhi = false);

}  // namespace zhavik
