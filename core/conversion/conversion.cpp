#include "core/conversion/conversion.h"

namespace zhavik {

void ConversionPipeline::feed(std::u16string_view text) {
  const bool crlf_only = layout_.ends_lines_at_crlf_only();
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t feed = text.find(u'\n', start);
    if (feed == std::u16string_view::npos) {
      pending_.append(text.substr(start));
      break;
    }
    const bool after_cr =
        feed > start ? text[feed - 1] == u'\r' : !pending_.empty() && pending_.back() == u'\r';
    if (crlf_only && !after_cr) {
      pending_.append(text.substr(start, feed + 1 - start));  // an LF of the line
      start = feed + 1;
      continue;
    }
    std::u16string_view line = text.substr(start, feed - start);
    if (!pending_.empty()) {
      pending_.append(line);
      line = pending_;
    }
    if (after_cr) line.remove_suffix(1);
    conversion_.convert(line, layout_);
    layout_.end_line(after_cr ? u"\r\n" : u"\n");
    pending_.clear();
    start = feed + 1;
  }
  if (pending_.size() > longest_piece_) {
    // Keep back what could still join the next text: a CR before an LF, the first half of a
    // surrogate pair.
    const char16_t last = pending_.back();
    const std::size_t cut = pending_.size() - (last == u'\r' || is_high_surrogate(last) ? 1 : 0);
    conversion_.convert(std::u16string_view(pending_).substr(0, cut), layout_);
    pending_.erase(0, cut);
  }
}

void ConversionPipeline::finish() {
  if (!pending_.empty()) conversion_.convert(pending_, layout_);
  pending_.clear();
  layout_.finish();
}

void TextLayoutWriter::add(const ConvertedCharacter& character) {
  switch (layout_) {
    case TextLayout::window:
      if (character.character == u" ") return;
      out_ += character.item;
      out_ += u' ';
      return;
    case TextLayout::command_line:
      if (character.character == u" ") return;
      if (last_ == Last::item) out_ += u' ';
      out_ += character.item;
      last_ = Last::item;
      return;
    case TextLayout::keep:
      break;
  }
  // A character of two bytes in code page 936 is an item of its own, written as it stands
  // where the dictionary lacks it (a full-width mark); every other character is text.
  const char16_t unit = character.character[0];
  const bool space = unit == u' ' || unit == u'\t' || unit == u'\u3000';
  const bool item = !space && character.item != kNotConverted;
  if (!space && (last_ == Last::item || (item && last_ == Last::text))) out_ += u' ';
  out_ += character.converted ? character.item : character.character;
  last_ = space ? Last::space : item ? Last::item : Last::text;
}

void TextLayoutWriter::end_line(std::u16string_view line_end) {
  out_ += line_end;
  has_line_end_ = true;
  last_ = Last::nothing;
}

void TextLayoutWriter::finish() {
  last_ = Last::nothing;
  if (layout_ != TextLayout::window) return;
  out_ += u"\r\n";
  if (!has_line_end_) out_ += u"\r\n";
}

std::u16string convert_whole_text(CharacterConversion& conversion, std::u16string_view text,
                                  TextLayout layout) {
  std::u16string out;
  out.reserve(text.size() * 4 + 4);
  TextLayoutWriter writer(layout, out);
  ConversionPipeline pipeline(conversion, writer, ConversionPipeline::kWholeLines);
  pipeline.feed(text);
  pipeline.finish();
  return out;
}

}  // namespace zhavik
