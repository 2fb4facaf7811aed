// Ruby pages read back by a real HTML parser (Python's html.parser, through
// tests/core/html_outline.py): the page's structure, and hostile text that stays text.

#include <gtest/gtest.h>

#include <vector>

#include "core/conversion/ruby_html.h"
#include "core/conversion/ruby_layout.h"
#include "core/dictionary/first_words.h"
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

// The page of a text through the conversion of every text, on the committed dictionaries:
// readings where a character has one, markers' characters and everything else as text.
TEST(RubyHtml, APageOfAConvertedText) {
  const DictionaryTexts texts = load_dictionary_texts(ZHAVIK_SOURCE_DIR);
  FirstWords words(texts, Kind::pinyin);
  CharacterByCharacter conversion(
      [&](char16_t unit, std::uint16_t code) { return words.of(unit, code); });
  std::string page;
  RubyPageLayout layout(u"课文", false, page);
  ConversionPipeline pipeline(conversion, layout);
  pipeline.feed(u"你好，a<b>\r\n\n中 国");
  pipeline.finish();
  layout.end_page();
  EXPECT_EQ(outline_of(page), std::string(kHead) +
                                  "title: 课文\n"
                                  "p: [你|nǐ][好|hǎo]，a<b>\n"
                                  "p: <br>\n"
                                  "p: [中|zhōng] [国|guó]\n");
}

}  // namespace
}  // namespace zhavik
