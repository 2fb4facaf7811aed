#pragma once

#include <string>
#include <string_view>

namespace zhavik {

// Appends text as UTF-8, a lone surrogate as U+FFFD: the bytes of utf16_to_utf8, written
// straight into `out` without a string per call, for output of millions of characters.
void append_utf8(std::string& out, std::u16string_view text);

}  // namespace zhavik
