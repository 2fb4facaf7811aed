#include "core/line_conversion.h"

#include "core/cp936.h"
#include "core/text.h"

namespace zhavik {

void convert_characters(std::u16string_view line, FirstWords& words, std::u16string& out) {
  bool first = true;
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t length = character_length(line, i);
    const char32_t code_point = code_point_at(line, i);
    const char16_t unit = line[i];
    i += length;
    if (code_point == U' ') continue;
    if (!first) out += u' ';
    first = false;
    const std::uint16_t code = cp936_double_byte(code_point);
    if (code == 0) {
      out += u"###";
    } else {
      out += words.of(unit, code);
    }
  }
}

void LineConverter::convert_piece(std::u16string_view piece, std::u16string& out) {
  // The blank between pieces of one line goes in first and out again when the piece has no
  // items: the conversion then writes straight into `out`.
  const std::size_t before = out.size();
  if (line_has_items_) out += u' ';
  const std::size_t items = out.size();
  conversion_(piece, out);
  if (out.size() == items) {
    out.resize(before);
  } else {
    line_has_items_ = true;
  }
}

void LineConverter::feed(std::u16string_view text, std::u16string& out) {
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t feed = text.find(u'\n', start);
    if (feed == std::u16string_view::npos) {
      pending_.append(text.substr(start));
      if (pending_.size() > kLongestPiece) {
        // Keep back what could still join the next text: a CR before an LF, the first half
        // of a surrogate pair.
        const char16_t last = pending_.back();
        const std::size_t cut =
            pending_.size() - (last == u'\r' || is_high_surrogate(last) ? 1 : 0);
        convert_piece(std::u16string_view(pending_).substr(0, cut), out);
        pending_.erase(0, cut);
      }
      return;
    }
    std::u16string_view line = text.substr(start, feed - start);
    if (!pending_.empty()) {
      pending_.append(line);
      line = pending_;
    }
    const bool crlf = !line.empty() && line.back() == u'\r';
    if (crlf) line.remove_suffix(1);
    convert_piece(line, out);
    out += crlf ? u"\r\n" : u"\n";
    pending_.clear();
    line_has_items_ = false;
    start = feed + 1;
  }
}

void LineConverter::finish(std::u16string& out) {
  if (!pending_.empty()) convert_piece(pending_, out);
  pending_.clear();
  line_has_items_ = false;
}

}  // namespace zhavik
