// The pure pieces of the news request: gg.jl's place, reading and writing, the values and
// the address.

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include <sys/stat.h>

#include "news_request.h"
#include "news_strip.h"

namespace {

using namespace zhavik::news;

QByteArray read_all(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

TEST(GgJlPath, StandsBesideTheProgramWithOneSeparator) {
  EXPECT_EQ(gg_jl_path("/opt/zhavik"), "/opt/zhavik/gg.jl");
  EXPECT_EQ(gg_jl_path("/"), "/gg.jl");
  EXPECT_EQ(gg_jl_path("C:\\"), "C:\\gg.jl");
}

TEST(ShortDate, IsTheSystemShortDateWithoutOuterBlanks) {
  const QString date = short_date_text();
  EXPECT_FALSE(date.isEmpty());
  EXPECT_FALSE(date.startsWith(u' '));
  EXPECT_FALSE(date.endsWith(u' '));
  EXPECT_EQ(date, QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).trimmed());
}

TEST(GgJl, FirstRunWritesTheDateInCodePage936AndAnswersIt) {
  QTemporaryDir folder;
  const QString path = gg_jl_path(folder.path());
  EXPECT_EQ(gg_jl_an(path, QStringLiteral("2026年12月6日")), QStringLiteral("2026年12月6日"));
  EXPECT_EQ(read_all(path), QByteArray("2026\xC4\xEA"
                                       "12\xD4\xC2"
                                       "6\xC8\xD5\r\n"));
  // The next run reads it back, and never rewrites it.
  EXPECT_EQ(gg_jl_an(path, QStringLiteral("2030/1/1")), QStringLiteral("2026年12月6日"));
  EXPECT_EQ(read_all(path), QByteArray("2026\xC4\xEA"
                                       "12\xD4\xC2"
                                       "6\xC8\xD5\r\n"));
}

TEST(GgJl, OnlyTheFirstLineCountsWhateverItsLineEnd) {
  EXPECT_EQ(an_from_bytes("2020/1/2\r\nsecond\r\n"), "2020/1/2");
  EXPECT_EQ(an_from_bytes("2020/1/2\nsecond"), "2020/1/2");
  EXPECT_EQ(an_from_bytes("2020/1/2\rsecond"), "2020/1/2");
  EXPECT_EQ(an_from_bytes("2020/1/2"), "2020/1/2");
}

TEST(GgJl, EmptyOrBlankFirstLinesGiveErr) {
  for (const QByteArray& bytes : {QByteArray(), QByteArray("\r\n2020/1/2"), QByteArray("   "),
                                  QByteArray("   \r\n2020/1/2")}) {
    EXPECT_EQ(an_from_bytes(bytes), "err") << bytes.toStdString();
  }
  // A tab is no blank, and the line is kept as read, blanks and all.
  EXPECT_EQ(an_from_bytes("\t"), "\t");
  EXPECT_EQ(an_from_bytes(" 2020 /1/2 "), " 2020 /1/2 ");
}

// Whatever stands at gg.jl's place that is no ordinary file, the date is sent, nothing is
// read through it, nothing is created through it, and it stays as it was.
TEST(GgJl, AnythingButAnOrdinaryFileCountsAsMissingAndIsLeftAlone) {
  const auto make_folder = [](const QString& path, const QString&) { return QDir().mkdir(path); };
  const auto make_fifo = [](const QString& path, const QString&) {
    return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
  };
  const auto make_link = [](const QString& path, const QString& target) {
    return QFile::link(target, path);
  };
  struct Case {
    const char* what;
    std::function<bool(const QString&, const QString&)> make;
    QByteArray target_holds;  // what the link's target holds; nothing: no target
  };
  for (const Case& c : {Case{"folder", make_folder, {}}, Case{"FIFO", make_fifo, {}},
                        Case{"dangling link", make_link, {}},
                        Case{"link to a file", make_link, "secret first line\n"}}) {
    QTemporaryDir folder;
    const QString path = gg_jl_path(folder.path());
    const QString target = folder.filePath("elsewhere");
    if (!c.target_holds.isEmpty()) {
      QFile file(target);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(c.target_holds);
    }
    ASSERT_TRUE(c.make(path, target)) << c.what;
    const QFileInfo before(path);
    EXPECT_EQ(gg_jl_an(path, QStringLiteral("2026/12/6")), "2026/12/6") << c.what;
    const QFileInfo after(path);
    EXPECT_EQ(after.isSymLink(), before.isSymLink()) << c.what;
    EXPECT_EQ(after.isDir(), before.isDir()) << c.what;
    if (c.target_holds.isEmpty()) {
      EXPECT_FALSE(QFileInfo::exists(target)) << c.what;
    } else {
      EXPECT_EQ(read_all(target), c.target_holds) << c.what;
    }
  }
}

TEST(GgJlPlace, BesideTheProgramWhenItsFolderCanBeWrittenElseInTheStateFolder) {
  QTemporaryDir folder;
  EXPECT_EQ(gg_jl_place(folder.path()), gg_jl_path(folder.path()));

  QTemporaryDir state;
  qputenv("XDG_STATE_HOME", state.path().toUtf8());
  const QString place = gg_jl_place("/nonexistent-folder/zhavik");
  qunsetenv("XDG_STATE_HOME");
  EXPECT_EQ(place, state.path() + "/zhavik/gg.jl");
  EXPECT_EQ(gg_jl_an(place, QStringLiteral("2026/12/6")), "2026/12/6");
  EXPECT_EQ(gg_jl_an(place, QStringLiteral("2030/1/1")), "2026/12/6");
}

TEST(GgJlPlace, TheStateFolderFollowsXdgStateHomeWhenItIsAbsolute) {
  EXPECT_EQ(state_gg_jl_path("/s", "/home/u"), "/s/zhavik/gg.jl");
  EXPECT_EQ(state_gg_jl_path("", "/home/u"), "/home/u/.local/state/zhavik/gg.jl");
  EXPECT_EQ(state_gg_jl_path("relative/state", "/home/u"), "/home/u/.local/state/zhavik/gg.jl");
}

TEST(GgJl, AFolderThatCannotBeWrittenStillSendsTheDate) {
  EXPECT_EQ(gg_jl_an("/nonexistent-folder/zhavik/gg.jl", QStringLiteral("2026/12/6")), "2026/12/6");
}

TEST(GgJl, CodePage936TextReadsBack) {
  EXPECT_EQ(an_from_bytes("\xB6\xFE\xC1\xE3"), QStringLiteral("二零"));
}

TEST(RequestAddress, PlainNamesAndDatesPassUnchanged) {
  EXPECT_EQ(request_address("http://news.zhavik.example", "zhavik", "2026/12/6"),
            "http://news.zhavik.example/rjshengji/gg.htm?id=zhavik&an=2026/12/6");
  EXPECT_EQ(request_address("http://h", "Zhavik_3.90", "06.12.26"),
            "http://h/rjshengji/gg.htm?id=Zhavik_3.90&an=06.12.26");
  EXPECT_EQ(request_address("http://h", "z", "12-6-2026"),
            "http://h/rjshengji/gg.htm?id=z&an=12-6-2026");
  EXPECT_EQ(request_address("http://h", "z", "err"), "http://h/rjshengji/gg.htm?id=z&an=err");
}

TEST(RequestAddress, ValuesCannotChangeTheRequestsStructure) {
  EXPECT_EQ(request_address("http://h", "a&id=b", "x#y+z%20=\t"),
            "http://h/rjshengji/gg.htm?id=a%26id%3Db&an=x%23y%2Bz%2520%3D%09");
  EXPECT_EQ(request_address("http://h", QStringLiteral("查询"), QStringLiteral("2026年")),
            "http://h/rjshengji/gg.htm?id=%E6%9F%A5%E8%AF%A2&an=2026%E5%B9%B4");
}

TEST(StripLayout, FitsTheStripAtItsDesignSizes) {
  const StripLayout layout = gg_layout(9495, 420, 330);
  EXPECT_EQ(layout.page_width, 9495.0f);
  EXPECT_EQ(layout.page_height, 420.0f);
  EXPECT_EQ(layout.hide_button_left, 9165.0f);
  EXPECT_EQ(layout.hide_button_height, 420.0f);
  EXPECT_EQ(layout.browser_width, 10695.0f);
  EXPECT_EQ(layout.browser_height, 1620.0f);
  EXPECT_EQ(layout.link_width, 9295.0f);
  EXPECT_EQ(layout.link_left, 100.0f);
}

}  // namespace
