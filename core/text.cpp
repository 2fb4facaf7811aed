#include "core/text.h"

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

// Decodes UTF-8; a bad sequence either ends the decoding (lossy false: no text, and its
// offset) or becomes U+FFFD for its first byte (lossy true).
std::optional<std::u16string> decode_utf8(std::string_view bytes, bool lossy,
                                          std::size_t* error_offset) {
  std::u16string out;
  out.reserve(bytes.size());
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
    } else if (lossy) {
      out += u'\xFFFD';
      ++i;
    } else {
      if (error_offset) *error_offset = i;
      return std::nullopt;
    }
  }
  return out;
}

}  // namespace

std::optional<std::u16string> utf8_to_utf16(std::string_view bytes, std::size_t* error_offset) {
  return decode_utf8(bytes, false, error_offset);
}

std::u16string utf8_to_utf16_lossy(std::string_view bytes) {
  return *decode_utf8(bytes, true, nullptr);
}

std::string utf16_to_utf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (std::size_t i = 0; i < text.size(); i += character_length(text, i)) {
    char32_t c = code_point_at(text, i);
    if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace zhavik
