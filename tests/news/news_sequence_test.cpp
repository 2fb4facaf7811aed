// The news sequence of gg_Timer2 against a real HTTP server on the loopback. The tests tick
// the timer themselves and say when the machine is on line.

#include <gtest/gtest.h>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "cp936.h"
#include "form1.h"
#include "news_request.h"
#include "page_view.h"
#include "test_http_server.h"

namespace {

using zhavik::Form1;

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

class NewsSequence : public ::testing::Test {
 protected:
  void SetUp() override {
    // The test ticks; the real timer must not tick in between.
    form.news.gg_Timer2->setInterval(24 * 3600 * 1000);
    auto check = std::make_unique<FakeOnline>();
    online = check.get();
    form.online_check = std::move(check);
    form.news_source = {server.host(), folder.path(), folder.path() + "/zhavik"};
    server.page("*", kMarqueePage);
  }

  void tick(int times = 1) {
    for (int i = 0; i < times; ++i)
      form.gg_Timer2_Timer();
  }
  bool load_ends() {
    return QTest::qWaitFor([this] { return !form.news.gg_WebBrowser1->busy(); }, 10'000);
  }
  // The whole sequence: the request at 5, the wait for the load, the layout and the check.
  void run_sequence() {
    tick(5);
    ASSERT_EQ(form.gg_Step, 5);
    ASSERT_TRUE(load_ends());
    tick(7);
    ASSERT_EQ(form.gg_Step, 12);
  }
  QString gg_jl() const { return folder.path() + "/gg.jl"; }
  void write_gg_jl(const QByteArray& bytes) {
    QFile file(gg_jl());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QByteArray an_sent() const {
    if (server.targets().size() != 1)
      return "<" + QByteArray::number(server.targets().size()) + " requests>";
    const QByteArray target = server.targets().front();
    return target.mid(target.indexOf("&an=") + 4);
  }
  bool strip_shown() const { return form.news.gg_Picture1->isVisibleTo(&form); }

  Form1 form;
  TestHttpServer server;
  QTemporaryDir folder;
  FakeOnline* online = nullptr;
};

TEST_F(NewsSequence, FirstRunCreatesGgJlAndSendsTheDate) {
  run_sequence();
  const QString date = zhavik::news::short_date_text();
  QFile file(gg_jl());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll().toStdString(), zhavik::cp936_encode(date.toStdU16String()) + "\r\n");
  ASSERT_EQ(server.targets().size(), 1);
  EXPECT_EQ(server.targets().front(),
            "/rjshengji/gg.htm?id=zhavik&an=" +
                QUrl::toPercentEncoding(zhavik::news::remove_blanks(date), "!$'()*,;:@/?"));
}

TEST_F(NewsSequence, LaterRunsSendTheFirstLineOfGgJl) {
  write_gg_jl("2020/1/2\r\n2031/5/6\r\n");
  run_sequence();
  EXPECT_EQ(server.targets(), QList<QByteArray>{"/rjshengji/gg.htm?id=zhavik&an=2020/1/2"});
}

TEST_F(NewsSequence, ChineseTextInGgJlIsSentPercentEncoded) {
  write_gg_jl(
      "2020\xC4\xEA"
      "1\xD4\xC2");  // 2020年1月 in code page 936
  run_sequence();
  EXPECT_EQ(an_sent(), "2020%E5%B9%B41%E6%9C%88");
}

TEST_F(NewsSequence, AnEmptyGgJlSendsErrAndStaysEmpty) {
  write_gg_jl("");
  run_sequence();
  EXPECT_EQ(an_sent(), "err");
  EXPECT_EQ(QFileInfo(gg_jl()).size(), 0);
}

TEST_F(NewsSequence, BlanksAreRemovedAndTabsKept) {
  write_gg_jl("  2020 / 1\t/ 2  \r\n");
  run_sequence();
  EXPECT_EQ(an_sent(), "2020/1%09/2");
}

TEST_F(NewsSequence, TheProgramNameWithoutBlanksIsTheId) {
  form.news_source.program_path = folder.path() + "/Zha vik 3.exe";
  write_gg_jl("2020/1/2");
  run_sequence();
  EXPECT_EQ(server.targets(), QList<QByteArray>{"/rjshengji/gg.htm?id=Zhavik3&an=2020/1/2"});
}

TEST_F(NewsSequence, NothingHappensBeforeTheFifthOnLineTick) {
  tick(4);
  EXPECT_EQ(form.gg_Step, 4);
  QTest::qWait(50);
  EXPECT_TRUE(server.targets().isEmpty());
  EXPECT_FALSE(QFile::exists(gg_jl()));
  EXPECT_FALSE(form.news.gg_WebBrowser1->busy());
  tick();
  EXPECT_TRUE(form.news.gg_WebBrowser1->busy());
  EXPECT_TRUE(QFile::exists(gg_jl()));
}

TEST_F(NewsSequence, AMarqueePageShowsTheStripWithThePageFace) {
  EXPECT_TRUE(form.news.gg_Timer2->isActive());
  run_sequence();
  EXPECT_TRUE(strip_shown());
  EXPECT_TRUE(form.news.gg_Picture2->isVisibleTo(&form));
  EXPECT_NE(form.news.gg_WebBrowser1->marquee(), nullptr);
  EXPECT_FALSE(form.news.gg_Timer2->isActive());
}

TEST_F(NewsSequence, MarqueeCountsInAnyCaseAndAnywhereInTheBody) {
  for (const QByteArray& page : {QByteArray("<BODY><MARQUEE>x</MARQUEE></BODY>"),
                                 QByteArray("<body><p class=\"MarQuee-like\">x</p></body>"),
                                 QByteArray("<body>the word Marquee in plain text</body>")}) {
    Form1 other;
    other.news.gg_Timer2->setInterval(24 * 3600 * 1000);
    other.online_check = std::make_unique<FakeOnline>();
    other.news_source = {server.host(), folder.path(), "zhavik"};
    server.page("*", page);
    for (int i = 0; i < 5; ++i)
      other.gg_Timer2_Timer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !other.news.gg_WebBrowser1->busy(); }, 10'000));
    for (int i = 0; i < 7; ++i)
      other.gg_Timer2_Timer();
    EXPECT_TRUE(other.news.gg_Picture1->isVisibleTo(&other)) << page.toStdString();
  }
}

TEST_F(NewsSequence, APageWithoutMarqueeLeavesTheStripHiddenAndStopsTheTimer) {
  server.page("*", kPlainPage);
  run_sequence();
  EXPECT_FALSE(strip_shown());
  EXPECT_FALSE(form.news.gg_Timer2->isActive());
}

TEST_F(NewsSequence, MarqueeOutsideTheBodyDoesNotCount) {
  server.page("*", "<html><head><title>marquee</title></head><body>plain</body></html>");
  run_sequence();
  EXPECT_FALSE(strip_shown());
}

TEST_F(NewsSequence, ExactlyOneRequestPerRunEvenWhenTheCheckFails) {
  server.page("*", kPlainPage);
  run_sequence();
  tick(50);
  QTest::qWait(50);
  EXPECT_EQ(server.targets().size(), 1);
  EXPECT_FALSE(strip_shown());
}

TEST_F(NewsSequence, AServerThatIsDownLeavesTheStripHidden) {
  server.close();
  run_sequence();
  EXPECT_EQ(form.news.gg_WebBrowser1->body_markup(), "");
  EXPECT_FALSE(strip_shown());
  EXPECT_FALSE(form.news.gg_Timer2->isActive());
}

TEST_F(NewsSequence, ErrorAnswersLeaveTheStripHidden) {
  server.page("*", kMarqueePage, 500);
  run_sequence();
  EXPECT_FALSE(strip_shown());
}

TEST_F(NewsSequence, ASlowServerKeepsTheSequenceWaitingAtTen) {
  server.hold("/rjshengji/gg.htm");
  tick(5);
  ASSERT_TRUE(QTest::qWaitFor([this] { return server.targets().size() == 1; }, 10'000));
  tick(4);
  EXPECT_EQ(form.gg_Step, 9);
  for (int i = 0; i < 20; ++i) {
    tick();
    EXPECT_EQ(form.gg_Step, 9);
  }
  EXPECT_FALSE(strip_shown());
  server.release();
  ASSERT_TRUE(load_ends());
  tick();
  EXPECT_EQ(form.gg_Step, 10);
  tick();
  EXPECT_EQ(form.gg_Step, 11);
  EXPECT_FALSE(strip_shown());
  tick();
  EXPECT_EQ(form.gg_Step, 12);
  EXPECT_TRUE(strip_shown());
  EXPECT_EQ(server.targets().size(), 1);
}

TEST_F(NewsSequence, OffLineTicksPauseTheSequenceAtEveryStep) {
  for (int step = 0; step < 12; ++step) {
    online->online = false;
    tick(3);
    EXPECT_EQ(form.gg_Step, step);
    online->online = true;
    tick();
    EXPECT_EQ(form.gg_Step, step + 1);
    if (form.gg_Step == 5) {
      ASSERT_TRUE(load_ends());
    }
  }
  EXPECT_TRUE(strip_shown());
  EXPECT_FALSE(form.news.gg_Timer2->isActive());
  EXPECT_EQ(server.targets().size(), 1);
}

TEST_F(NewsSequence, AMachineNeverOnLineNeverAsksAndNeverWrites) {
  online->online = false;
  tick(100);
  EXPECT_EQ(online->calls, 100);
  EXPECT_EQ(form.gg_Step, 0);
  QTest::qWait(50);
  EXPECT_TRUE(server.targets().isEmpty());
  EXPECT_FALSE(QFile::exists(gg_jl()));
  EXPECT_FALSE(strip_shown());
  EXPECT_TRUE(form.news.gg_Timer2->isActive());
}

TEST_F(NewsSequence, NoConnectivityCheckCountsAsOffLine) {
  form.online_check.reset();
  tick(10);
  EXPECT_EQ(form.gg_Step, 0);
}

TEST_F(NewsSequence, TheLayoutAtElevenFitsTheStrip) {
  tick(5);
  ASSERT_TRUE(load_ends());
  tick(5);
  EXPECT_EQ(form.news.gg_Picture1->frameStyle(), QFrame::Panel | QFrame::Sunken);
  tick();
  ASSERT_EQ(form.gg_Step, 11);
  EXPECT_EQ(form.news.gg_Picture1->frameStyle(), int(QFrame::NoFrame));
  // Twips over 15: 9495 x 420, hide button at 9165 and 420 high, page view 10695 x 1620 at
  // its design place (-60, -60), link 9295 wide at 100, keeping its top and height.
  EXPECT_EQ(form.news.gg_Picture1->geometry(), QRect(4, 552, 633, 28));
  EXPECT_EQ(form.news.gg_Picture2->geometry(), QRect(0, 0, 633, 28));
  EXPECT_EQ(form.news.gg_Picture3->geometry(), QRect(611, 0, 22, 28));
  EXPECT_EQ(form.news.gg_WebBrowser1->geometry(), QRect(-4, -4, 713, 108));
  EXPECT_EQ(form.news.gg_Label1->geometry(), QRect(7, 4, 620, 20));
}

// What anyone on the network path can answer instead of the news page: pages built to bring
// a browser's layout down, and answers whose head never ends. The window shows what it can,
// answers a click at once, and reads nothing more once the load has ended.
struct HostileAnswer {
  const char* name;
  QByteArray page;          // a page, or else an endless answer:
  QByteArray first, again;  // `first`, then `again` for ever
  bool shows_strip = true;
};

// Shown by name in the test list, not as its bytes.
void PrintTo(const HostileAnswer& answer, std::ostream* out) {
  *out << answer.name;
}

HostileAnswer hostile_page(const char* name, const QByteArray& page) {
  return {name, page, {}, {}, true};
}
HostileAnswer endless(const char* name, const QByteArray& first, const QByteArray& again) {
  return {name, {}, first, again, false};
}
QByteArray repeated(const QByteArray& piece, int times) {
  return piece.repeated(times);
}

class HostileNews : public NewsSequence, public ::testing::WithParamInterface<HostileAnswer> {};

TEST_P(HostileNews, TheWindowStaysUsableAndTheConnectionEnds) {
  const HostileAnswer& answer = GetParam();
  if (answer.page.isEmpty()) {
    server.endless("*", answer.first, answer.again);
  } else {
    server.page("*", "<html><body>" + answer.page + "</body></html>");
  }
  form.show();
  run_sequence();
  ASSERT_EQ(strip_shown(), answer.shows_strip);
  if (answer.shows_strip) {
    zhavik::news::MarqueeBand* band = form.news.gg_WebBrowser1->marquee();
    ASSERT_NE(band, nullptr);
    band->step();
    band->grab();
    // About a hundred characters are in view: a few pieces of text, never the whole.
    EXPECT_LE(band->pieces_drawn(), 40);
    QTest::mouseClick(form.news.gg_Picture3, Qt::LeftButton);
    EXPECT_FALSE(form.news.gg_Picture2->isVisibleTo(&form));
  } else {
    EXPECT_EQ(form.news.gg_WebBrowser1->body_markup(), "");
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
                     repeated("<table><tr><td>", 5000) + "<marquee>deep</marquee>"),
        hostile_page("CellsSpanning65535",
                     "<marquee><table><tr>" +
                         repeated("<td colspan=65535 rowspan=65535>a</td>", 2000)),
        hostile_page("WordOf1MB", "<marquee>news</marquee>" + repeated("a", 1'000'000)),
        hostile_page("Bold100000Deep", "<marquee>news</marquee>" + repeated("<b>", 100'000)),
        hostile_page("ListsNested50000Deep",
                     "<marquee>news</marquee>" + repeated("<ul><li>", 50'000)),
        hostile_page("MarqueeOf1MB", "<marquee>" + repeated("news item ", 100'000) + "</marquee>"),
        endless("EndlessStatusLine", "HTTP/1.1 200 ", repeated("O", 65536)),
        endless("EndlessHeaderLine", "HTTP/1.1 200 OK\r\nX-Long: ", repeated("a", 65536)),
        endless("EndlessHeaderList", "HTTP/1.1 200 OK\r\n", repeated("X-A: b\r\n", 8192)),
        endless("Endless100Continue", {}, repeated("HTTP/1.1 100 Continue\r\n\r\n", 2048))),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NewsSequence, TheRealTimerDrivesTheSameHandler) {
  // Only the wiring: one real tick, on line, counts one step.
  form.news.gg_Timer2->setInterval(1);
  ASSERT_TRUE(QTest::qWaitFor([this] { return form.gg_Step >= 1; }, 5000));
  form.news.gg_Timer2->setInterval(24 * 3600 * 1000);
  EXPECT_GE(online->calls, 1);
}

}  // namespace
