#include "core/text/cp936.h"

#include <array>
#include <atomic>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#endif

#include "core/text/text.h"

namespace zhavik {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

#ifdef _WIN32

// Windows gives the user-defined areas of GBK (and the byte 0xFF) to the Private Use Area,
// where they name no character; iconv reads those bytes as fitting no encoding. They are
// read as iconv reads them, so that a text converts alike on every system.
bool is_private_use(char32_t code_point) {
  return code_point >= 0xE000 && code_point <= 0xF8FF;
}

std::uint16_t encode_uncached(char32_t code_point) {
  if (is_private_use(code_point)) return 0;
  const wchar_t wide = static_cast<wchar_t>(code_point);
  char bytes[4];
  BOOL used_default = FALSE;
  const int written = WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes, sizeof bytes,
                                          nullptr, &used_default);
  if (written != 2 || used_default) return 0;
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[0]) << 8 |
                                    static_cast<unsigned char>(bytes[1]));
}

// One character from bytes[i]: its UTF-16 unit and the number of bytes it took, or 0 bytes
// when the sequence is not valid.
std::pair<char16_t, std::size_t> decode_one(std::string_view bytes, std::size_t i) {
  for (const int length : {1, 2}) {
    if (i + length > bytes.size()) break;
    wchar_t wide = 0;
    if (MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes.data() + i, length, &wide, 1) == 1 &&
        !is_private_use(static_cast<char16_t>(wide))) {
      return {static_cast<char16_t>(wide), static_cast<std::size_t>(length)};
    }
  }
  return {kReplacement, 0};
}

#else

// iconv descriptors are costly to open and not safe to share between threads.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != invalid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts as much as it can; returns errno (0 when all of the input was converted).
  int convert(const char*& in, std::size_t& in_left, char*& out, std::size_t& out_left) {
    if (cd_ == invalid()) return EBADF;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* in_pointer = const_cast<char*>(in);
    const std::size_t result = iconv(cd_, &in_pointer, &in_left, &out, &out_left);
    in = in_pointer;
    return result == static_cast<std::size_t>(-1) ? errno : 0;
  }

 private:
  static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }
  iconv_t cd_;
};

std::uint16_t encode_uncached(char32_t code_point) {
  // UCS-4 and UCS-2 are built into the C library's iconv, where UTF-32 and UTF-16 are
  // modules loaded at the first use; code page 936 holds no character beyond UCS-2.
  thread_local Converter encoder("CP936", "UCS-4LE");
  const char in_bytes[4] = {static_cast<char>(code_point & 0xFF),
                            static_cast<char>((code_point >> 8) & 0xFF),
                            static_cast<char>((code_point >> 16) & 0xFF), 0};
  const char* in = in_bytes;
  std::size_t in_left = sizeof in_bytes;
  char out_bytes[8];
  char* out = out_bytes;
  std::size_t out_left = sizeof out_bytes;
  if (encoder.convert(in, in_left, out, out_left) != 0 || out - out_bytes != 2) return 0;
  return static_cast<std::uint16_t>(static_cast<unsigned char>(out_bytes[0]) << 8 |
                                    static_cast<unsigned char>(out_bytes[1]));
}

#endif

}  // namespace

std::uint16_t cp936_double_byte(char32_t code_point) {
  if (code_point < 0x80 || code_point > 0xFFFF) return 0;
  // The batch converter asks once per character of the text, so each answer is kept.
  // 1 marks a character known to have no two-byte code; no two-byte code is that small.
  static std::array<std::atomic<std::uint16_t>, 0x10000> known{};
  std::atomic<std::uint16_t>& slot = known[code_point];
  std::uint16_t code = slot.load(std::memory_order_relaxed);
  if (code == 0) {
    code = encode_uncached(code_point);
    if (code == 0) code = 1;
    slot.store(code, std::memory_order_relaxed);
  }
  return code == 1 ? 0 : code;
}

std::string cp936_encode(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (std::size_t i = 0; i < text.size(); i += character_length(text, i)) {
    const char32_t code_point = code_point_at(text, i);
    if (code_point < 0x80) {
      bytes += static_cast<char>(code_point);
    } else if (const std::uint16_t code = cp936_double_byte(code_point); code != 0) {
      bytes += static_cast<char>(code >> 8);
      bytes += static_cast<char>(code & 0xFF);
    } else {
      bytes += '?';
    }
  }
  return bytes;
}

namespace {

// Decodes `bytes` into `out`; returns how many it decoded. When `more_follows`, a lead byte
// at the very end waits for its trail byte: it is left out instead of becoming U+FFFD.
#ifdef _WIN32

bool is_lead_byte(char byte) {
  const auto value = static_cast<unsigned char>(byte);
  return value >= 0x81 && value <= 0xFE;
}

std::size_t decode(std::string_view bytes, bool more_follows, std::u16string& out) {
  for (std::size_t i = 0; i < bytes.size();) {
    const auto [unit, length] = decode_one(bytes, i);
    if (length == 0 && more_follows && i + 1 == bytes.size() && is_lead_byte(bytes[i])) return i;
    out += unit;
    i += length == 0 ? 1 : length;
  }
  return bytes.size();
}

#else

std::size_t decode(std::string_view bytes, bool more_follows, std::u16string& out) {
  thread_local Converter decoder("UCS-2LE", "CP936");  // see encode_uncached
  out.reserve(out.size() + bytes.size());
  std::string buffer(bytes.size() * 2 + 8, '\0');
  const char* in = bytes.data();
  std::size_t in_left = bytes.size();
  while (in_left > 0) {
    char* out_pointer = buffer.data();
    std::size_t out_left = buffer.size();
    const int error = decoder.convert(in, in_left, out_pointer, out_left);
    for (const char* unit = buffer.data(); unit < out_pointer; unit += 2) {
      out += static_cast<char16_t>(static_cast<unsigned char>(unit[0]) |
                                   static_cast<unsigned char>(unit[1]) << 8);
    }
    if (error == 0) break;
    // A sequence cut off by the end: in code page 936 only a lead byte.
    if (error == EINVAL && more_follows && in_left == 1) return bytes.size() - in_left;
    if (error != EILSEQ && error != EINVAL) {
      // The converter itself is unusable: keep the text's length in replacement characters.
      out.append(in_left, kReplacement);
      break;
    }
    out += kReplacement;
    ++in;
    --in_left;
  }
  return bytes.size();
}

#endif

}  // namespace

std::u16string cp936_decode(std::string_view bytes) {
  std::u16string out;
  decode(bytes, false, out);
  return out;
}

std::size_t cp936_decode_start(std::string_view bytes, std::u16string& out) {
  return decode(bytes, true, out);
}

}  // namespace zhavik
