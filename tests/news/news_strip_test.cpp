// The news strip against a real HTTP server on the loopback: the once-per-run sequence of
// gg_Timer2, what decides whether the strip shows, and its two faces and link. The tests
// tick the timer themselves and say when the machine is on line.

#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <optional>

#include "core/cp936.h"
#include "news/news_request.h"
#include "news/news_strip.h"
#include "news/page_view.h"
#include "tests/news/test_http_server.h"

namespace {

using zhavik::news::NewsStrip;
using zhavik::news::PageView;

class FakeOnline : public zhavik::news::OnlineCheck {
 public:
  bool IsOnline(std::uint32_t& flags, QString& connection_name) override {
    ++calls;
    flags = 0;
    connection_name.clear();
    return online;
  }
  bool online = true;
  int calls = 0;
};

const QByteArray kMarqueePage =
    "<html><head><title>gg</title></head><body><marquee>最新娱乐资讯</marquee></body></html>";
const QByteArray kPlainPage = "<html><body><p>nothing scrolls here</p></body></html>";

// The window's client area with the strip in it, as the window builds it.
struct Window {
  Window(const TestHttpServer& server, const QString& folder, const QString& program = "zhavik") {
    client.resize(643, 583);
    strip = new NewsStrip(&client);
    // The test ticks; the real timer must not tick in between.
    timer()->setInterval(24 * 3600 * 1000);
    auto check = std::make_unique<FakeOnline>();
    online = check.get();
    strip->set_online_check(std::move(check));
    strip->set_source({server.host(), folder, folder + "/" + program});
  }
  template <class Widget = QWidget>
  Widget* part(const char* name) const {
    return client.findChild<Widget*>(QString::fromLatin1(name));
  }
  QTimer* timer() const { return part<QTimer>("gg_Timer2"); }
  PageView* view() const { return part<PageView>("gg_WebBrowser1"); }
  QLabel* link() const { return part<QLabel>("gg_Label1"); }
  bool shown(const char* name) const { return part(name)->isVisibleTo(&client); }

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
    ASSERT_EQ(strip->gg_Step(), 5);
    ASSERT_TRUE(load_ends());
    tick(7);
    ASSERT_EQ(strip->gg_Step(), 12);
  }

  QWidget client;
  NewsStrip* strip = nullptr;
  FakeOnline* online = nullptr;
};

class NewsSequence : public ::testing::Test {
 protected:
  void SetUp() override { server.page("*", kMarqueePage); }
  QString gg_jl() const { return folder.path() + "/gg.jl"; }

  TestHttpServer server;
  QTemporaryDir folder;
  Window window{server, folder.path()};
};

// What the request carries: the first line of gg.jl without blanks (written with today's
// date on the first run) and the program's name without blanks.
TEST(NewsRequest, CarriesGgJlsFirstLineAndTheProgramsName) {
  struct Case {
    const char* what;
    std::optional<QByteArray> gg_jl;  // none: the first run
    QString program;
    QByteArray target;  // none: the first run's date
  };
  for (const Case& c : {
           Case{"first run", std::nullopt, "zhavik", {}},
           Case{"later run", "2020/1/2\r\n2031/5/6\r\n", "zhavik", "id=zhavik&an=2020/1/2"},
           Case{"code page 936",
                "2020\xC4\xEA"
                "1\xD4\xC2",
                "zhavik", "id=zhavik&an=2020%E5%B9%B41%E6%9C%88"},
           Case{"empty", "", "zhavik", "id=zhavik&an=err"},
           Case{"blanks and tabs", "  2020 / 1\t/ 2  \r\n", "zhavik", "id=zhavik&an=2020/1%09/2"},
           Case{"blanks in the name", "2020/1/2", "Zha vik 3.exe", "id=Zhavik3&an=2020/1/2"},
       }) {
    TestHttpServer server;
    server.page("*", kMarqueePage);
    QTemporaryDir folder;
    const QString gg_jl = folder.path() + "/gg.jl";
    if (c.gg_jl) {
      QFile file(gg_jl);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(*c.gg_jl);
    }
    Window window(server, folder.path(), c.program);
    window.run_sequence();
    QFile file(gg_jl);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.what;
    QByteArray target = c.target;
    if (c.gg_jl) {
      EXPECT_EQ(file.readAll(), *c.gg_jl) << c.what;
    } else {
      const QString date = zhavik::news::short_date_text();
      EXPECT_EQ(file.readAll().toStdString(), zhavik::cp936_encode(date.toStdU16String()) + "\r\n");
      target = "id=zhavik&an=" +
               QUrl::toPercentEncoding(zhavik::news::remove_blanks(date), "!$'()*,;:@/?");
    }
    EXPECT_EQ(server.targets(), QList<QByteArray>{"/rjshengji/gg.htm?" + target}) << c.what;
  }
}

