#pragma once

#include <string>
#include <string_view>

#include "core/code_book.h"
#include "core/dictionary_texts.h"
#include "core/text.h"

namespace zhavik {

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
