#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace zhavik {

// Standard output through one large buffer, written with as few calls as possible: a
// conversion of millions of characters spends more time writing than converting
// otherwise. Line-buffered, every write that ends a line goes out at once, so that a line
// shows as soon as it is converted and a run that is stopped loses no finished line.
// Remembers whether any write failed (a full disk, a closed pipe); after that nothing more
// is written.
class Output {
 public:
  explicit Output(std::FILE* file) : file_(file) {}
  ~Output() { flush(); }
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  void set_line_buffered(bool line_buffered) { line_buffered_ = line_buffered; }
  bool line_buffered() const { return line_buffered_; }

  void write(std::string_view bytes);
  // UTF-16 text written as UTF-8.
  void write(std::u16string_view text);
  // Writes out the buffer; false when this or any earlier write failed.
  bool flush();
  bool failed() const { return failed_; }
  // The errno of the write that failed.
  int error() const { return error_; }

 private:
  static constexpr std::size_t kFlushSize = 256 * 1024;
  void wrote(bool line_end);

  std::FILE* file_;
  std::string buffer_;
  bool line_buffered_ = false;
  bool failed_ = false;
  int error_ = 0;
};

// "zhavik-lookup: " and the message as one line on standard error. Through C's stdio
// rather than std::cerr: a program that includes the iostreams sets up their locales at
// every start, which costs a lookup the better part of a millisecond.
void write_error_line(std::string_view message);

}  // namespace zhavik
