// The page view against a real HTTP server on the loopback.

#include <gtest/gtest.h>
#include <QImage>
#include <QTest>
#include <QTextBrowser>

#include "news/page_view.h"
#include "tests/news/test_http_server.h"

namespace {

using zhavik::news::MarqueeBand;
using zhavik::news::PageView;

// Loads `path` and waits for the load to end.
void load(PageView& view, const TestHttpServer& server, const char* path) {
  view.navigate(server.host().toUtf8() + path);
  EXPECT_TRUE(view.busy());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !view.busy(); }, 10'000)) << path;
}

// Answers as servers frame them, whose body is the markup between the body tags, if any,
// in the charset the header or the page names (else UTF-8 if
// valid, else GBK); redirects; broken framings, and answers that never end or end far past
// the cap (headers count towards it). The body counts only when its answer was read whole
// within the cap, framed beyond doubt, and not cut by a reset, after a few redirects to http
// addresses at most, and the connection is closed as soon as the load ends.
TEST(PageView, ReadsTheBodyOnlyFromAWholeAnswerWithinTheCap) {
  const QByteArray x(64 * 1024, 'x');
  // What the server sends first, then again for as long as it is read, and how it ends.
  struct Case {
    QByteArray first, again;
    QString body;
    TestHttpServer::End end = TestHttpServer::End::kClose;
  };
  const Case cases[] = {
      {"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello and more", {}, "hello"},
      {"HTTP/1.1 200 OK\r\nContent-Length: 5\r\nContent-Encoding: identity\r\n"
       "Content-Length: 5, 5\r\n\r\nhello and more",
       {},
       "hello"},
      {"HTTP/1.0 200 OK\r\n\r\n<head><title>t</title></head>the body", {}, "the body"},
      {"HTTP/1.0 200 OK\r\n\r\n<BODY bgcolor='a>b'><p>one</p></BODY>", {}, "<p>one</p>"},
      {"HTTP/1.0 200 OK\r\n\r\n<bodyguard>x</bodyguard>", {}, "<bodyguard>x</bodyguard>"},
      {"HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=GBK\r\n\r\n\xC3\xA9", {}, "茅"},
      {"HTTP/1.0 200 OK\r\n\r\n<meta charset=gb2312><body>\xC3\xA9</body>", {}, "茅"},
      {"HTTP/1.0 200 OK\r\n\r\n\xE6\x96\xB0", {}, "新"},
      {"HTTP/1.0 200 OK\r\n\r\n\xD0\xC2", {}, "新"},
      {"HTTP/1.1 302 Found\r\nLocation: /elsewhere\r\n\r\n", {}, "arrived"},
      {"HTTP/1.1 302 Found\r\nLocation: /gg.htm\r\n\r\n", {}, ""},
      {"HTTP/1.1 302 Found\r\nLocation: file:///etc/passwd\r\n\r\n", {}, ""},
      {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
       "4;x=y\r\nnews\r\n3\r\n!!!\r\n0\r\nX: t\r\n\r\n",
       {},
       "news!!!"},
      {"HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\nContent-Length: 2\n\nok", {}, "ok"},
      {"HTTP/1.1 204 No Content\r\n\r\n", {}, ""},
      {"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nshort", {}, ""},
      {"HTTP/1.1 200 OK\r\nContent-Length: 5\r\nContent-Length: 14\r\n\r\nhello and more", {}, ""},
      {"HTTP/1.1 200 OK\r\nContent-Length: 5x\r\n\r\nhello", {}, ""},
      {"HTTP/1.1 200 OK\r\nTransfer-Encoding: notchunked\r\n\r\n4\r\nnews\r\n0\r\n\r\n", {}, ""},
      {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\nnews", {}, ""},
      {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n4\r\nnews\r\n", {}, ""},
      {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n4\r\nnewsX\r\n0\r\n\r\n", {}, ""},
      {"HTTP/1.0 200 OK\r\n\r\n<marquee>cut", {}, "", TestHttpServer::End::kReset},
      // A server that ignores "Accept-Encoding: identity".
      {"HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\nContent-Length: 36\r\n\r\n" +
           QByteArray::fromHex("1f8b0800000000000203b3c94d2c2a2c4d4db5cb4b2d2fb6d187f1009fe0613c"
                               "17000000"),
       {},
       ""},
      {"SSH-2.0-OpenSSH\r\n\r\n", {}, ""},
      {"HTTP/1.1 200 OK\r\nX: y", {}, ""},
      {"HTTP/1.1 200 OK\r\nContent-Length: 52428800\r\n\r\n<marquee>", x, ""},
      {"HTTP/1.1 200 OK\r\n\r\n<marquee>", x, ""},
      {"HTTP/1.1 200 ", QByteArray(65536, 'O'), ""},
      {"HTTP/1.1 200 OK\r\nX-Long: ", x, ""},
      {"HTTP/1.1 200 OK\r\n", QByteArray("X-A: b\r\n").repeated(8192), ""},
      {{}, QByteArray("HTTP/1.1 100 Continue\r\n\r\n").repeated(2048), ""},
  };
  for (const auto& [first, again, body, end] : cases) {
    SCOPED_TRACE((first + again.left(40)).toStdString());
    TestHttpServer server;
    server.answer("/gg.htm", first, again, end);
    server.page("*", "arrived");
    PageView view;
    load(view, server, "/gg.htm");
    EXPECT_EQ(view.body_markup(), body);
    EXPECT_LE(server.targets().size(), PageView::kMostRedirects + 1);
    EXPECT_EQ(view.marquee(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.open_connections == 0; }, 1000));
  }
}

// A page built to bring a browser down: nothing it names is fetched, its nesting never
// reaches a layout, and its long marquee draws only the pieces in view. The marquee comes in
// at the right edge, moves left by its step, and having left at the left comes in again.
TEST(PageView, AHostilePageScrollsItsMarqueeAndFetchesNothing) {
  TestHttpServer server;
  QByteArray page =
      "<html><head><link rel=stylesheet href='H/style.css'>"
      "<script src='H/run.js'></script></head>"
      "<body style=\"background: url(H/ground.png)\">"
      "<img src='H/picture.png'><iframe src='H/frame.htm'></iframe>"
      "<p style=\"background-image: url(H/p.png)\">text</p>" +
      QByteArray("<table><tr><td>").repeated(5000) +
      "<MARQUEE scrollamount=5><img src='H/m.png'>新闻 " + QByteArray("news item ").repeated(1000);
  server.page("/gg.htm", page.replace("H/", server.host().toUtf8() + "/"));
  PageView view;
  view.resize(400, 60);
  load(view, server, "/gg.htm");
  view.grab();  // draws everything once
  EXPECT_TRUE(view.still_page()->toPlainText().startsWith("text"));
  MarqueeBand* band = view.marquee();
  ASSERT_NE(band, nullptr);
  EXPECT_TRUE(band->running());
  EXPECT_EQ(band->offset(), band->width());
  band->step();
  EXPECT_EQ(band->offset(), band->width() - 5);
  for (int i = 0; i < 40; ++i)
    band->step();
  const QImage before = band->grab().toImage();
  EXPECT_LE(band->pieces_drawn(), 40);
  band->step();
  EXPECT_NE(before, band->grab().toImage());
  for (int i = 0; i < 100'000 && band->offset() <= band->width() - 5; ++i)
    band->step();
  EXPECT_GT(band->offset(), band->width() - 5);
  QTest::qWait(100);
  EXPECT_EQ(server.targets(), QList<QByteArray>{"/gg.htm"});
  // The body is asked for as it is, so that no compressed answer inflates past the cap.
  EXPECT_TRUE(server.heads.value(0).toLower().contains("\r\naccept-encoding: identity"));
  // Only http and https addresses are loaded: any other ends the load at once, as failed.
  for (const char* address : {"not an address", "file:///etc/passwd"}) {
    view.navigate(address);
    EXPECT_FALSE(view.busy()) << address;
    EXPECT_EQ(view.body_markup(), "") << address;
  }
}

}  // namespace
