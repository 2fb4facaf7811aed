#include "core/text/editor_lines.h"

namespace zhavik {

std::u16string editor_lines_to_crlf(std::u16string_view editor_text) {
  std::u16string text;
  text.reserve(editor_text.size() + editor_text.size() / 16);
  for (const char16_t unit : editor_text) {
    if (unit == u'\u2029' || unit == u'\u2028') {
      text += u"\r\n";
    } else {
      text += unit;
    }
  }
  return text;
}

}  // namespace zhavik
