#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/first_words.h"

namespace zhavik {

// Converts the characters of one line (without its line end) to the line's items, separated
// by single blanks, appended to `out`. Any conversion that works line by line fits here.
using LineConversion = std::function<void(std::u16string_view line, std::u16string& out)>;

// The items of the batch conversion: the first word of each Chinese character's answer,
// "###" for every other character, nothing for the blank U+0020.
void convert_characters(std::u16string_view line, FirstWords& words, std::u16string& out);

// Converts a text that arrives in pieces, line by line: a line ends at LF, CR LF or the end
// of the text, and its output ends with the same line end (none for a last line without
// one). Memory stays bounded however long a line is: a line longer than kLongestPiece code
// units is converted in pieces of about that length, joined by a blank as if whole (a
// conversion that looks beyond one character then sees the pieces apart).
class LineConverter {
 public:
  static constexpr std::size_t kLongestPiece = 64 * 1024;

  explicit LineConverter(LineConversion conversion) : conversion_(std::move(conversion)) {}

  void feed(std::u16string_view text, std::u16string& out);
  void finish(std::u16string& out);

 private:
  void convert_piece(std::u16string_view piece, std::u16string& out);

  LineConversion conversion_;
  std::u16string pending_;  // the start of a line whose end has not come yet
  bool line_has_items_ = false;
};

}  // namespace zhavik
