#pragma once

#include <cstddef>
#include <cstdio>

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#else
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace zhavik {

// The calls on open files that the C library leaves to the system, in the form of each.

// Reads at most `size` bytes of `file` into `buffer`, returning as soon as any have come
// (a line typed at a terminal, a line written into a pipe) instead of waiting until the
// buffer is full, as fread does. Returns the number of bytes read, 0 at the end of the
// input, or -1 after an error, which errno names. The file's stdio buffer is not used.
inline std::ptrdiff_t read_available(std::FILE* file, char* buffer, std::size_t size) {
#ifdef _WIN32
  return _read(_fileno(file), buffer, static_cast<unsigned>(std::min<std::size_t>(size, INT_MAX)));
#else
  for (;;) {
    const ssize_t got = ::read(fileno(file), buffer, size);
    if (got >= 0 || errno != EINTR) return got;
  }
#endif
}

inline bool is_terminal(std::FILE* file) {
#ifdef _WIN32
  return _isatty(_fileno(file)) != 0;
#else
  return ::isatty(fileno(file)) != 0;
#endif
}

// A regular file has all of its bytes at hand: reading it never waits for a writer.
inline bool is_regular_file(std::FILE* file) {
#ifdef _WIN32
  struct _stat64 found {};
  return _fstat64(_fileno(file), &found) == 0 && (found.st_mode & _S_IFMT) == _S_IFREG;
#else
  struct stat found {};
  return ::fstat(fileno(file), &found) == 0 && S_ISREG(found.st_mode);
#endif
}

}  // namespace zhavik
