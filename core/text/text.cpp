#include "core/text/text.h"

#include <algorithm>

namespace zhavik {

std::u16string_view trim_blanks(std::u16string_view text) {
  const std::size_t begin = text.find_first_not_of(u' ');
  if (begin == std::u16string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(u' ') - begin + 1);
}

std::size_t character_length(std::u16string_view text, std::size_t i) {
  return i + 1 < text.size() && is_high_surrogate(text[i]) && is_low_surrogate(text[i + 1]) ? 2 : 1;
}

char32_t code_point_at(std::u16string_view text, std::size_t i) {
  if (character_length(text, i) == 1) return text[i];
  return 0x10000 + ((static_cast<char32_t>(text[i]) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
}

std::u16string_view first_character(std::u16string_view text) {
  return text.empty() ? text : text.substr(0, character_length(text, 0));
}

std::u16string_view last_character(std::u16string_view text) {
  const std::size_t size = text.size();
  const bool pair =
      size >= 2 && is_high_surrogate(text[size - 2]) && is_low_surrogate(text[size - 1]);
  return text.substr(size - (pair ? 2 : std::min<std::size_t>(size, 1)));
}

void append_code_point(std::u16string& out, char32_t code_point) {
  if (code_point < 0x10000) {
    out += static_cast<char16_t>(code_point);
  } else {
    code_point -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (code_point >> 10));
    out += static_cast<char16_t>(0xDC00 + (code_point & 0x3FF));
  }
}

namespace {

// Decodes UTF-8 into `out`; a bad sequence either ends the decoding (lossy false) or becomes
// U+FFFD for its first byte (lossy true). Returns the offset of the first bad byte, or npos.
std::size_t decode_utf8(std::string_view bytes, bool lossy, std::u16string& out) {
  std::size_t first_bad = std::string_view::npos;
  out.reserve(out.size() + bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 1;
    char32_t code_point = lead;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, code_point = lead & 0x1F, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, code_point = lead & 0x0F, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, code_point = lead & 0x07, smallest = 0x10000;
    }
    bool valid = lead < 0x80 || (smallest != 0 && bytes.size() - i >= length);
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      valid = (next & 0xC0) == 0x80;
      code_point = (code_point << 6) | (next & 0x3F);
    }
    valid = valid && code_point >= smallest && code_point <= 0x10FFFF &&
            !(code_point >= 0xD800 && code_point <= 0xDFFF);
    if (valid) {
      append_code_point(out, code_point);
      i += length;
      continue;
    }
    if (first_bad == std::string_view::npos) first_bad = i;
    if (!lossy) break;
    out += u'\xFFFD';
    ++i;
  }
  return first_bad;
}

}  // namespace

std::optional<std::u16string> utf8_to_utf16(std::string_view bytes, std::size_t* error_offset) {
  std::u16string text;
  const std::size_t bad = decode_utf8(bytes, false, text);
  if (bad == std::string_view::npos) return text;
  if (error_offset) *error_offset = bad;
  return std::nullopt;
}

std::u16string utf8_to_utf16_lossy(std::string_view bytes) {
  std::u16string text;
  append_utf8_lossy(bytes, text);
  return text;
}

std::size_t append_utf8_lossy(std::string_view bytes, std::u16string& out) {
  return decode_utf8(bytes, true, out);
}

std::string utf16_to_utf8(std::u16string_view text) {
  std::string out;
  append_utf8(out, text);
  return out;
}

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
      if (c <= 0xDBFF && i + 1 < text.size() && is_low_surrogate(text[i + 1])) {
        c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        put(0xF0 | (c >> 18));
        put(0x80 | ((c >> 12) & 0x3F));
        put(0x80 | ((c >> 6) & 0x3F));
        put(0x80 | (c & 0x3F));
        continue;
      }
      c = 0xFFFD;  // a lone surrogate
    }
    if (c < 0x800) {
      put(0xC0 | (c >> 6));
    } else {
      put(0xE0 | (c >> 12));
      put(0x80 | ((c >> 6) & 0x3F));
    }
    put(0x80 | (c & 0x3F));
  }
  out.resize(static_cast<std::size_t>(p - out.data()));
}

std::u16string ascii_lower(std::u16string_view text) {
  std::u16string lower(text);
  for (char16_t& unit : lower)
    unit = ascii_lower(unit);
  return lower;
}

}  // namespace zhavik
