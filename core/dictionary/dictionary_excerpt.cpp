#include "core/dictionary/dictionary_excerpt.h"

#include <map>

namespace zhavik {

std::string dictionary_excerpt(std::string_view file_bytes,
                               const std::vector<std::uint16_t>& codes) {
  constexpr std::string_view kLineEnd = "\r\n";
  constexpr auto npos = std::string_view::npos;
  std::map<std::size_t, std::size_t> lines;  // start -> end, CR LF included
  for (const std::uint16_t code : codes) {
    const char needle[] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    const std::string_view bytes(needle, 2);
    // Each line is taken once, and the search goes on after it: a file without line ends
    // is one line however often the character stands in it.
    for (std::size_t hit = file_bytes.find(bytes); hit != npos;) {
      // Neither byte of a two-byte code is CR or LF, so the hit lies inside one line.
      const std::size_t before = file_bytes.rfind(kLineEnd, hit);
      const std::size_t start = before == npos ? 0 : before + kLineEnd.size();
      const std::size_t found_end = file_bytes.find(kLineEnd, hit);
      const std::size_t end = found_end == npos ? file_bytes.size() : found_end + kLineEnd.size();
      lines.emplace(start, end);
      hit = file_bytes.find(bytes, end);
    }
  }
  std::string excerpt;
  for (const auto& [start, end] : lines)
    excerpt += file_bytes.substr(start, end - start);
  return excerpt;
}

}  // namespace zhavik
