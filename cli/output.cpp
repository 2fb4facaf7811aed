#include "cli/output.h"

#include <cerrno>

#include "core/text/text.h"

#ifdef _WIN32
#include "cli/console.h"
#endif

namespace zhavik {

void Output::write(std::string_view bytes) {
  if (failed_) return;
  buffer_.append(bytes);
  wrote(bytes.find('\n') != std::string_view::npos);
}

void Output::write(std::u16string_view text) {
  if (failed_) return;
  append_utf8(buffer_, text);
  wrote(text.find(u'\n') != std::u16string_view::npos);
}

void Output::wrote(bool line_end) {
  if (buffer_.size() >= kFlushSize || (line_end && line_buffered_)) flush();
}

bool Output::flush() {
  if (failed_) return false;
#ifdef _WIN32
  if (const std::optional<bool> written = write_to_console(file_, buffer_)) {
    failed_ = !*written;
    if (failed_) error_ = EIO;
    buffer_.clear();
    return !failed_;
  }
#endif
  errno = 0;
  failed_ = std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size() ||
            std::fflush(file_) != 0;
  if (failed_) error_ = errno != 0 ? errno : EIO;
  buffer_.clear();
  return !failed_;
}

void write_error_line(std::string_view message) {
  const std::string line = "zhavik-lookup: " + std::string(message) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace zhavik
