#include "core/text/atomic_write.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace zhavik {
namespace {

std::error_code errno_error() {
  return {errno, std::generic_category()};
}

// A name in the target's folder that is hidden from listings and short, so that it fits
// wherever the target's name does; the number makes it one no other file has, almost
// always (a clash is tried again).
std::filesystem::path temporary_beside(const std::filesystem::path& path) {
  static std::atomic<std::uint64_t> calls{0};
  const auto now = static_cast<std::uint64_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count());
  const std::uint64_t number = (now ^ (calls++ << 48)) * 0x9E3779B97F4A7C15ull;
  char name[40];
  std::snprintf(name, sizeof name, ".zhavik-%016llx.tmp", static_cast<unsigned long long>(number));
  return path.parent_path() / name;
}

#ifdef _WIN32

int open_new(const std::filesystem::path& path) {
  return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                _S_IREAD | _S_IWRITE);
}

std::error_code write_all(int file, std::string_view bytes) {
  while (!bytes.empty()) {
    const unsigned chunk = static_cast<unsigned>(std::min<std::size_t>(bytes.size(), 1 << 30));
    const int written = _write(file, bytes.data(), chunk);
    if (written < 0) return errno_error();
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

std::error_code flush_and_close(int file) {
  std::error_code error;
  if (_commit(file) != 0) error = errno_error();
  if (_close(file) != 0 && !error) error = errno_error();
  return error;
}

// Windows refuses to replace a read-only file by itself.
std::error_code refuse_unwritable(const std::filesystem::path&) {
  return {};
}

std::error_code replace(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return {};
  const std::error_code error(static_cast<int>(GetLastError()), std::system_category());
  // Said as POSIX says it, rather than as "access denied".
  const DWORD attributes = GetFileAttributesW(to.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return std::make_error_code(std::errc::is_a_directory);
  return error;
}

void remove_file(const std::filesystem::path& path) {
  _wremove(path.c_str());
}

// The new file takes the folder's permissions, as the file it replaces had.
void take_permissions(int, const std::filesystem::path&) {}

#else

int open_new(const std::filesystem::path& path) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

std::error_code write_all(int file, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written =
        ::write(file, bytes.data(), std::min<std::size_t>(bytes.size(), 1 << 30));
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return errno_error();
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

std::error_code flush_and_close(int file) {
  std::error_code error;
  // Some file systems cannot flush a file on demand; the data still goes to the disk.
  if (::fsync(file) != 0 && errno != EINVAL && errno != ENOTSUP) error = errno_error();
  if (::close(file) != 0 && !error) error = errno_error();
  return error;
}

// A regular file that this process may not write is refused, as an editor refuses it. Opening
// it for writing asks the system itself (as root too), and changes nothing.
std::error_code refuse_unwritable(const std::filesystem::path& path) {
  struct stat status;
  if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return {};
  const int file = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (file >= 0) {
    ::close(file);
    return {};
  }
  return errno == EACCES || errno == EPERM || errno == EROFS ? errno_error() : std::error_code();
}

std::error_code replace(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (::rename(from.c_str(), to.c_str()) != 0) return errno_error();
  // The rename itself reaches the disk with the folder; a folder that cannot be flushed
  // still holds the file.
  const std::filesystem::path folder = to.has_parent_path() ? to.parent_path() : ".";
  const int handle = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (handle >= 0) {
    ::fsync(handle);
    ::close(handle);
  }
  return {};
}

void remove_file(const std::filesystem::path& path) {
  ::unlink(path.c_str());
}

// A replaced file keeps who may read and write it.
void take_permissions(int file, const std::filesystem::path& path) {
  struct stat status;
  if (::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode))
    ::fchmod(file, status.st_mode & 07777);
}

#endif

}  // namespace

std::error_code write_file_atomically(const std::filesystem::path& path, std::string_view bytes) {
  if (!path.has_filename()) return std::make_error_code(std::errc::is_a_directory);
  if (std::error_code refused = refuse_unwritable(path)) return refused;
  std::filesystem::path temporary;
  int file = -1;
  for (int attempt = 0; file < 0; ++attempt) {
    temporary = temporary_beside(path);
    file = open_new(temporary);
    if (file < 0 && (errno != EEXIST || attempt == 100)) return errno_error();
  }
  take_permissions(file, path);
  std::error_code error = write_all(file, bytes);
  const std::error_code closed = flush_and_close(file);
  if (!error) error = closed;
  if (!error) error = replace(temporary, path);
  if (error) remove_file(temporary);
  return error;
}

}  // namespace zhavik
