#include "output.h"

#include "text.h"

namespace zhavik {

void Output::write(std::u16string_view text) {
  // Plain ASCII, most of a conversion's output, needs no conversion call.
  for (std::size_t i = 0; i < text.size();) {
    std::size_t ascii = i;
    while (ascii < text.size() && text[ascii] < 0x80)
      buffer_ += static_cast<char>(text[ascii++]);
    std::size_t other = ascii;
    while (other < text.size() && text[other] >= 0x80)
      ++other;
    // A surrogate pair never straddles the cut: both of its halves are at or above 0x80.
    buffer_ += utf16_to_utf8(text.substr(ascii, other - ascii));
    i = other;
  }
  if (buffer_.size() >= kFlushSize) flush();
}

bool Output::flush() {
  if (!buffer_.empty() && !failed_) {
    failed_ = std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size();
  }
  buffer_.clear();
  if (!failed_ && std::fflush(file_) != 0) failed_ = true;
  return !failed_;
}

}  // namespace zhavik
