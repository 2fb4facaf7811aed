// The news strip against a real HTTP server on the loopback. The tests tick gg_Timer2
// themselves and say when the machine is on line.

#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolTip>
#include <QUrl>
#include <tuple>

#include "news/news_request.h"
#include "news/news_strip.h"
#include "news/page_view.h"
#include "tests/news/test_http_server.h"

namespace {

using namespace zhavik::news;

struct SaidOnline : OnlineCheck {
  bool IsOnline(std::uint32_t&, QString&) override {
    ++calls;
    return online;
  }
  bool online = true;
  int calls = 0;
};

const QByteArray kMarqueePage =
    "<html><head><title>gg</title></head><body><marquee>最新娱乐资讯</marquee></body></html>";

// The window's client area with the strip in it, with a server and gg.jl's folder of its own.
struct Window {
  Window() {
    server.page("*", kMarqueePage);
    client.resize(643, 583);
    strip = new NewsStrip(&client);
    // The test ticks; the real timer must not tick in between.
    timer()->setInterval(24 * 3600 * 1000);
    strip->set_online_check(std::unique_ptr<SaidOnline>(online = new SaidOnline));
    strip->set_source({server.host(), folder.path(), folder.path() + "/Zha vik 3.exe"});
  }
  QWidget* part(const char* name) const { return client.findChild<QWidget*>(name); }
  QTimer* timer() const { return client.findChild<QTimer*>("gg_Timer2"); }
  PageView* view() const { return client.findChild<PageView*>("gg_WebBrowser1"); }
  bool shown(const char* name) const { return part(name)->isVisibleTo(&client); }
  QString gg_jl() const { return folder.path() + "/gg.jl"; }

  void tick(int times = 1) {
    for (int i = 0; i < times; ++i)
      strip->gg_Timer2_Timer();
  }
  bool load_ends() const {
    return QTest::qWaitFor([this] { return !view()->busy(); }, 10'000);
  }
  // The whole sequence: the request at 5, the wait for the load, the layout and the check.
  void run_sequence() {
    tick(5);
    ASSERT_TRUE(load_ends());
    tick(7);
  }

  TestHttpServer server;
  QTemporaryDir folder;
  QWidget client;
  NewsStrip* strip = nullptr;
  SaidOnline* online = nullptr;
};

// Each run asks once, with the first line of gg.jl and the program's name, both without
// blanks. The strip shows only when the loaded body holds "marquee" in any case; either way
// the timer stops at 12.
TEST(NewsCheck, OneRequestAndTheBodysMarqueeDecides) {
  const std::tuple<QByteArray, int, bool> cases[] = {
      {kMarqueePage, 200, true},
      {"<body>the word Marquee in plain text</body>", 200, true},
      {"<html><body><p>nothing scrolls here</p></body></html>", 200, false},
      {"<html><head><title>marquee</title></head><body>plain</body></html>", 200, false},
      {kMarqueePage, 500, false},
      {kMarqueePage, 0, false}};  // the server is down
  for (const auto& [page, status, shows] : cases) {
    SCOPED_TRACE(page.toStdString() + " " + std::to_string(status));
    Window window;
    QFile gg_jl(window.gg_jl());
    ASSERT_TRUE(gg_jl.open(QIODevice::WriteOnly) &&
                gg_jl.write("  2020 / 1\t/ 2  \r\n2031/5/6") > 0 && gg_jl.flush());
    window.server.page("*", page, status);
    if (status == 0) window.server.close();
    window.run_sequence();
    window.tick(50);
    QTest::qWait(50);
    EXPECT_EQ(window.shown("gg_Picture1"), shows);
    EXPECT_EQ(window.shown("gg_Picture2"), shows);
    EXPECT_FALSE(window.timer()->isActive());
    if (status != 0) {
      EXPECT_EQ(window.server.targets(),
                QList<QByteArray>{"/rjshengji/gg.htm?id=Zhavik3&an=2020/1%09/2"});
    }
  }
}

// One run: ticks off line (its real timer's too) or without a connectivity check count for
// nothing. The request goes at five; the sequence waits at ten while the page loads, here
// until the page view gives up. At eleven the strip is laid out, its edges rounded from
// twips in single precision, the page view at its design place; at twelve the timer stops.
TEST(NewsSequence, WalksItsStepsOnlyOnLineAndWaitsForTheLoad) {
  Window window;
  window.server.answer("*", "HTTP/1.1 200 OK\r\n", {}, TestHttpServer::End::kStayOpen);
  window.view()->set_time_limit_ms(500);
  window.online->online = false;
  window.timer()->setInterval(1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.online->calls >= 20; }, 5000));
  window.timer()->setInterval(24 * 3600 * 1000);
  for (int step = 0; step < 12; ++step) {
    window.online->online = false;
    window.tick(3);
    EXPECT_EQ(window.strip->gg_Step(), step);
    window.online->online = true;
    if (step == 4) {
      QTest::qWait(50);
      EXPECT_TRUE(window.server.targets().isEmpty());
      EXPECT_FALSE(QFile::exists(window.gg_jl()));
    }
    if (step == 9) {
      window.tick(3);
      EXPECT_EQ(window.strip->gg_Step(), 9);
      ASSERT_TRUE(window.load_ends());
      EXPECT_TRUE(QTest::qWaitFor([&] { return window.server.open_connections == 0; }, 1000));
    }
    window.tick();
    EXPECT_EQ(window.strip->gg_Step(), step + 1);
  }
  // The first run writes today's date, and sends it.
  EXPECT_EQ(gg_jl_an(window.gg_jl(), {}), short_date_text());
  EXPECT_TRUE(QUrl::fromPercentEncoding(window.server.targets().value(0))
                  .endsWith("?id=Zhavik3&an=" + remove_blanks(short_date_text())));
  EXPECT_EQ(window.strip->frameStyle(), int(QFrame::NoFrame));
  EXPECT_EQ(window.part("gg_Picture3")->geometry(), QRect(611, 0, 22, 28));
  EXPECT_EQ(window.view()->geometry(), QRect(-4, -4, 713, 108));
  EXPECT_EQ(window.part("gg_Label1")->geometry(), QRect(7, 4, 620, 20));
  window.strip->set_online_check(nullptr);
  window.tick();
  EXPECT_EQ(window.strip->gg_Step(), 12);
}

