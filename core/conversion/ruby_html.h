#pragma once

#include <string>
#include <string_view>

namespace zhavik {

// A page of converted text with the readings above the characters, the form teachers and
// learners print: one standalone UTF-8 HTML page (lang zh-CN, its own stylesheet for screen
// and print, nothing fetched), each line of the text a paragraph, each character with a
// reading a <ruby>字<rt>zì</rt></ruby>, everything else plain text.
//
// Text never becomes markup: < > & " ' are written as character references. Tabs stay (the
// paragraphs keep the text's blanks and tabs as they are); the other C0 controls, DEL and
// the C1 controls are left out, since no text view shows them and HTML does not allow them;
// a lone surrogate, which UTF-8 cannot carry, becomes U+FFFD. A surrogate pair must not be
// split between two pieces.

// One piece of a line: a character and its reading, or, with an empty reading, text as it
// stands (any length; neighbouring plain pieces run together).
struct RubyPiece {
  std::u16string_view text;
  std::u16string_view reading;
};

// Writes the page as it comes, so that a text of any size is converted in bounded memory:
// begin, then the pieces of each line and end_line after each, then end. Everything is
// appended to `out`, which the caller may write away and empty between calls.
class RubyHtmlWriter {
 public:
  // The head of the page; the title names the page in the browser's tab and its print.
  void begin(std::u16string_view title, std::string& out);
  void add(RubyPiece piece, std::string& out);
  // Ends a line; a line that shows nothing is an empty paragraph that keeps its height.
  void end_line(std::string& out);
  // Ends a last line that has pieces but no end_line, and closes the page.
  void end(std::string& out);

 private:
  bool line_open_ = false;  // "<p>" is written
  bool line_shows_something_ = false;
};

}  // namespace zhavik
