#pragma once

#include <string>
#include <string_view>

#include "core/ruby_html.h"

namespace zhavik {

// A text as a page with its pinyin above the characters, the readings taken from the
// pinyin conversion of the text in the layout of the batch conversion (convert_text with
// the kind "拼音", convert_text_by_words, or a line of either): one item and a blank for
// each character but the blank U+0020, "###" for a character that is not Chinese, "暂缺"
// for one the dictionary lacks. So the page reads every character as the conversion does.

// Adds the characters of `text` (a line, or a part of one, without its line end) to the
// current line of the page: each character whose item is a reading in a ruby with it; every
// other character, its item a marker or empty, and each blank as plain text. Characters
// beyond the last item are plain text too.
void add_with_readings(RubyHtmlWriter& writer, std::u16string_view text, std::u16string_view items,
                       std::string& out);

// The whole page of a text whose lines end with CR LF, each line a paragraph, from the text
// and its conversion, whose lines match the text's one by one. A CR LF at the end of the text
// ends its last line and starts no new one.
std::string ruby_page(std::u16string_view title, std::u16string_view text,
                      std::u16string_view converted);

}  // namespace zhavik
