#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zhavik {

// Code page 936 (GBK) is the code page the dictionary files are written in, and the
// two-byte test that decides what counts as a Chinese character.

// The two-byte code of a character (lead byte * 256 + trail byte), or 0 when code page 936
// writes the character with one byte (ASCII, U+0000, the euro sign) or cannot write it at
// all (every character outside the Basic Multilingual Plane among them).
std::uint16_t cp936_double_byte(char32_t code_point);

// Encodes text in code page 936: ASCII as one byte, a character with a two-byte code as its
// two bytes, and any other character (the euro sign, characters outside the code page) as "?".
std::string cp936_encode(std::u16string_view text);

// Decodes code page 936 text. A byte sequence that is not valid becomes U+FFFD and decoding
// goes on with the next byte, so the rest of the text is kept.
std::u16string cp936_decode(std::string_view bytes);

// Decodes the start of a code page 936 text whose rest is still to come, appending it to
// `out`: as cp936_decode, except that a lead byte at the very end, whose trail byte may yet
// come, is left out. Returns the number of bytes decoded. Decoding the rest from there gives
// the same text as decoding the whole at once.
std::size_t cp936_decode_start(std::string_view bytes, std::u16string& out);

}  // namespace zhavik
