// Saving a text: its bytes in either encoding, and a file written whole or not at all,
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

#include "core/atomic_write.h"
#include "core/saved_text.h"
#include "tests/core/permissions_hold.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

namespace zhavik {
namespace {

constexpr std::size_t npos = std::u16string_view::npos;

TEST(SavedText, GbkHoldsWhatCodePage936WritesUtf8AllWithAMark) {
  // Pinyin's letters are in GBK, but not all: 呣 reads ḿ, 嗯 ǹg.
  const std::pair<std::u16string, std::size_t> texts[] = {
      {u"nǐ hǎo lǚ ń ê ɡ ### 暂缺 \r\n", npos}, {u"m ḿ", 2}, {u"ǹg", 0}, {u"a€", 1},
      {u"\t😀", 1},                            {u"a\xDC00", 1}};
  for (const auto& [text, outside] : texts)
    EXPECT_EQ(first_outside_gbk(text), outside);
  EXPECT_EQ(encode_saved_text(u"你 lǚ\r\n", SavedEncoding::gbk), "\xC4\xE3 l\xA8\xB7\r\n");
  EXPECT_EQ(encode_saved_text(u"你 ḿ\r\n😀", SavedEncoding::utf8_with_mark),
            "\xEF\xBB\xBF你 ḿ\r\n😀");
}

class AtomicWrite : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::path(testing::TempDir()) /
              testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    std::filesystem::permissions(folder_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add);
    std::filesystem::remove_all(folder_);
  }
  void write(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  // Every file under the folder with its bytes; a folder as "/".
  std::map<std::filesystem::path, std::string> contents() const {
    std::map<std::filesystem::path, std::string> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder_)) {
      std::ifstream in(entry.path(), std::ios::binary);
      found[entry.path().lexically_relative(folder_)] =
          entry.is_directory() ? "/" : std::string(std::istreambuf_iterator<char>(in), {});
    }
    return found;
  }

  std::filesystem::path folder_;
};

TEST_F(AtomicWrite, ANewFileOrAReplacedOneWithItsPermissions) {
  const std::filesystem::path file = folder_ / "结果.txt";
  EXPECT_FALSE(write_file_atomically(file, std::string("a\0b", 3)));
  write(folder_ / "kept.txt", "kept");
  std::filesystem::permissions(file, std::filesystem::perms::owner_read |
                                         std::filesystem::perms::owner_write |
                                         std::filesystem::perms::group_read);
  EXPECT_FALSE(write_file_atomically(file, "new"));
  EXPECT_EQ(contents(), (std::map<std::filesystem::path, std::string>{{"结果.txt", "new"},
                                                                     {"kept.txt", "kept"}}));
#ifndef _WIN32
  EXPECT_EQ(std::filesystem::status(file).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                std::filesystem::perms::group_read);
#endif
}

// Each failure leaves the folder exactly as it was: no file half written, none left over.
TEST_F(AtomicWrite, AFailureChangesNothing) {
  const std::filesystem::path file = folder_ / "old.txt";
  const std::string bytes(5000, 'x');
  const auto plainly = [&](const std::filesystem::path& path) {
    return [&bytes, path] { return write_file_atomically(path, bytes); };
  };
  // Writes `file` with `path`'s write permission taken away, as an ordinary user.
  const auto unwritable = [&](const std::filesystem::path& path) {
    return [&, path] {
      using std::filesystem::perms, std::filesystem::perm_options;
      std::filesystem::permissions(path, perms::owner_write, perm_options::remove);
      std::error_code error;
#ifdef __linux__
      PermissionsHold hold;
      error = write_file_atomically(file, bytes);
#endif
      std::filesystem::permissions(path, perms::owner_write, perm_options::add);
      return error;
    };
  };
  const std::tuple<const char*, std::errc, std::function<std::error_code()>> cases[] = {
      {"no such folder", std::errc::no_such_file_or_directory,
       plainly(folder_ / "missing" / "new.txt")},
      {"a folder in the way", std::errc::is_a_directory, plainly(folder_ / "folder")},
#ifdef __linux__
      {"a folder that may not be written", std::errc::permission_denied, unwritable(folder_)},
      {"a file that may not be written", std::errc::permission_denied, unwritable(file)},
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
  write(file, "old");
  std::filesystem::create_directories(folder_ / "folder" / "inside");
  const auto before = contents();
  for (const auto& [what, error, write_failing] : cases) {
    EXPECT_EQ(write_failing(), error) << what;
    EXPECT_EQ(contents(), before) << what;
  }
}

}  // namespace
}  // namespace zhavik
