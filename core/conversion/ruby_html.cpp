#include "core/conversion/ruby_html.h"

#include "core/text/text.h"

namespace zhavik {
namespace {

// Large characters in a textbook face where there is one, the readings in a Latin face whose
// tone marks sit well (a CJK font's Latin letters are often cramped), and room between the
// lines for the readings. No line breaks inside a ruby, so a reading never leaves its
// character. Printed, the page uses the paper's width, and the readings are black.
constexpr std::string_view kStyleSheet = R"(
html { background: #fff; color: #1a1a1a; }
body {
  margin: 2.5rem auto; padding: 0 1.5rem; max-width: 46rem;
  font-family: "Noto Serif", "Times New Roman", "Liberation Serif", "DejaVu Serif",
    "KaiTi", "STKaiti", "AR PL UKai CN", "Kaiti SC", "Noto Serif CJK SC", "Source Han Serif SC",
    "Songti SC", "SimSun", "AR PL UMing CN", serif;
  font-size: 2rem; line-height: 2.1;
}
p { margin: 0 0 0.4em; white-space: pre-wrap; overflow-wrap: anywhere; }
ruby { white-space: nowrap; margin: 0 0.1em; ruby-position: over; ruby-align: center; }
rt {
  font-family: "Noto Sans", "Segoe UI", "Helvetica Neue", Arial, "DejaVu Sans",
    "Microsoft JhengHei", "PingFang TC", "Noto Sans CJK TC", "AR PL UMing TW", sans-serif;
  font-size: 0.5em; line-height: 1.2; color: #444;
}
@media print {
  @page { margin: 16mm 14mm; }
  html { background: none; }
  body { margin: 0; padding: 0; max-width: none; font-size: 20pt; color: #000; }
  rt { font-size: 10pt; color: #000; }
  p { orphans: 2; widows: 2; }
}
)";

// The C0 controls but the tab, DEL and the C1 controls.
bool is_left_out(char16_t unit) {
  return (unit < 0x20 && unit != u'\t') || (unit >= 0x7F && unit <= 0x9F);
}

std::string_view reference_for(char16_t unit) {
  switch (unit) {
    case u'<':
      return "&lt;";
    case u'>':
      return "&gt;";
    case u'&':
      return "&amp;";
    case u'"':
      return "&quot;";
    case u'\'':
      return "&#39;";
    default:
      return {};
  }
}

// Text as HTML text: the runs between the characters that need care go out as they are.
void append_escaped(std::string& out, std::u16string_view text) {
  std::size_t run = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::string_view reference = reference_for(text[i]);
    if (reference.empty() && !is_left_out(text[i])) continue;
    append_utf8(out, text.substr(run, i - run));
    out += reference;
    run = i + 1;
  }
  append_utf8(out, text.substr(run));
}

}  // namespace

void RubyHtmlWriter::begin(std::u16string_view title, std::string& out) {
  out += "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n";
  out += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
  append_escaped(out, title);
  out += "</title>\n<style>";
  out += kStyleSheet;
  out += "</style>\n</head>\n<body>\n";
}

void RubyHtmlWriter::add(RubyPiece piece, std::string& out) {
  if (!line_open_) out += "<p>";
  line_open_ = true;
  const std::size_t size_before = out.size();
  if (piece.reading.empty()) {
    append_escaped(out, piece.text);
  } else {
    out += "<ruby>";
    append_escaped(out, piece.text);
    out += "<rt>";
    append_escaped(out, piece.reading);
    out += "</rt></ruby>";
  }
  line_shows_something_ = line_shows_something_ || out.size() != size_before;
}

void RubyHtmlWriter::end_line(std::string& out) {
  if (!line_open_) out += "<p>";
  // An empty paragraph would have no height at all; the break gives it one line.
  if (!line_shows_something_) out += "<br>";
  out += "</p>\n";
  line_open_ = false;
  line_shows_something_ = false;
}

void RubyHtmlWriter::end(std::string& out) {
  if (line_open_) end_line(out);
  out += "</body>\n</html>\n";
}

}  // namespace zhavik
