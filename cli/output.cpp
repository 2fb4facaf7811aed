#include "cli/output.h"

#include "core/utf8_append.h"

#ifdef _WIN32
#include "cli/console.h"
#endif

namespace zhavik {

void Output::write(std::u16string_view text) {
  append_utf8(buffer_, text);
  if (buffer_.size() >= kFlushSize) flush();
}

bool Output::flush() {
  if (!buffer_.empty() && !failed_) {
#ifdef _WIN32
    if (const std::optional<bool> written = write_to_console(file_, buffer_)) {
      failed_ = !*written;
      buffer_.clear();
      return !failed_;
    }
#endif
    failed_ = std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size();
  }
  buffer_.clear();
  if (!failed_ && std::fflush(file_) != 0) failed_ = true;
  return !failed_;
}

}  // namespace zhavik
