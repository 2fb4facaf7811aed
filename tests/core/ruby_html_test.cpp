// Ruby pages read back by a real HTML parser (Python's html.parser, through
// tests/core/html_outline.py): the page's structure, hostile text that stays text, and the
// page of a text with the readings of its conversion.

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "core/ruby_html.h"
#include "core/ruby_page.h"
#include "tests/core/html_outline.h"

namespace zhavik {
namespace {

using Line = std::vector<RubyPiece>;

// A page of the lines, each closed by end_line but the last, which end closes.
std::string page_of(std::u16string_view title, const std::vector<Line>& lines) {
  RubyHtmlWriter writer;
  std::string page;
  writer.begin(title, page);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    for (const RubyPiece& piece : lines[i])
      writer.add(piece, page);
    if (i + 1 < lines.size()) writer.end_line(page);
  }
  writer.end(page);
  return page;
}

constexpr std::string_view kHead = "doctype: html\nlang: zh-CN\ncharset: utf-8\n";

TEST(RubyHtml, EachLineAParagraphEachReadingAbove) {
  EXPECT_EQ(outline_of(page_of(u"静夜思", {{{u"床", u"chuáng"},
                                            {u"前", u"qián"},
                                            {u"，", u""},
                                            {u"月", u"yuè"},
                                            {u"  Hello 2026", u""}},
                                           {},
                                           {{u"光", u"guāng"}}})),
            std::string(kHead) +
                "title: 静夜思\n"
                "p: [床|chuáng][前|qián]，[月|yuè]  Hello 2026\n"
                "p: <br>\n"
                "p: [光|guāng]\n");
  EXPECT_EQ(outline_of(page_of(u"空", {})), std::string(kHead) + "title: 空\n");
}

TEST(RubyHtml, TextNeverBecomesMarkup) {
  // Controls but the tab are left out, lone surrogates become U+FFFD, and a line that shows
  // nothing keeps its height.
  const std::u16string controls =
      u"a\x01"
      u"b\x1B\x7F\x85\x9F"
      u"c\td\r\n";
  const std::u16string surrogates =
      u"\xD800x\xDC00"
      u"😀";
  const std::vector<Line> lines = {
      {{u"<script>alert('x')</script>&amp;", u""}, {u"<i>", u"a&b</rt><b>"}, {u"\"", u"'"}},
      {{controls, u""}, {u"字", controls}},
      {{surrogates, u""}},
      {{u"\x01\x02", u""}, {u"", u""}}};
  EXPECT_EQ(outline_of(page_of(u"<b>\"课文\" & 'x'</title>", lines)),
            std::string(kHead) +
                "title: <b>\"课文\" & 'x'</title>\n"
                "p: <script>alert('x')</script>&amp;[<i>|a&b</rt><b>][\"|']\n"
                "p: abc\td[字|abc\td]\n"
                "p: \xEF\xBF\xBDx\xEF\xBF\xBD😀\n"
                "p: <br>\n");
}

// Each character stands with its item from the conversion: readings above, markers and
// blanks as the text has them; the lines of both are matched one by one, and a text's last
// CR LF starts no paragraph.
TEST(RubyHtml, APageReadsItsTextAsItsConversionDoes) {
  const std::tuple<std::u16string, std::u16string, std::string> cases[] = {
      {u"你 好，ok😀界\r\n\r\n行走\r\n", u"nǐ hǎo 暂缺 ### ### ### 暂缺 \r\n\r\nxíng \r\n\r\n",
       "p: [你|nǐ] [好|hǎo]，ok😀界\np: <br>\np: [行|xíng]走\n"},
      {u"长大", u"zhǎng dà \r\n\r\n", "p: [长|zhǎng][大|dà]\n"},
      {u"", u"\r\n\r\n", ""}};
  for (const auto& [text, converted, paragraphs] : cases) {
    EXPECT_EQ(outline_of(ruby_page(u"课文", text, converted)),
              std::string(kHead) + "title: 课文\n" + paragraphs);
  }
}

}  // namespace
}  // namespace zhavik
