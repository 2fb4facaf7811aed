#include "core/text/files.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <new>

#ifdef _WIN32
#include <sys/stat.h>

#include <cstdio>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zhavik {
namespace {

// The few calls on files that differ between systems; read_regular_file below is written
// once on top of them.
struct Status {
  bool regular;
  std::uintmax_t size;
};

#ifdef _WIN32

// Names are wide on Windows: a narrow name would go through the ANSI code page and lose
// every character that it cannot write.
using Handle = std::FILE*;

std::optional<Status> status_of(const std::filesystem::path& path) {
  struct _stat64 found {};
  if (_wstat64(path.c_str(), &found) != 0) return std::nullopt;
  return Status{(found.st_mode & _S_IFMT) == _S_IFREG, static_cast<std::uintmax_t>(found.st_size)};
}

std::optional<Status> status_of(Handle file) {
  struct _stat64 found {};
  if (_fstat64(_fileno(file), &found) != 0) return std::nullopt;
  return Status{(found.st_mode & _S_IFMT) == _S_IFREG, static_cast<std::uintmax_t>(found.st_size)};
}

Handle open_for_reading(const std::filesystem::path& path) {
  return _wfopen(path.c_str(), L"rb");
}

bool is_open(Handle file) {
  return file != nullptr;
}

void close_file(Handle file) {
  std::fclose(file);
}

// The number of bytes read, 0 at the end, -1 after an error.
std::ptrdiff_t read_some(Handle file, char* buffer, std::size_t size) {
  const std::size_t got = std::fread(buffer, 1, size, file);
  if (got == 0 && std::ferror(file)) return -1;
  return static_cast<std::ptrdiff_t>(got);
}

#else

using Handle = int;

std::optional<Status> status_of(const std::filesystem::path& path) {
  struct stat found {};
  if (::stat(path.c_str(), &found) != 0) return std::nullopt;
  return Status{S_ISREG(found.st_mode), static_cast<std::uintmax_t>(found.st_size)};
}

std::optional<Status> status_of(Handle file) {
  struct stat found {};
  if (::fstat(file, &found) != 0) return std::nullopt;
  return Status{S_ISREG(found.st_mode), static_cast<std::uintmax_t>(found.st_size)};
}

Handle open_for_reading(const std::filesystem::path& path) {
  return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

bool is_open(Handle file) {
  return file >= 0;
}

void close_file(Handle file) {
  ::close(file);
}

std::ptrdiff_t read_some(Handle file, char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t got = ::read(file, buffer, size);
    if (got >= 0 || errno != EINTR) return got;
  }
}

#endif

std::nullopt_t refuse(FileRefusal why, FileRefusal* refusal) {
  if (refusal) *refusal = why;
  return std::nullopt;
}

struct Opened {
  Handle file;
  std::uintmax_t size;
};

// The file opened after the looks that keep anything but a regular file of at most
// `max_bytes` from being opened at all.
std::optional<Opened> open_checked(const std::filesystem::path& path, std::uintmax_t max_bytes,
                                   FileRefusal* refusal) {
  // Looked at before opening: opening a pipe waits for a writer, and opening some devices
  // has effects of its own.
  errno = 0;
  const std::optional<Status> found = status_of(path);
  if (!found)
    return refuse(errno == ENOENT ? FileRefusal::missing : FileRefusal::unreadable, refusal);
  if (!found->regular) return refuse(FileRefusal::not_regular, refusal);
  if (found->size > max_bytes) return refuse(FileRefusal::too_large, refusal);
  const Handle file = open_for_reading(path);
  if (!is_open(file)) return refuse(FileRefusal::unreadable, refusal);
  // The name may have been given to something else between the look and the opening.
  const std::optional<Status> opened = status_of(file);
  if (!opened || !opened->regular || opened->size > max_bytes) {
    close_file(file);
    return refuse(!opened            ? FileRefusal::unreadable
                  : !opened->regular ? FileRefusal::not_regular
                                     : FileRefusal::too_large,
                  refusal);
  }
  return Opened{file, opened->size};
}

}  // namespace

std::optional<std::string> read_regular_file(const std::filesystem::path& path,
                                             std::uintmax_t max_bytes, FileRefusal* refusal) {
  const std::optional<Opened> opened = open_checked(path, max_bytes, refusal);
  if (!opened) return std::nullopt;
  const Handle file = opened->file;
  struct Closer {
    Handle file;
    ~Closer() { close_file(file); }
  } closer{file};

  // The size is only a first guess: a file may grow while it is read, and files such as
  // those of /proc tell no size at all.
  try {
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(std::min(opened->size, max_bytes) + 1));
    std::size_t length = 0;
    for (;;) {
      if (length == bytes.size()) {
        if (length > max_bytes) return refuse(FileRefusal::too_large, refusal);
        bytes.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(length * 2, max_bytes + 1)));
      }
      const std::ptrdiff_t got = read_some(file, bytes.data() + length, bytes.size() - length);
      if (got < 0) return refuse(FileRefusal::unreadable, refusal);
      if (got == 0) break;
      length += static_cast<std::size_t>(got);
    }
    bytes.resize(length);
    return bytes;
  } catch (const std::bad_alloc&) {
    return refuse(FileRefusal::unreadable, refusal);
  }
}

std::optional<FileRefusal> regular_file_refusal(const std::filesystem::path& path,
                                                std::uintmax_t max_bytes) {
  FileRefusal refusal = FileRefusal::unreadable;
  const std::optional<Opened> opened = open_checked(path, max_bytes, &refusal);
  if (!opened) return refusal;
  close_file(opened->file);
  return std::nullopt;
}

#ifndef _WIN32
std::optional<OpenedFile> open_regular_file(const std::filesystem::path& path,
                                            std::uintmax_t max_bytes, FileRefusal* refusal) {
  const std::optional<Opened> opened = open_checked(path, max_bytes, refusal);
  if (!opened) return std::nullopt;
  return OpenedFile{opened->file, opened->size};
}
#endif

}  // namespace zhavik
