#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "core/code_book.h"
#include "core/cp936.h"
#include "core/dictionary_texts.h"
#include "core/text.h"

namespace zhavik {

// The layout of the batch conversion below for a text that may arrive in pieces. Each
// character with a two-byte code page 936 code becomes the first word of its answer,
// first_word_of(unit, code), a view valid until the next call; any other character "###";
// the blank U+0020 nothing. Each item is followed by one blank, CR LF is the only line end,
// and a text without any gets one more at its end.
template <class FirstWordOf>
class BatchLayout {
 public:
  explicit BatchLayout(FirstWordOf first_word_of) : first_word_of_(std::move(first_word_of)) {}

  void feed(std::u16string_view text, std::u16string& out) {
    if (held_ == 0) return convert(text, out);
    std::u16string joined(1, held_);
    joined += text;
    held_ = 0;
    convert(joined, out);
  }
  void finish(std::u16string& out) {
    if (held_ != 0) item(held_, out);
    held_ = 0;
    out += u"\r\n";
    if (!has_line_end_) out += u"\r\n";
  }

 private:
  void convert(std::u16string_view text, std::u16string& out) {
    for (std::size_t i = 0; i < text.size(); ++i) {
      const char16_t unit = text[i];
      if (i + 1 == text.size() && (unit == u'\r' || is_high_surrogate(unit))) {
        held_ = unit;  // what comes next may complete a CR LF or a surrogate pair
      } else if (unit == u'\r' && text[i + 1] == u'\n') {
        out += u"\r\n";
        has_line_end_ = true;
        ++i;
      } else if (is_high_surrogate(unit) && is_low_surrogate(text[i + 1])) {
        out += u"### ";  // beyond the Basic Multilingual Plane, so no two-byte code
        ++i;
      } else {
        item(unit, out);
      }
    }
  }
  void item(char16_t unit, std::u16string& out) {
    if (unit == u' ') return;
    const std::uint16_t code = cp936_double_byte(unit);
    out += code == 0 ? u"###" : first_word_of_(unit, code);
    out += u' ';
  }

  FirstWordOf first_word_of_;
  char16_t held_ = 0;  // a last unit that waits for the next piece, 0 for none
  bool has_line_end_ = false;
};

// Converts a whole text, line by line (lines end with CR LF), to one kind of code: every
// character with a two-byte code page 936 code becomes the first word of its lookup answer
// (the first reading or code, or the marker), any other character "###", the blank U+0020
// nothing; each item is followed by one blank and each line by CR LF. A text without any
// CR LF first gets one appended, so it ends with an empty line.
std::u16string convert_text(const CodeBook& book, std::u16string_view text, Kind kind);

// The same conversion with every answer from the plain scan of huoqu_scan, each at most
// `max_answer` units long as the code book's are.
std::u16string convert_text_scan(const DictionaryTexts& texts, std::u16string_view text, Kind kind,
                                 std::size_t max_answer = kMaxAnswerUnits);

}  // namespace zhavik
