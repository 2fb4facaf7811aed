#include "cli/console.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <iostream>
#include <streambuf>
#include <string>
#endif

namespace zhavik {

#ifdef _WIN32

namespace {

HANDLE console_of(std::FILE* file) {
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  DWORD mode = 0;
  if (handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode)) return nullptr;
  return handle;
}

// UTF-8 text to a console as UTF-16; bytes that are no UTF-8 show as U+FFFD.
bool write_wide(HANDLE console, std::string_view utf8) {
  if (utf8.empty()) return true;
  const int bytes = static_cast<int>(utf8.size());
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), bytes, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), bytes, wide.data(), size);
  // Bounded pieces, for older consoles that refuse very long writes; a surrogate pair stays
  // in one piece.
  constexpr std::size_t kPiece = 8 * 1024;
  for (std::size_t start = 0; start < wide.size();) {
    std::size_t end = std::min(start + kPiece, wide.size());
    if (end < wide.size() && IS_HIGH_SURROGATE(wide[end - 1])) --end;
    DWORD written = 0;
    if (!WriteConsoleW(console, wide.data() + start, static_cast<DWORD>(end - start), &written,
                       nullptr)) {
      return false;
    }
    start = end;
  }
  return true;
}

// The length of `utf8` without a character cut off at its end.
std::size_t complete_length(std::string_view utf8) {
  for (std::size_t back = 1; back <= 3 && back <= utf8.size(); ++back) {
    const unsigned char byte = static_cast<unsigned char>(utf8[utf8.size() - back]);
    if ((byte & 0xC0) == 0x80) continue;  // a continuation byte: look further back
    const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    return length > back ? utf8.size() - back : utf8.size();
  }
  return utf8.size();
}

// std::cerr's buffer when standard error is a console.
class ConsoleBuffer : public std::streambuf {
 public:
  explicit ConsoleBuffer(HANDLE console) : console_(console) {}

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    pending_ += traits_type::to_char_type(c);
    return c;
  }
  std::streamsize xsputn(const char* bytes, std::streamsize count) override {
    pending_.append(bytes, static_cast<std::size_t>(count));
    return count;
  }
  // Writes what has come so far, but for a character still cut off.
  int sync() override {
    const std::size_t length = complete_length(pending_);
    const bool written = write_wide(console_, std::string_view(pending_).substr(0, length));
    pending_.erase(0, length);
    return written ? 0 : -1;
  }

 private:
  HANDLE console_;
  std::string pending_;
};

}  // namespace

void prepare_standard_streams() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
  if (const HANDLE console = console_of(stderr)) {
    // Never destroyed: std::cerr is flushed once more after static objects are gone.
    std::cerr.rdbuf(new ConsoleBuffer(console));
  }
}

std::optional<bool> write_to_console(std::FILE* file, std::string_view utf8) {
  const HANDLE console = console_of(file);
  if (!console) return std::nullopt;
  std::fflush(file);
  return write_wide(console, utf8);
}

#else

void prepare_standard_streams() {}

std::optional<bool> write_to_console(std::FILE*, std::string_view) {
  return std::nullopt;
}

#endif

}  // namespace zhavik
