#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zhavik {

// The encodings a converted text is saved in. UTF-8 with a byte-order mark holds every
// character, and the mark tells Windows' Notepad, and this program's File > Open, how to read
// it; code page 936 (GBK) is what older Chinese Windows programs read.
enum class SavedEncoding { utf8_with_mark, gbk };

// The place of the first character that code page 936 cannot write (one outside it, such as
// ḿ or an emoji, the euro sign, a lone surrogate), or npos when it can write them all. A
// text saved in GBK must be checked first: such a character would become "?".
std::size_t first_outside_gbk(std::u16string_view text);

// The bytes of the text in the encoding: for GBK, each character that code page 936 cannot
// write becomes "?"; for UTF-8, a lone surrogate becomes U+FFFD.
std::string encode_saved_text(std::u16string_view text, SavedEncoding encoding);

}  // namespace zhavik
