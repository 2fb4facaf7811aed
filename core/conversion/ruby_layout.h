#pragma once

#include <string>
#include <string_view>

#include "core/conversion/conversion.h"
#include "core/conversion/ruby_html.h"

namespace zhavik {

// A conversion laid out as a page with the readings above the characters (ruby_html.h):
// each converted character in a ruby with its item, every other character (a marker's, the
// blank, and a syllable's empty item of the initials style) as text; each line a paragraph.
// The page's head is written at once, its end by end_page; the texts of several inputs may
// go between, each through a pipeline of its own.
class RubyPageLayout final : public ConversionLayout {
 public:
  // `crlf_only`: whether only CR LF ends a line, as in the window's text.
  RubyPageLayout(std::u16string_view title, bool crlf_only, std::string& out)
      : crlf_only_(crlf_only), out_(out) {
    writer_.begin(title, out_);
  }

  bool ends_lines_at_crlf_only() const override { return crlf_only_; }
  void add(const ConvertedCharacter& character) override {
    const bool ruby = character.converted && !character.item.empty();
    writer_.add({character.character, ruby ? character.item : std::u16string_view()}, out_);
    line_open_ = true;
  }
  void end_line(std::u16string_view) override {
    writer_.end_line(out_);
    line_open_ = false;
  }
  // A last line without a line end ends with its text.
  void finish() override {
    if (line_open_) end_line({});
  }
  void end_page() { writer_.end(out_); }

 private:
  RubyHtmlWriter writer_;
  bool crlf_only_;
  std::string& out_;
  bool line_open_ = false;
};

// The page of a whole text of the window (lines end with CR LF), each line a paragraph; a
// CR LF at the end of the text ends its last line and starts no new one.
std::string ruby_page(std::u16string_view title, CharacterConversion& conversion,
                      std::u16string_view text);

}  // namespace zhavik