// The strip shows only when the loaded body holds "marquee" in any case; either way the
// timer stops at 12.
TEST(NewsCheck, TheBodysMarqueeDecidesAndTheTimerStops) {
  struct Case {
    QByteArray page;
    int status;
    bool shows;
  };
  for (const Case& c : {
           Case{kMarqueePage, 200, true}, Case{"<BODY><MARQUEE>x</MARQUEE></BODY>", 200, true},
           Case{"<body><p class=\"MarQuee-like\">x</p></body>", 200, true},
           Case{"<body>the word Marquee in plain text</body>", 200, true},
           Case{kPlainPage, 200, false},
           Case{"<html><head><title>marquee</title></head><body>plain</body></html>", 200, false},
           Case{kMarqueePage, 500, false}, Case{{}, 0, false},  // the server is down
       }) {
    TestHttpServer server;
    QTemporaryDir folder;
    Window window(server, folder.path());
    if (c.page.isEmpty()) {
      server.close();
    } else {
      server.page("*", c.page, c.status);
    }
    EXPECT_TRUE(window.timer()->isActive());
    window.run_sequence();
    EXPECT_EQ(window.shown("gg_Picture1"), c.shows) << c.page.toStdString();
    EXPECT_FALSE(window.timer()->isActive());
    if (c.shows) {
      EXPECT_TRUE(window.shown("gg_Picture2"));
    }
  }
}

TEST_F(NewsSequence, ExactlyOneRequestPerRunEvenWhenTheCheckFails) {
  server.page("*", kPlainPage);
  window.run_sequence();
  window.tick(50);
  QTest::qWait(50);
  EXPECT_EQ(server.targets().size(), 1);
  EXPECT_FALSE(window.shown("gg_Picture1"));
}

