// The page view against a real HTTP server on the loopback: what it loads, what it shows,
// what it refuses to fetch, and the bounds a hostile server meets.

#include <gtest/gtest.h>
#include <QImage>
#include <QTest>
#include <QTextBrowser>

#include "news/page_markup.h"
#include "news/page_view.h"
#include "tests/news/test_http_server.h"

namespace {

using zhavik::news::MarqueeBand;
using zhavik::news::PageView;

QByteArray address(const TestHttpServer& server, const char* path) {
  return server.host().toUtf8() + path;
}

// Waits for the load to end; false when it has not ended within `ms`.
bool loaded(const PageView& view, int ms = 10'000) {
  return QTest::qWaitFor([&] { return !view.busy(); }, ms);
}

TEST(PageMarkup, TheBodyIsTheMarkupBetweenItsTags) {
  using zhavik::news::body_inner_html;
  EXPECT_EQ(body_inner_html("<html><head><title>t</title></head><body bgcolor=\"a>b\">"
                            "<p>one</p></body></html>"),
            "<p>one</p>");
  EXPECT_EQ(body_inner_html("<HTML><BODY>X<MARQUEE>y</MARQUEE></BODY></HTML>"),
            "X<MARQUEE>y</MARQUEE>");
  EXPECT_EQ(body_inner_html("<html><head><title>t</title></head>just text</html>"), "just text");
  EXPECT_EQ(body_inner_html("no tags at all"), "no tags at all");
  EXPECT_EQ(body_inner_html("<bodyguard>x</bodyguard>"), "<bodyguard>x</bodyguard>");
}

TEST(PageMarkup, TheCharsetComesFromTheHeaderOrTheMetaTag) {
  using zhavik::news::decode_page;
  const QByteArray gbk = "<meta charset=gb2312><body>\xD0\xC2\xCE\xC5</body>";
  EXPECT_TRUE(decode_page(gbk, "text/html").contains(QStringLiteral("新闻")));
  EXPECT_TRUE(decode_page("\xD0\xC2\xCE\xC5", "text/html; charset=GBK") == QStringLiteral("新闻"));
  EXPECT_EQ(decode_page("\xE6\x96\xB0", "text/html; charset=utf-8"), QStringLiteral("新"));
  EXPECT_EQ(decode_page("\xE6\x96\xB0", "text/html"), QStringLiteral("新"));
  EXPECT_EQ(decode_page("\xD0\xC2", "text/html"), QStringLiteral("新"));
}

TEST(PageView, LoadsThePageAndGivesItsBodyMarkup) {
  TestHttpServer server;
  server.page("/gg.htm", "<html><body><p>Hello</p></body></html>");
  PageView view;
  EXPECT_FALSE(view.busy());
  view.navigate(address(server, "/gg.htm"));
  EXPECT_TRUE(view.busy());
  ASSERT_TRUE(loaded(view));
  EXPECT_EQ(view.body_markup(), "<p>Hello</p>");
  EXPECT_TRUE(view.still_page()->toPlainText().contains("Hello"));
  EXPECT_EQ(view.marquee(), nullptr);
  EXPECT_EQ(server.targets(), QList<QByteArray>{"/gg.htm"});
}

TEST(PageView, AsksForTheBodyAsItIsSoThatNothingInflatesPastTheCap) {
  TestHttpServer server;
  server.page("/gg.htm", "<body>x</body>");
  PageView view;
  view.navigate(address(server, "/gg.htm"));
  ASSERT_TRUE(loaded(view));
  ASSERT_EQ(server.heads().size(), 1);
  EXPECT_TRUE(server.heads().front().toLower().contains("\r\naccept-encoding: identity"))
      << server.heads().front().toStdString();
}

TEST(PageView, OnlyHttpAddressesAreLoaded) {
  PageView view;
  for (const char* address : {"not an address", "file:///etc/passwd"}) {
    view.navigate(address);
    EXPECT_FALSE(view.busy()) << address;
    EXPECT_EQ(view.body_markup(), "") << address;
  }
}

// Answers as servers frame them, and framings that are broken: the body counts only when
// its answer was read whole.
TEST(PageView, ReadsTheBodyWhateverItsFramingAndNothingFromABrokenAnswer) {
  struct Case {
    QByteArray answer;
    QString body;
  };
  for (const Case& c : {
           Case{"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello and more", "hello"},
           Case{"HTTP/1.0 200 OK\r\n\r\nuntil the end", "until the end"},
           Case{"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                "4;x=y\r\nnews\r\n3\r\n!!!\r\n0\r\nX-Trailer: t\r\n\r\n",
                "news!!!"},
           Case{"HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\nContent-Length: 2\n\nok", "ok"},
           Case{"HTTP/1.1 204 No Content\r\n\r\n", ""},
           Case{"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nshort", ""},
           Case{"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\nnews", ""},
           Case{"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n4\r\nnews\r\n", ""},
           Case{"SSH-2.0-OpenSSH\r\n\r\n", ""},
           Case{"HTTP/1.1 200 OK\r\nX: y", ""},
       }) {
    TestHttpServer server;
    server.endless("/gg.htm", c.answer, {});
    PageView view;
    view.navigate(address(server, "/gg.htm"));
    ASSERT_TRUE(loaded(view)) << c.answer.toStdString();
    EXPECT_EQ(view.body_markup(), c.body) << c.answer.toStdString();
  }
}

TEST(PageView, FollowsAFewRedirectsButNotALoop) {
  TestHttpServer server;
  server.redirect("/a", "/b");
  server.redirect("/b", "/c");
  server.page("/c", "<body>arrived</body>");
  server.redirect("/loop", "/loop");
  PageView view;
  view.navigate(address(server, "/a"));
  ASSERT_TRUE(loaded(view));
  EXPECT_EQ(view.body_markup(), "arrived");

  view.navigate(address(server, "/loop"));
  ASSERT_TRUE(loaded(view));
  EXPECT_EQ(view.body_markup(), "");
  EXPECT_LE(server.targets().count("/loop"), PageView::kMostRedirects + 1);
}

// 50 MB, announced or streamed: refused at once or cut off after about a megabyte; the
// rest never leaves the server.
TEST(PageView, AHugeBodyIsRefusedOrCutOffAtTheCap) {
  for (const bool announced : {true, false}) {
    TestHttpServer server;
    server.flood("/big", 50LL * 1024 * 1024, announced);
    PageView view;
    view.navigate(address(server, "/big"));
    ASSERT_TRUE(loaded(view));
    EXPECT_EQ(view.body_markup(), "") << announced;
    EXPECT_LT(server.bytes_sent(), 16LL * 1024 * 1024) << announced;
  }
}

TEST(PageView, ALoadThatNeverEndsFailsAtTheTimeLimit) {
  TestHttpServer server;
  server.stall("/slow");
  PageView view;
  view.set_time_limit_ms(300);
  view.navigate(address(server, "/slow"));
  EXPECT_TRUE(view.busy());
  ASSERT_TRUE(loaded(view, 5000));
  EXPECT_EQ(view.body_markup(), "");
}

TEST(PageView, FetchesNothingThePageNames) {
  TestHttpServer server;
  const QByteArray other = server.host().toUtf8();
  server.page("/gg.htm", "<html><head><link rel=stylesheet href='" + other +
                             "/style.css'><script src='" + other +
                             "/run.js'></script></head><body style=\"background: url(" + other +
                             "/ground.png)\"><img src='" + other +
                             "/picture.png'>"
                             "<p style=\"background-image: url(" +
                             other +
                             "/p.png)\">text</p>"
                             "<iframe src='" +
                             other +
                             "/frame.htm'></iframe>"
                             "<marquee><img src='" +
                             other + "/m.png'>news</marquee></body></html>");
  PageView view;
  view.resize(400, 100);
  view.navigate(address(server, "/gg.htm"));
  ASSERT_TRUE(loaded(view));
  view.grab();  // draws everything once
  QTest::qWait(100);
  EXPECT_EQ(server.targets(), QList<QByteArray>{"/gg.htm"});
}

TEST(PageView, AMarqueeScrollsItsTextAcrossTheView) {
  TestHttpServer server;
  server.page("/gg.htm", "<html><body><MARQUEE scrollamount=5>新闻 News</MARQUEE></body></html>",
              200, "text/html; charset=utf-8");
  PageView view;
  view.resize(400, 60);
  view.navigate(address(server, "/gg.htm"));
  ASSERT_TRUE(loaded(view));
  MarqueeBand* band = view.marquee();
  ASSERT_NE(band, nullptr);
  EXPECT_TRUE(band->running());
  EXPECT_GT(band->content_height(), 8);
  // It comes in at the right edge and moves left by its step.
  EXPECT_EQ(band->offset(), band->width());
  band->step();
  EXPECT_EQ(band->offset(), band->width() - 5);
  // Once in view, its text is drawn, and each step draws it elsewhere.
  for (int i = 0; i < 40; ++i)
    band->step();
  const QImage before = band->grab().toImage();
  band->step();
  const QImage after = band->grab().toImage();
  EXPECT_NE(before, after);
  bool inked = false;
  for (int x = 0; x < before.width() && !inked; ++x)
    for (int y = 0; y < before.height() && !inked; ++y)
      inked = QColor(before.pixel(x, y)).lightness() < 128;
  EXPECT_TRUE(inked);
  // Having left at the left edge, it comes in again at the right.
  for (int i = 0; i < 1000 && band->offset() <= band->width() - 5; ++i)
    band->step();
  EXPECT_GT(band->offset(), band->width() - 5);
}

}  // namespace
