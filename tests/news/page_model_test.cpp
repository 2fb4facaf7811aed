// The reduction of a news page to what the strip shows, and the bounds no page gets past.

#include <gtest/gtest.h>
#include <array>
#include <tuple>

#include "news/page_model.h"

namespace {

using namespace zhavik::news;

// The rich text of `runs` without its paragraph.
std::u16string inner(const std::vector<TextRun>& runs) {
  const std::u16string markup = runs_markup(runs);
  return markup.substr(3, markup.size() - 7);
}

TEST(PageReduction, KeepsTheTextAndItsStylesOnly) {
  // The body, the still text, the marquee.
  const std::array<std::u16string_view, 3> reductions[] = {
      {u"plain  text\r\n here", u"plain text here", u""},
      {u"<p>one</p><p>two</p>three<br><br>four", u"one<br>two<br>three<br><br>four", u""},
      {u"<B>bold <i>both</I></b> <font color=red>red</font><font color='#0a0'>g</font>",
       u"<b>bold </b><b><i>both</i></b> <font color=\"#ff0000\">red</font>"
       u"<font color=\"#00aa00\">g</font>",
       u""},
      {u"a<script>x<b>y</b></script>b<STYLE>p{}</style>c<!-- d -->e<title>t</title>", u"abce", u""},
      {u"&lt;&amp;&gt;&#20013;&#x6587;&nbsp;&unknown; & &#128512;",
       u"&lt;&amp;&gt;中文\u00A0&amp;unknown; &amp; \U0001F600", u""},
      // Past Unicode or past eight digits, a reference is one character that cannot be shown.
      {u"&#00000065;&#x0010FFFF;&#x110000;&#000000065;&#99999999999;x",
       u"A\U0010FFFF\uFFFD\uFFFD\uFFFDx", u""},
      // Controls that would turn the text around or hide part of it show nothing.
      {u"evil\u202Eexe.txt&#x202e; in\u200Bvis&#8203;ible\u2066\uFEFF", u"evilexe.txt invisible",
       u""},
      {u"before<marquee a=1>新闻 <b>one</b><br>two</marquee>after"
       u"<marquee>second</marquee>end",
       u"beforeafterend", u"新闻 <b>one</b> two"},
      {u"<marquee><marquee>in</marquee>still in</marquee>out", u"out", u"instill in"},
      {u"<table><tr><td>a</td><td>b</td></tr></table>c<ul><li>d</ul>", u"a b<br>c<br>d", u""},
      {u"x < y <3 a<b", u"x &lt; y &lt;3 a", u""},
      {u"<p title='a>b'>q</p><a href=\"x>y\">link</a>", u"q<br>link", u""},
      {u"unfinished <script>never closed", u"unfinished", u""},
      {u"<table><tr><td><font color=#123456 size=7><b>&lt;table&gt;\"</b></font>"
       u"<img src=x><br>next<h1 style='font-size:900px'>big</h1>",
       u"<font color=\"#123456\"><b>&lt;table&gt;&quot;</b></font><br>next<br>big", u""},
  };
  for (const auto& [body, still, marquee] : reductions) {
    const PageModel model = reduce_page(body);
    EXPECT_EQ(inner(model.still), still) << testing::PrintToString(body);
    EXPECT_EQ(inner(model.marquee.runs), marquee);
  }
}

TEST(PageReduction, ReadsTheMarqueesAttributesWithinSaneRanges) {
  // The tag; rightwards, the scroll amount and delay, the background.
  const std::tuple<std::u16string_view, bool, int, int, std::optional<std::uint32_t>> cases[] = {
      {u"<MARQUEE Direction=RIGHT scrollAmount=3 scrolldelay=\"200\" bgcolor=#ffffcc>", true, 3,
       200, 0xFFFFCC},
      {u"<marquee scrollamount=0 scrolldelay=1 bgcolor=nonsense>", false, 1, 60, std::nullopt},
      {u"<marquee scrollamount=99999999 scrolldelay=99999999999 bgcolor=Navy>", false, 100, 10'000,
       0x000080},
      {u"<marquee scrollamount=-5 direction=up>", false, 6, 85, std::nullopt},
  };
  for (const auto& [tag, rightwards, amount, delay, background] : cases) {
    const PageMarquee marquee = reduce_page(std::u16string(tag) + u"x").marquee;
    EXPECT_TRUE(marquee.found);
    EXPECT_EQ(marquee.rightwards, rightwards);
    EXPECT_EQ(marquee.scroll_amount, amount);
    EXPECT_EQ(marquee.scroll_delay, delay);
    EXPECT_EQ(marquee.background, background);
  }
  EXPECT_FALSE(reduce_page(u"<p class=marquee>marquee</p>").marquee.found);
}

std::u16string repeated(std::u16string_view piece, std::size_t times) {
  std::u16string text;
  for (std::size_t i = 0; i < times; ++i)
    text += piece;
  return text;
}

// Pages far larger than the fuzzer's, built to bring a browser's layout down: whatever
// their size, nesting or number of elements, the model stays within its bounds.
TEST(PageReduction, HostilePagesStayWithinTheBounds) {
  const std::u16string bodies[] = {
      u"<marquee>x</marquee>" + repeated(u"a", 1'000'000),
      repeated(u"<b><font color=red><i>", 100'000) + u"<marquee>x",
      u"<marquee>x</marquee>" + repeated(u"<ul><li>", 50'000),
      u"<marquee>" + repeated(u"news item ", 100'000),
      repeated(u"<br>", 100'000),
      repeated(u"<b>a</b><i>b</i>", 50'000),
      u"<marquee bgcolor=\"" + repeated(u"#", 1'000'000) + u"\">x",
  };
  for (const std::u16string& body : bodies) {
    const PageModel model = reduce_page(body);
    EXPECT_LE(text_length(model.still), PageLimits::kMostStillText);
    EXPECT_LE(text_length(model.marquee.runs), PageLimits::kMostMarqueeText);
    EXPECT_LE(model.still.size(), PageLimits::kMostRuns);
    EXPECT_LE(model.marquee.runs.size(), PageLimits::kMostRuns);
    EXPECT_LE(runs_markup(model.still).size(), 64 * PageLimits::kMostStillText);
  }
}

}  // namespace
