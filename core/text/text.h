#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zhavik {

// Text is held as 16-bit code units. A character is a Unicode code point: a surrogate
// pair is one character of two units, a lone surrogate one character of one unit.

inline bool is_high_surrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
inline bool is_low_surrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Removes the blank U+0020 at both ends and nothing else; tabs and other spaces are content.
std::u16string_view trim_blanks(std::u16string_view text);

// Number of code units of the character that starts at text[i] (1 or 2).
std::size_t character_length(std::u16string_view text, std::size_t i);

// The code point of the character that starts at text[i].
char32_t code_point_at(std::u16string_view text, std::size_t i);

// The first character of text (empty when text is empty).
std::u16string_view first_character(std::u16string_view text);

// The last character of text (empty when text is empty).
std::u16string_view last_character(std::u16string_view text);

// Strict UTF-8 decoding: overlong forms, surrogates and values above U+10FFFF are errors.
// On an error returns nothing and, when asked, the offset of the first bad byte.
std::optional<std::u16string> utf8_to_utf16(std::string_view bytes,
                                            std::size_t* error_offset = nullptr);

// Every byte that does not start a valid sequence becomes U+FFFD.
std::u16string utf8_to_utf16_lossy(std::string_view bytes);

// The same text appended to `out`; returns the offset of the first byte that became U+FFFD,
// or npos when there is none.
std::size_t append_utf8_lossy(std::string_view bytes, std::u16string& out);

// A lone surrogate, which UTF-8 cannot carry, becomes U+FFFD.
std::string utf16_to_utf8(std::u16string_view text);

// The bytes of utf16_to_utf8 appended to `out`, without a string per call, for output of
// millions of characters.
void append_utf8(std::string& out, std::u16string_view text);

// A to Z as a to z; every other unit stays as it is.
inline char16_t ascii_lower(char16_t unit) {
  return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + (u'a' - u'A')) : unit;
}
std::u16string ascii_lower(std::u16string_view text);

void append_code_point(std::u16string& out, char32_t code_point);

}  // namespace zhavik
