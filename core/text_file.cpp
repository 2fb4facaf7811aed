#include "core/text_file.h"

#include <optional>

#include "core/cp936.h"
#include "core/text.h"

namespace zhavik {
namespace {

std::u16string decode_utf16(std::string_view bytes, bool big_endian) {
  std::u16string out;
  out.reserve(bytes.size() / 2 + 1);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    out += static_cast<char16_t>(big_endian ? first << 8 | second : second << 8 | first);
  }
  if (bytes.size() % 2 != 0) out += u'\xFFFD';
  return out;
}

}  // namespace

std::u16string decode_text_file(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return utf8_to_utf16_lossy(bytes.substr(3));
  if (bytes.starts_with("\xFF\xFE")) return decode_utf16(bytes.substr(2), false);
  if (bytes.starts_with("\xFE\xFF")) return decode_utf16(bytes.substr(2), true);
  if (std::optional<std::u16string> text = utf8_to_utf16(bytes)) return *text;
  return cp936_decode(bytes);
}

}  // namespace zhavik
