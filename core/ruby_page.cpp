#include "core/ruby_page.h"

#include <algorithm>

#include "core/answer.h"
#include "core/text.h"

namespace zhavik {
namespace {

constexpr std::u16string_view kLineEnd = u"\r\n";

bool is_reading(std::u16string_view item) {
  return !item.empty() && item != u"###" && item != kMissing;
}

}  // namespace

void add_with_readings(RubyHtmlWriter& writer, std::u16string_view text, std::u16string_view items,
                       std::string& out) {
  std::size_t next_item = 0;
  std::size_t plain = 0;  // where the text not yet added begins
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = character_length(text, i);
    if (text[i] != u' ' && next_item < items.size()) {
      const std::size_t item_end = std::min(items.find(u' ', next_item), items.size());
      const std::u16string_view item = items.substr(next_item, item_end - next_item);
      next_item = item_end + 1;
      if (is_reading(item)) {
        if (i > plain) writer.add({text.substr(plain, i - plain), {}}, out);
        writer.add({text.substr(i, length), item}, out);
        plain = i + length;
      }
    }
    i += length;
  }
  if (plain < text.size()) writer.add({text.substr(plain), {}}, out);
}

std::string ruby_page(std::u16string_view title, std::u16string_view text,
                      std::u16string_view converted) {
  RubyHtmlWriter writer;
  std::string page;
  writer.begin(title, page);
  std::size_t items = 0;
  for (std::size_t line = 0; line < text.size();) {
    const std::size_t line_end = std::min(text.find(kLineEnd, line), text.size());
    const std::size_t items_end = std::min(converted.find(kLineEnd, items), converted.size());
    add_with_readings(writer, text.substr(line, line_end - line),
                      converted.substr(items, items_end - items), page);
    writer.end_line(page);
    line = line_end + kLineEnd.size();
    items = std::min(items_end + kLineEnd.size(), converted.size());
  }
  writer.end(page);
  return page;
}

}  // namespace zhavik
