#pragma once

#include <string>
#include <string_view>

namespace zhavik {

// A multi-line editor keeps its lines apart with the paragraph separator U+2029 (Enter, and
// every CR LF, CR or LF of a text put into it) and the line separator U+2028 (Shift+Enter).
// The batch conversion works on CR LF lines, so both become CR LF; everything else, lone
// CR and LF included, stays as it is.
std::u16string editor_lines_to_crlf(std::u16string_view editor_text);

}  // namespace zhavik