// The strip shown as the sequence leaves it: the page face covers the link; the hide button
// shows the link, whose caption follows the pointer, and the link brings the page face back.
TEST(NewsPanel, TheHideButtonAndTheLinkSwitchTheFaces) {
  Window window;
  window.server.close();
  window.run_sequence();
  window.strip->show();
  window.client.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window.client));
  QWidget* page_face = window.part("gg_Picture2");
  auto* link = window.client.findChild<QLabel*>("gg_Label1");
  ASSERT_TRUE(page_face->isAncestorOf(window.strip->childAt(link->geometry().center())));
  QTest::mouseMove(page_face, QPoint(300, 10));
  EXPECT_EQ(link->text(), QStringLiteral("点击显示最新娱乐资讯"));
  QWidget* hide = window.part("gg_Picture3");
  // Only the hide button has a tooltip; the page's text, in front of the page face, none.
  const auto tooltip = [](QWidget* widget) {
    QHelpEvent hover(QEvent::ToolTip, QPoint(5, 5), widget->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(widget, &hover);
    return QToolTip::text();
  };
  EXPECT_EQ(tooltip(window.view()->still_page()->viewport()), QString());
  EXPECT_EQ(tooltip(hide), QStringLiteral("隐藏"));
  QTest::mouseClick(hide, Qt::RightButton, {}, QPoint(10, 10));
  EXPECT_TRUE(page_face->isVisible());
  QTest::mouseClick(hide, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_FALSE(page_face->isVisible());
  QTest::mouseMove(link, QPoint(100, 10));
  EXPECT_EQ(link->text(), QStringLiteral(">>>> 点击显示最新娱乐资讯 <<<<"));
  // Off the link onto the strip's margin: blank, yet the link still clicks.
  QTest::mouseMove(window.strip, QPoint(2, 2));
  EXPECT_EQ(link->text(), QString());
  QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(300, 10));
  EXPECT_TRUE(page_face->isVisible());
}

}  // namespace
