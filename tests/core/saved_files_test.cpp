// Saving a text: the characters GBK cannot hold, and a file written whole or not at all,
// whatever fails on the way.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <system_error>
#include <tuple>

#include "core/text/atomic_write.h"
#include "core/text/saved_text.h"
#include "tests/core/permissions_hold.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

namespace zhavik {
namespace {

TEST(SavedText, GbkHoldsPinyinLettersButNotAll) {
  const std::pair<std::u16string, std::size_t> texts[] = {
      {u"nǐ lǚ ń ê ɡ ### 暂缺 \r\n", std::u16string::npos},
      {u"m ḿ", 2},
      {u"ǹg", 0},
      {u"a€", 1},
      {u"\t😀", 1},
      {u"a\xDC00", 1}};
  for (const auto& [text, outside] : texts)
    EXPECT_EQ(first_outside_gbk(text), outside);
}

// The files of a folder with their bytes, a folder as "/".
std::map<std::filesystem::path, std::string> files_in(const std::filesystem::path& folder) {
  std::map<std::filesystem::path, std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::ifstream in(entry.path(), std::ios::binary);
    found[entry.path().filename()] =
        entry.is_directory() ? "/" : std::string(std::istreambuf_iterator<char>(in), {});
  }
  return found;
}

// A file replaced keeps its permissions; each failure leaves the folder exactly as it was,
// with no file half written and none left over.
TEST(AtomicWrite, WholeOrNothing) {
  using std::filesystem::perms, std::filesystem::perm_options;
  const std::filesystem::path folder = std::filesystem::path(testing::TempDir()) / "atomic";
  const std::filesystem::path file = folder / "old.txt";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder / "folder" / "inside");
  std::ofstream(file) << "old";
  std::filesystem::permissions(file, perms::owner_read | perms::owner_write | perms::group_read);
  EXPECT_FALSE(write_file_atomically(file, "new"));
  EXPECT_EQ(files_in(folder),
            (std::map<std::filesystem::path, std::string>{{"old.txt", "new"}, {"folder", "/"}}));
#ifndef _WIN32
  EXPECT_EQ(std::filesystem::status(file).permissions(),
            perms::owner_read | perms::owner_write | perms::group_read);
#endif

  const std::string bytes(5000, 'x');
  const std::tuple<const char*, std::errc, std::function<std::error_code()>> cases[] = {
      {"no such folder", std::errc::no_such_file_or_directory,
       [&] { return write_file_atomically(folder / "missing" / "new.txt", bytes); }},
      {"a folder in the way", std::errc::is_a_directory,
       [&] { return write_file_atomically(folder / "folder", bytes); }},
#ifdef __linux__
      {"a file that may not be written", std::errc::permission_denied,
       [&] {
         std::filesystem::permissions(file, perms::owner_write, perm_options::remove);
         PermissionsHold hold;
         return write_file_atomically(file, bytes);
       }},
#endif
#ifndef _WIN32
      // The disk full, as far as this process sees: no file may grow beyond 1000 bytes.
      {"no room", std::errc::file_too_large,
       [&] {
         rlimit limit{};
         getrlimit(RLIMIT_FSIZE, &limit);
         const rlimit small{1000, limit.rlim_max};
         const auto signal_before = signal(SIGXFSZ, SIG_IGN);
         setrlimit(RLIMIT_FSIZE, &small);
         const std::error_code error = write_file_atomically(file, bytes);
         setrlimit(RLIMIT_FSIZE, &limit);
         signal(SIGXFSZ, signal_before);
         return error;
       }},
#endif
  };
  const auto before = files_in(folder);
  for (const auto& [what, error, write_failing] : cases) {
    EXPECT_EQ(write_failing(), error) << what;
    EXPECT_EQ(files_in(folder), before) << what;
  }
  std::filesystem::permissions(file, perms::owner_write, perm_options::add);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace zhavik
