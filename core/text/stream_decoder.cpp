#include "core/text/stream_decoder.h"

#include <algorithm>

#include "core/text/cp936.h"
#include "core/text/text.h"

namespace zhavik {
namespace {

constexpr char16_t kReplacement = u'\xFFFD';
// How much text past the first non-ASCII byte the automatic choice looks at.
constexpr std::size_t kLookAhead = 64 * 1024;

bool is_ascii(char byte) {
  return static_cast<unsigned char>(byte) < 0x80;
}

// Where the UTF-8 bytes can be cut so that no character is split: before a lead byte whose
// sequence runs past the end. A lead byte never continues an earlier sequence, so the
// decoding of what comes before the cut is the same as that of the whole input.
std::size_t utf8_cut(std::string_view bytes) {
  for (std::size_t back = 1; back <= std::min<std::size_t>(3, bytes.size()); ++back) {
    const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
    if ((byte & 0xC0) == 0x80) continue;
    const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    return length > back ? bytes.size() - back : bytes.size();
  }
  return bytes.size();
}

// The offset of the first byte that code page 936 decoding turns into U+FFFD, walking as
// the decoder does: a valid pair, else a valid single byte, else a bad byte.
std::size_t first_bad_gbk_byte(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    if (is_ascii(bytes[i])) {
      ++i;
    } else if (const std::u16string pair = cp936_decode(bytes.substr(i, 2));
               i + 1 < bytes.size() && pair.size() == 1 && pair[0] != kReplacement) {
      i += 2;
    } else if (cp936_decode(bytes.substr(i, 1)) != std::u16string(1, kReplacement)) {
      ++i;
    } else {
      return i;
    }
  }
  return bytes.size();
}

}  // namespace

void StreamDecoder::feed(std::string_view bytes, std::u16string& out) {
  if (pending_.empty()) {
    // Decoded where it stands: only what has to wait is copied.
    pending_.assign(bytes.substr(decode(bytes, false, out)));
  } else {
    pending_.append(bytes);
    pending_.erase(0, decode(pending_, false, out));
  }
}

void StreamDecoder::finish(std::u16string& out) {
  decode(pending_, true, out);
  pending_.clear();
}

void StreamDecoder::note_bad_byte(std::uint64_t offset) {
  if (!first_bad_byte_) first_bad_byte_ = offset;
}

std::size_t StreamDecoder::decode(std::string_view input, bool final, std::u16string& out) {
  std::size_t used = 0;
  if (!mark_checked_) {
    if (input.size() < 3 && !final) return 0;
    if (input.starts_with("\xEF\xBB\xBF") && encoding_ != InputEncoding::gbk) {
      form_ = Form::utf8;
      used = 3;
    } else if (encoding_ == InputEncoding::automatic && input.starts_with("\xFF\xFE")) {
      form_ = Form::utf16le;
      used = 2;
    } else if (encoding_ == InputEncoding::automatic && input.starts_with("\xFE\xFF")) {
      form_ = Form::utf16be;
      used = 2;
    } else if (encoding_ != InputEncoding::automatic) {
      form_ = encoding_ == InputEncoding::utf8 ? Form::utf8 : Form::gbk;
    }
    mark_checked_ = true;
  }
  if (form_ == Form::undecided) {
    const std::string_view rest = input.substr(used);
    const auto first_other = std::find_if_not(rest.begin(), rest.end(), is_ascii);
    out.append(rest.begin(), first_other);
    used += static_cast<std::size_t>(first_other - rest.begin());
    if (first_other != rest.end()) choose_form(input.substr(used), final);
  }
  offset_ += used;
  if (form_ == Form::undecided) return used;
  std::size_t decoded = 0;
  switch (form_) {
    case Form::utf8:
      decoded = decode_utf8(input.substr(used), final, out);
      break;
    case Form::gbk:
      decoded = decode_gbk(input.substr(used), final, out);
      break;
    case Form::utf16le:
    case Form::utf16be:
      decoded = decode_utf16(input.substr(used), final, out);
      break;
    case Form::undecided:
      break;
  }
  offset_ += decoded;
  return used + decoded;
}

// `bytes` starts with the first byte that is not ASCII; the form stays undecided while the
// look-ahead has not come.
void StreamDecoder::choose_form(std::string_view bytes, bool final) {
  std::string_view window = bytes.substr(0, kLookAhead);
  const std::size_t line_end = choose_at_line_end_ ? window.find('\n') : std::string_view::npos;
  if (line_end != std::string_view::npos) {
    window = window.substr(0, line_end + 1);
  } else if ((window.size() < kLookAhead || window.size() == bytes.size()) && !final) {
    // Until a byte past the look-ahead comes, the look-ahead may yet turn out to be the end
    // of the input, where a character cut short is a fault of the text, not of the look.
    return;
  }
  // A window that ends with its line cannot end inside a character.
  const bool cut_short =
      line_end == std::string_view::npos && (window.size() < bytes.size() || !final);
  std::size_t error = 0;
  const bool valid =
      utf8_to_utf16(window, &error).has_value() || (cut_short && error + 4 > window.size());
  form_ = valid ? Form::utf8 : Form::gbk;
}

std::size_t StreamDecoder::decode_utf8(std::string_view bytes, bool final, std::u16string& out) {
  const std::string_view piece = bytes.substr(0, final ? bytes.size() : utf8_cut(bytes));
  const std::size_t bad = append_utf8_lossy(piece, out);
  if (bad != std::string_view::npos) note_bad_byte(offset_ + bad);
  return piece.size();
}

std::size_t StreamDecoder::decode_gbk(std::string_view bytes, bool final, std::u16string& out) {
  const std::size_t start = out.size();
  std::size_t used = bytes.size();
  if (final) {
    out += cp936_decode(bytes);
  } else {
    used = cp936_decode_start(bytes, out);
  }
  if (!first_bad_byte_ && out.find(kReplacement, start) != std::u16string::npos) {
    note_bad_byte(offset_ + first_bad_gbk_byte(bytes.substr(0, used)));
  }
  return used;
}

std::size_t StreamDecoder::decode_utf16(std::string_view bytes, bool final, std::u16string& out) {
  const bool big_endian = form_ == Form::utf16be;
  const std::size_t whole = bytes.size() & ~std::size_t{1};
  for (std::size_t i = 0; i < whole; i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    out += static_cast<char16_t>(big_endian ? first << 8 | second : second << 8 | first);
  }
  if (final && whole < bytes.size()) {
    note_bad_byte(offset_ + whole);
    out += kReplacement;
    return bytes.size();
  }
  return whole;
}

}  // namespace zhavik
