// The pure pieces of the news request: gg.jl's place, reading and writing, and the address.

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <array>
#include <latch>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include "news/news_request.h"

namespace {

using namespace zhavik::news;

QByteArray read_all(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The first line as read, whatever its line end, in code page 936; "err" when it is
// empty or only blanks (a tab is no blank).
TEST(GgJl, TheAnIsTheFirstLineOrErr) {
  const std::pair<QByteArray, QString> cases[] = {{"2020/1/2\r\nsecond\r\n", "2020/1/2"},
                                                  {"2020/1/2\nsecond", "2020/1/2"},
                                                  {"2020/1/2\rsecond", "2020/1/2"},
                                                  {" 2020 /1/2 ", " 2020 /1/2 "},
                                                  {"\t", "\t"},
                                                  {"\xB6\xFE\xC1\xE3", QStringLiteral("二零")},
                                                  {"", "err"},
                                                  {"\r\n2020/1/2", "err"},
                                                  {"   \r\n2020/1/2", "err"}};
  for (const auto& [bytes, an] : cases)
    EXPECT_EQ(an_from_bytes(bytes), an) << bytes.toStdString();
  // Sent without blanks, and only as long as a date could be.
  EXPECT_EQ(an_to_send(" 2020 /1/2 "), "2020/1/2");
  EXPECT_EQ(an_to_send(QString(64, u'x') + "  "), QString(64, u'x'));
  EXPECT_EQ(an_to_send(QString(65, u'x')), "err");
}

// Runs started together on a first run all send one date, that of the run whose file went
// in place first: none finds the file empty or half written, and none leaves a scrap behind.
TEST(GgJl, RunsStartedTogetherAgreeOnTheFirstRunDate) {
  for (int round = 0; round < 200; ++round) {
    QTemporaryDir folder;
    const QString path = gg_jl_path(folder.path());
    std::array<QString, 4> sent;
    std::latch start(sent.size());
    std::vector<std::thread> runs;
    for (std::size_t i = 0; i < sent.size(); ++i) {
      runs.emplace_back([&, i] {
        start.arrive_and_wait();
        sent[i] = gg_jl_an(path, QStringLiteral("2026/12/%1").arg(i + 1));
      });
    }
    for (std::thread& run : runs)
      run.join();
    for (const QString& an : sent)
      ASSERT_EQ(an, gg_jl_an(path, {})) << "round " << round;
    ASSERT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"gg.jl"});
  }
}