TEST_F(NewsSequence, ASlowServerKeepsTheSequenceWaitingAtTen) {
  server.hold("/rjshengji/gg.htm");
  window.tick(5);
  ASSERT_TRUE(QTest::qWaitFor([this] { return server.targets().size() == 1; }, 10'000));
  window.tick(24);
  EXPECT_EQ(window.strip->gg_Step(), 9);
  EXPECT_FALSE(window.shown("gg_Picture1"));
  server.release();
  ASSERT_TRUE(window.load_ends());
  window.tick(2);
  EXPECT_EQ(window.strip->gg_Step(), 11);
  EXPECT_FALSE(window.shown("gg_Picture1"));
  window.tick();
  EXPECT_TRUE(window.shown("gg_Picture1"));
  EXPECT_EQ(server.targets().size(), 1);
}

TEST_F(NewsSequence, OffLineTicksPauseTheSequenceAtEveryStep) {
  for (int step = 0; step < 12; ++step) {
    window.online->online = false;
    window.tick(3);
    EXPECT_EQ(window.strip->gg_Step(), step);
    window.online->online = true;
    window.tick();
    EXPECT_EQ(window.strip->gg_Step(), step + 1);
    if (step + 1 == 4) {
      // Nothing is asked or written before the fifth tick on line.
      QTest::qWait(50);
      EXPECT_TRUE(server.targets().isEmpty());
      EXPECT_FALSE(QFile::exists(gg_jl()));
    }
    if (step + 1 == 5) {
      EXPECT_TRUE(window.view()->busy());
      EXPECT_TRUE(QFile::exists(gg_jl()));
      ASSERT_TRUE(window.load_ends());
    }
  }
  EXPECT_TRUE(window.shown("gg_Picture1"));
  EXPECT_FALSE(window.timer()->isActive());
  EXPECT_EQ(server.targets().size(), 1);
}

TEST_F(NewsSequence, AMachineNeverOnLineNeverAsksAndNeverWrites) {
  window.online->online = false;
  window.tick(100);
  EXPECT_EQ(window.online->calls, 100);
  EXPECT_EQ(window.strip->gg_Step(), 0);
  QTest::qWait(50);
  EXPECT_TRUE(server.targets().isEmpty());
  EXPECT_FALSE(QFile::exists(gg_jl()));
  EXPECT_FALSE(window.shown("gg_Picture1"));
  EXPECT_TRUE(window.timer()->isActive());
  // Without any connectivity check the machine counts as off line.
  window.strip->set_online_check(nullptr);
  window.tick(10);
  EXPECT_EQ(window.strip->gg_Step(), 0);
}

TEST_F(NewsSequence, TheLayoutAtElevenFitsTheStrip) {
  window.tick(5);
  ASSERT_TRUE(window.load_ends());
  window.tick(5);
  EXPECT_EQ(window.strip->frameStyle(), QFrame::Panel | QFrame::Sunken);
  window.tick();
  EXPECT_EQ(window.strip->frameStyle(), int(QFrame::NoFrame));
  // The hide button's left edge and the link's width and left edge are rounded from twips
  // computed in single precision; the page view keeps its design place (-60, -60).
  EXPECT_EQ(window.strip->geometry(), QRect(4, 552, 633, 28));
  EXPECT_EQ(window.part("gg_Picture2")->geometry(), QRect(0, 0, 633, 28));
  EXPECT_EQ(window.part("gg_Picture3")->geometry(), QRect(611, 0, 22, 28));
  EXPECT_EQ(window.view()->geometry(), QRect(-4, -4, 713, 108));
  EXPECT_EQ(window.link()->geometry(), QRect(7, 4, 620, 20));
}

TEST_F(NewsSequence, TheRealTimerDrivesTheSameHandler) {
  window.timer()->setInterval(1);
  ASSERT_TRUE(QTest::qWaitFor([this] { return window.strip->gg_Step() >= 1; }, 5000));
  window.timer()->setInterval(24 * 3600 * 1000);
  EXPECT_GE(window.online->calls, 1);
}

// What anyone on the network path can answer instead of the news page: pages built to bring
// a browser's layout down, and answers whose head never ends. The window shows what it can,
// answers a click at once, and reads nothing more once the load has ended.
struct HostileAnswer {
  const char* name;
  QByteArray page;          // a page, or else an endless answer:
  QByteArray first, again;  // `first`, then `again` for ever
};

// Shown by name in the test list, not as its bytes.
void PrintTo(const HostileAnswer& answer, std::ostream* out) {
  *out << answer.name;
}

HostileAnswer hostile_page(const char* name, const QByteArray& page) {
  return {name, page, {}, {}};
}
HostileAnswer endless(const char* name, const QByteArray& first, const QByteArray& again) {
  return {name, {}, first, again};
}

class HostileNews : public NewsSequence, public ::testing::WithParamInterface<HostileAnswer> {};

TEST_P(HostileNews, TheWindowStaysUsableAndTheConnectionEnds) {
  const HostileAnswer& answer = GetParam();
  const bool page = !answer.page.isEmpty();
  if (page) {
    server.page("*", "<html><body>" + answer.page + "</body></html>");
  } else {
    server.endless("*", answer.first, answer.again);
  }
  window.client.show();
  window.run_sequence();
  ASSERT_EQ(window.shown("gg_Picture1"), page);
  if (page) {
    zhavik::news::MarqueeBand* band = window.view()->marquee();
    ASSERT_NE(band, nullptr);
    band->step();
    band->grab();
    // About a hundred characters are in view: a few pieces of text, never the whole.
    EXPECT_LE(band->pieces_drawn(), 40);
    QTest::mouseClick(window.part("gg_Picture3"), Qt::LeftButton);
    EXPECT_FALSE(window.shown("gg_Picture2"));
  } else {
    EXPECT_EQ(window.view()->body_markup(), "");
  }
  // The connection is closed: however long the server would go on, it sends little more.
  const qint64 sent = server.bytes_sent();
  QTest::qWait(200);
  EXPECT_LT(server.bytes_sent() - sent, 512 * 1024);
  EXPECT_LT(server.bytes_sent(), 4 * 1024 * 1024);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, HostileNews,
    ::testing::Values(
        hostile_page("TablesNested5000Deep",
                     QByteArray("<table><tr><td>").repeated(5000) + "<marquee>deep</marquee>"),
        hostile_page("CellsSpanning65535",
                     "<marquee><table><tr>" +
                         QByteArray("<td colspan=65535 rowspan=65535>a</td>").repeated(2000)),
        hostile_page("WordOf1MB", "<marquee>news</marquee>" + QByteArray(1'000'000, 'a')),
        hostile_page("Bold100000Deep",
                     "<marquee>news</marquee>" + QByteArray("<b>").repeated(100'000)),
        hostile_page("ListsNested50000Deep",
                     "<marquee>news</marquee>" + QByteArray("<ul><li>").repeated(50'000)),
        hostile_page("MarqueeOf1MB",
                     "<marquee>" + QByteArray("news item ").repeated(100'000) + "</marquee>"),
        endless("EndlessStatusLine", "HTTP/1.1 200 ", QByteArray(65536, 'O')),
        endless("EndlessHeaderLine", "HTTP/1.1 200 OK\r\nX-Long: ", QByteArray(65536, 'a')),
        endless("EndlessHeaderList", "HTTP/1.1 200 OK\r\n",
                QByteArray("X-A: b\r\n").repeated(8192)),
        endless("Endless100Continue", {},
                QByteArray("HTTP/1.1 100 Continue\r\n\r\n").repeated(2048))),
    [](const auto& info) { return std::string(info.param.name); });

// The strip as the sequence leaves it after a page with a marquee: laid out and shown, in
// the page face. No page is loaded; none is needed here.
class NewsPanel : public ::testing::Test {
 protected:
  void SetUp() override {
    server.close();
    window.tick(5);
    ASSERT_TRUE(window.load_ends());
    window.tick(6);
    ASSERT_EQ(window.strip->gg_Step(), 11);
    window.strip->show();
    window.client.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window.client));
  }
  void move_over(QWidget* widget, QPoint where) {
    QMouseEvent move(QEvent::MouseMove, where, widget->mapToGlobal(where), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
  }
  bool page_face() const { return window.shown("gg_Picture2"); }

  TestHttpServer server;
  QTemporaryDir folder;
  Window window{server, folder.path()};
};

const QString kCaption = QStringLiteral("点击显示最新娱乐资讯");
const QString kArrowed = QStringLiteral(">>>> 点击显示最新娱乐资讯 <<<<");

TEST_F(NewsPanel, TheHideButtonShowsTheLinkAndTheLinkThePage) {
  QWidget* hide = window.part("gg_Picture3");
  QTest::mouseClick(hide, Qt::RightButton, {}, QPoint(10, 10));
  EXPECT_TRUE(page_face());
  QTest::mouseClick(hide, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_FALSE(page_face());
  // The first time, the link shows its caption from the form description.
  EXPECT_EQ(window.link()->text(), kCaption);
  QTest::mouseClick(window.link(), Qt::LeftButton, {}, QPoint(20, 10));
  EXPECT_TRUE(page_face());
  // The strip stays shown throughout; the page is not reloaded.
  EXPECT_TRUE(window.shown("gg_Picture1"));
  EXPECT_FALSE(window.view()->busy());
}

TEST_F(NewsPanel, TheLinkIsCoveredWhileThePageIsShown) {
  const QPoint middle_of_link = window.link()->geometry().center();
  QWidget* on_top = window.strip->childAt(middle_of_link);
  ASSERT_NE(on_top, nullptr);
  EXPECT_NE(on_top, window.link());
  EXPECT_TRUE(window.part("gg_Picture2")->isAncestorOf(on_top));
  QTest::mouseClick(window.strip, Qt::LeftButton, {}, middle_of_link);
  EXPECT_TRUE(page_face());
  // The pointer over the page face reaches neither the link nor the strip's surface.
  move_over(window.part("gg_Picture2"), QPoint(300, 10));
  move_over(window.view(), QPoint(300, 10));
  EXPECT_EQ(window.link()->text(), kCaption);
}

TEST_F(NewsPanel, TheLinkCaptionFollowsThePointer) {
  window.strip->gg_Picture3_Click();
  move_over(window.link(), QPoint(100, 10));
  EXPECT_EQ(window.link()->text(), kArrowed);
  // Off the link onto the strip's margin: blank, yet the link still clicks.
  move_over(window.strip, QPoint(2, 2));
  EXPECT_EQ(window.link()->text(), QString());
  move_over(window.link(), QPoint(5, 5));
  EXPECT_EQ(window.link()->text(), kArrowed);
  move_over(window.strip, QPoint(630, 25));
  EXPECT_EQ(window.link()->text(), QString());
  QTest::mouseClick(window.link(), Qt::LeftButton, {}, QPoint(300, 10));
  EXPECT_TRUE(page_face());
}

}  // namespace
