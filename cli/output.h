#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace zhavik {

// Standard output through one large buffer, written with as few calls as possible: a
// conversion of millions of characters spends more time writing than converting
// otherwise. Remembers whether any write failed (a full disk, a closed pipe).
class Output {
 public:
  explicit Output(std::FILE* file) : file_(file) {}
  ~Output() { flush(); }
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  void write(std::string_view bytes) {
    buffer_.append(bytes);
    if (buffer_.size() >= kFlushSize) flush();
  }
  // UTF-16 text written as UTF-8.
  void write(std::u16string_view text);
  // Writes out the buffer; false when this or any earlier write failed.
  bool flush();

 private:
  static constexpr std::size_t kFlushSize = 256 * 1024;
  std::FILE* file_;
  std::string buffer_;
  bool failed_ = false;
};

}  // namespace zhavik
