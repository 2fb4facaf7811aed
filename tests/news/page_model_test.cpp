// The reduction of a news page to what the strip shows: which text goes where, in what
// style, and the bounds no page gets past.

#include <gtest/gtest.h>

#include "news/page_model.h"

namespace {

using namespace zhavik::news;

// The runs' text, each style change shown as "|" and bold, italic and colour as "b", "i"
// and the colour in hex before a ":".
std::u16string described(const std::vector<TextRun>& runs) {
  std::u16string out;
  for (const TextRun& run : runs) {
    if (!out.empty()) out += u'|';
    std::u16string style;
    if (run.style.bold) style += u'b';
    if (run.style.italic) style += u'i';
    if (run.style.colour) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "%06x", *run.style.colour);
      style.append(hex, hex + 6);
    }
    if (!style.empty()) out += style + u':';
    out += run.text;
  }
  return out;
}

struct Reduction {
  std::u16string_view body;
  std::u16string_view still;
  std::u16string_view marquee;
};

TEST(PageReduction, KeepsTheTextAndItsStylesOnly) {
  const Reduction reductions[] = {
      {u"plain  text\r\n here", u"plain text here", u""},
      {u"<p>one</p><p>two</p>three<br><br>four", u"one\ntwo\nthree\n\nfour", u""},
      {u"<B>bold <i>both</I></b> <font color=red>red</font><font color='#0a0'>g</font>",
       u"b:bold |bi:both| |ff0000:red|00aa00:g", u""},
      {u"a<script>x<b>y</b></script>b<STYLE>p{}</style>c<!-- d -->e<title>t</title>", u"abce", u""},
      {u"&lt;&amp;&gt;&#20013;&#x6587;&nbsp;&unknown; & &#128512;",
       u"<&>中文\u00A0&unknown; & \U0001F600", u""},
      {u"before<marquee a=1>新闻 <b>one</b><br>two</marquee>after"
       u"<marquee>second</marquee>end",
       u"beforeafterend", u"新闻 |b:one| two"},
      {u"<marquee><marquee>in</marquee>still in</marquee>out", u"out", u"instill in"},
      {u"<table><tr><td>a</td><td>b</td></tr></table>c<ul><li>d</ul>", u"a b\nc\nd", u""},
      {u"x < y <3 a<b", u"x < y <3 a", u""},
      {u"<p title='a>b'>q</p><a href=\"x>y\">link</a>", u"q\nlink", u""},
      {u"unfinished <script>never closed", u"unfinished", u""}};
  for (const Reduction& reduction : reductions) {
    const PageModel model = reduce_page(reduction.body);
    EXPECT_EQ(described(model.still), reduction.still) << testing::PrintToString(reduction.body);
    EXPECT_EQ(described(model.marquee.runs), reduction.marquee);
  }
}

TEST(PageReduction, ReadsTheMarqueesAttributesWithinSaneRanges) {
  struct Case {
    std::u16string_view tag;
    bool rightwards;
    int amount, delay;
    std::optional<std::uint32_t> background;
  };
  for (const Case& c : {
           Case{u"<marquee>", false, 6, 85, std::nullopt},
           Case{u"<MARQUEE Direction=RIGHT scrollAmount=3 scrolldelay=\"200\" bgcolor=#ffffcc>",
                true, 3, 200, 0xFFFFCC},
           Case{u"<marquee scrollamount=0 scrolldelay=1 bgcolor=nonsense>", false, 1, 60,
                std::nullopt},
           Case{u"<marquee scrollamount=99999999 scrolldelay=99999999999 bgcolor=Navy>", false, 100,
                10'000, 0x000080},
           Case{u"<marquee scrollamount=-5 direction=up>", false, 6, 85, std::nullopt},
       }) {
    const PageMarquee marquee = reduce_page(std::u16string(c.tag) + u"x").marquee;
    EXPECT_TRUE(marquee.found);
    EXPECT_EQ(marquee.rightwards, c.rightwards);
    EXPECT_EQ(marquee.scroll_amount, c.amount);
    EXPECT_EQ(marquee.scroll_delay, c.delay);
    EXPECT_EQ(marquee.background, c.background);
  }
  EXPECT_FALSE(reduce_page(u"<p class=marquee>marquee</p>").marquee.found);
}

// Pages built to bring a browser's layout down: whatever their size or nesting, the model
// stays within its bounds.
TEST(PageReduction, HostilePagesStayWithinTheBounds) {
  const auto repeated = [](std::u16string_view piece, std::size_t times) {
    std::u16string text;
    for (std::size_t i = 0; i < times; ++i)
      text += piece;
    return text;
  };
  for (const std::u16string& body : {
           repeated(u"<table><tr><td>", 5000) + u"<marquee>deep</marquee>",
           u"<marquee><table><tr>" + repeated(u"<td colspan=65535 rowspan=65535>a</td>", 2000),
           u"<marquee>x</marquee>" + repeated(u"a", 1'000'000),
           repeated(u"<b><font color=red><i>", 100'000) + u"<marquee>x",
           u"<marquee>" + repeated(u"news item ", 100'000),
           repeated(u"<br>", 100'000),
           repeated(u"<b>a</b><i>b</i>", 50'000),
           u"<marquee bgcolor=\"" + repeated(u"#", 1'000'000) + u"\">x",
       }) {
    const PageModel model = reduce_page(body);
    EXPECT_LE(text_length(model.still), PageLimits::kMostStillText);
    EXPECT_LE(text_length(model.marquee.runs), PageLimits::kMostMarqueeText);
    EXPECT_LE(model.still.size(), PageLimits::kMostRuns);
    EXPECT_LE(model.marquee.runs.size(), PageLimits::kMostRuns);
    EXPECT_LE(runs_markup(model.still).size(), 64 * PageLimits::kMostStillText);
  }
}

TEST(PageReduction, TheStillMarkupHoldsOnlyItsOwnElements) {
  const PageModel model = reduce_page(
      u"<table><tr><td><font color=#123456 size=7><b>&lt;table&gt;\"</b></font>"
      u"<img src=x><br>next<h1 style='font-size:900px'>big</h1>");
  EXPECT_EQ(runs_markup(model.still),
            u"<p><font color=\"#123456\"><b>&lt;table&gt;&quot;</b></font><br>next<br>big</p>");
}

}  // namespace
