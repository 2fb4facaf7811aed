#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/dictionary/kind.h"

namespace zhavik {

// Answers that are markers rather than codes.
inline constexpr std::u16string_view kMissing = u"暂缺";
inline constexpr std::u16string_view kNotChinese = u"不是汉字";

// What the lookup finds for one character in one kind.
struct Answer {
  enum class Outcome {
    found,
    missing,       // no entry in the kind's dictionary, or outside GB2312: "暂缺"
    not_chinese,   // code page 936 writes the character with one byte: "不是汉字"
    no_character,  // nothing was asked: ""
  };
  Outcome outcome = Outcome::no_character;
  // When found: the readings with tone marks (zhōng) or the codes as the dictionary writes
  // them, in order, or the four digits of the area/position code.
  std::vector<std::u16string> items;

  static Answer of(Outcome outcome) { return Answer{outcome, {}}; }
  friend bool operator==(const Answer&, const Answer&) = default;
  // Found when there are items, else missing.
  static Answer listing(std::vector<std::u16string> items);
};

// The answer as the window shows it, made here and nowhere else: every reading followed by
// two blanks ("hǎo  hào  "), every code followed by one blank, with each "*" inside a code
// shown as a blank too, the four digits of the area/position code; or the marker.
std::u16string answer_text(AnswerShape shape, const Answer& answer);

// How many units an item takes in that text, with the blanks after it. An answer is kept
// within a bound on this length (see lookup_scan.h).
std::size_t shown_length(AnswerShape shape, std::u16string_view item);

// The text of an answer up to its first blank, from the first item alone: the first reading
// or code as it is shown, all that the batch conversion keeps of a found answer.
std::u16string_view first_word(AnswerShape shape, std::u16string_view first_item);

}  // namespace zhavik
