#pragma once

#include <string>
#include <string_view>

#include "core/conversion/conversion.h"
#include "core/dictionary/code_book.h"
#include "core/dictionary/dictionary_texts.h"
#include "core/text/text.h"

namespace zhavik {

// The first word of a character's answer of one kind in the code book; the view stays valid
// until the next call.
class FirstWordInBook {
 public:
  FirstWordInBook(const CodeBook& book, Kind kind) : book_(&book), kind_(kind) {}
  std::u16string_view operator()(char16_t unit, std::uint16_t) {
    return book_->first_word(kind_, unit, scratch_);
  }

 private:
  const CodeBook* book_;
  Kind kind_;
  std::u16string scratch_;
};

// The window's plain conversion: each character alone, by the code book.
using BookConversion = CharacterByCharacter<FirstWordInBook>;

// Converts a whole text, line by line (lines end with CR LF), to one kind of code, in the
// window's layout (TextLayout::window): every character with a two-byte code page 936 code
// becomes the first word of its lookup answer (the first reading or code, or the marker),
// any other character "###", the blank U+0020 nothing; each item is followed by one blank
// and each line by CR LF. A text without any CR LF first gets one appended, so it ends
// with an empty line.
std::u16string convert_text(const CodeBook& book, std::u16string_view text, Kind kind);

// The same conversion with every answer from the plain scan of huoqu_scan, each at most
// `max_answer` units long as the code book's are.
std::u16string convert_text_scan(const DictionaryTexts& texts, std::u16string_view text, Kind kind,
                                 std::size_t max_answer = kMaxAnswerUnits);

}  // namespace zhavik
