#include "core/utf8_append.h"

namespace zhavik {

void append_utf8(std::string& out, std::u16string_view text) {
  const std::size_t start = out.size();
  out.resize(start + text.size() * 3);  // no unit takes more than three bytes
  char* p = out.data() + start;
  const auto put = [&p](unsigned value) { *p++ = static_cast<char>(value); };
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c < 0x80) {
      put(c);
      continue;
    }
    if (c >= 0xD800 && c <= 0xDFFF) {
      if (c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        put(0xF0 | (c >> 18));
        put(0x80 | ((c >> 12) & 0x3F));
        put(0x80 | ((c >> 6) & 0x3F));
        put(0x80 | (c & 0x3F));
        continue;
      }
      c = 0xFFFD;
    }
    if (c < 0x800) {
      put(0xC0 | (c >> 6));
    } else {
      put(0xE0 | (c >> 12));
      put(0x80 | ((c >> 6) & 0x3F));
    }
    put(0x80 | (c & 0x3F));
  }
  out.resize(p - out.data());
}

}  // namespace zhavik