// Makes at `path` what `what` names: a folder, a FIFO (POSIX only), a symbolic link to
// `target`. False when this system cannot make it: Windows' links are reparse points, which
// Wine does not make.
bool make_thing(const std::string& what, const QString& path, const QString& target) {
  if (what == "folder") return QDir().mkdir(path);
#ifdef _WIN32
  if (what == "FIFO") return false;
  CreateSymbolicLinkW(path.toStdWString().c_str(), target.toStdWString().c_str(),
                      SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
  const DWORD attributes = GetFileAttributesW(path.toStdWString().c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
#else
  if (what == "FIFO") return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
  return QFile::link(target, path);
#endif
}

// Whatever stands at gg.jl's place that is no ordinary file, the date is sent, nothing is
// read through it, nothing is created through it, and it stays as it was.
TEST(GgJl, AnythingButAnOrdinaryFileCountsAsMissingAndIsLeftAlone) {
  for (const std::string what : {"folder", "FIFO", "dangling link", "link to a file"}) {
    QTemporaryDir folder;
    const QString path = gg_jl_path(folder.path());
    const QString target = folder.filePath("elsewhere");
    const QByteArray secret = what == "link to a file" ? "secret first line\n" : "";
    if (!secret.isEmpty()) {
      QFile file(target);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(secret) == secret.size());
    }
    if (!make_thing(what, path, target)) {
#ifdef _WIN32
      if (what != "folder") continue;
#endif
      FAIL() << what;
    }
    const QFileInfo before(path);
    EXPECT_EQ(gg_jl_an(path, QStringLiteral("2026/12/6")), "2026/12/6") << what;
    const QFileInfo after(path);
    EXPECT_EQ(after.isSymLink(), before.isSymLink()) << what;
    EXPECT_EQ(after.isDir(), before.isDir()) << what;
    EXPECT_EQ(read_all(target), secret.isEmpty() ? "<missing>" : secret) << what;
  }
}

TEST(GgJlPlace, BesideTheProgramWithOneSeparatorElseInTheStateFolder) {
  EXPECT_EQ(gg_jl_path("/opt/zhavik"), "/opt/zhavik/gg.jl");
  EXPECT_EQ(gg_jl_path("/"), "/gg.jl");
  EXPECT_EQ(gg_jl_path("C:\\"), "C:\\gg.jl");
  QTemporaryDir folder;
  EXPECT_EQ(gg_jl_place(folder.path()), gg_jl_path(folder.path()));
#ifdef _WIN32
  // In %LOCALAPPDATA%\Zhavik, here the test's own copy of it.
  QStandardPaths::setTestModeEnabled(true);
  const QString place = gg_jl_place("C:/nonexistent-folder/zhavik");
  const QString local = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  QStandardPaths::setTestModeEnabled(false);
  ASSERT_FALSE(local.isEmpty());
  EXPECT_EQ(place, local + "/Zhavik/gg.jl");
  QFile::remove(place);
  const char* nowhere = "C:/nonexistent-folder/zhavik/gg.jl";
#else
  // The state folder follows XDG_STATE_HOME only when it is absolute.
  EXPECT_EQ(state_gg_jl_path("/s", "/home/u"), "/s/zhavik/gg.jl");
  EXPECT_EQ(state_gg_jl_path("", "/home/u"), "/home/u/.local/state/zhavik/gg.jl");
  EXPECT_EQ(state_gg_jl_path("relative/state", "/home/u"), "/home/u/.local/state/zhavik/gg.jl");
  QTemporaryDir state;
  qputenv("XDG_STATE_HOME", state.path().toUtf8());
  const QString place = gg_jl_place("/nonexistent-folder/zhavik");
  qunsetenv("XDG_STATE_HOME");
  EXPECT_EQ(place, state.path() + "/zhavik/gg.jl");
  const char* nowhere = "/nonexistent-folder/zhavik/gg.jl";
#endif
  // Created with today's date in code page 936, and read, not written, ever after.
  const QString today = QStringLiteral("周日 2026/12/6");
  EXPECT_EQ(gg_jl_an(place, today), today);
  EXPECT_EQ(read_all(place), "\xD6\xDC\xC8\xD5 2026/12/6\r\n");
  EXPECT_EQ(gg_jl_an(place, QStringLiteral("2030/1/1")), today);
  // Where nothing can be written at all, the date is still sent.
  EXPECT_EQ(gg_jl_an(nowhere, QStringLiteral("2026/12/6")), "2026/12/6");
}

// Plain names and dates pass unchanged; nothing in a value can change the request's
// structure.
TEST(RequestAddress, EncodesOnlyWhatWouldChangeTheRequest) {
  const std::array<QString, 3> cases[] = {
      {"zhavik", "2026/12/6", "id=zhavik&an=2026/12/6"},
      {"Zhavik_3.90", "06.12-26", "id=Zhavik_3.90&an=06.12-26"},
      {"a&id=b", "x#y+z%20=\t", "id=a%26id%3Db&an=x%23y%2Bz%2520%3D%09"},
      {QStringLiteral("查询"), QStringLiteral("2026年"), "id=%E6%9F%A5%E8%AF%A2&an=2026%E5%B9%B4"}};
  for (const auto& [id, an, query] : cases)
    EXPECT_EQ(request_address("http://h", id, an), "http://h/rjshengji/gg.htm?" + query.toUtf8());
}

}  // namespace
