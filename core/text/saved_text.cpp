#include "core/text/saved_text.h"

#include "core/text/cp936.h"
#include "core/text/text.h"

namespace zhavik {

std::size_t first_outside_gbk(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    // A surrogate, paired or not, lies outside the Basic Multilingual Plane or is none.
    if (text[i] >= 0x80 && cp936_double_byte(text[i]) == 0) return i;
  }
  return std::u16string_view::npos;
}

std::string encode_saved_text(std::u16string_view text, SavedEncoding encoding) {
  if (encoding == SavedEncoding::gbk) return cp936_encode(text);
  return "\xEF\xBB\xBF" + utf16_to_utf8(text);
}

}  // namespace zhavik
