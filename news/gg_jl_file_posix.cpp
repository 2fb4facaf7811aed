#include <QFile>
#include <atomic>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>

#include "news/gg_jl_file.h"

namespace zhavik::news::gg_jl_file {
namespace {

bool write_all(int file, const QByteArray& bytes) {
  for (qsizetype at = 0; at < bytes.size();) {
    const ssize_t written =
        ::write(file, bytes.constData() + at, static_cast<size_t>(bytes.size() - at));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    at += written;
  }
  return true;
}

// Gives the file `from` the name `to` as well, unless something has that name. link() does
// it everywhere but where files have no links (FAT), which take a rename that replaces
// nothing instead.
bool name_without_replacing(const char* from, const char* to) {
  if (::link(from, to) == 0) return true;
#ifdef RENAME_NOREPLACE
  if (errno != EEXIST) return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0;
#endif
  return false;
}

}  // namespace

bool folder_writable(const QString& folder) {
  return ::access(QFile::encodeName(folder).constData(), W_OK) == 0;
}

std::optional<QByteArray> read_ordinary_file(const QString& path, qint64 most) {
  const QByteArray name = QFile::encodeName(path);
  struct stat status {};
  if (::lstat(name.constData(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  // O_NOFOLLOW and the second look: what is opened is still that ordinary file, even if
  // something was put in its place in between; O_NONBLOCK: a FIFO never holds us up.
  const int file = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (file < 0) return QByteArray();
  QByteArray bytes;
  if (::fstat(file, &status) == 0 && S_ISREG(status.st_mode)) {
    bytes.resize(most);
    const ssize_t read = ::read(file, bytes.data(), static_cast<size_t>(most));
    bytes.resize(read > 0 ? read : 0);
  }
  ::close(file);
  return bytes;
}

bool create_whole(const QString& path, const QByteArray& bytes) {
  const QByteArray name = QFile::encodeName(path);
  // A name no other run and no other call uses: the process and a count.
  static std::atomic<unsigned> count{0};
  QByteArray temporary;
  int file = -1;
  for (int attempt = 0; attempt < 100 && file < 0; ++attempt) {
    temporary = name + '.' + QByteArray::number(::getpid()) + '.' +
                QByteArray::number(count.fetch_add(1)) + ".new";
    // O_EXCL: nothing is made or written through a link or over another file.
    file =
        ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (file < 0 && errno != EEXIST) return false;
  }
  if (file < 0) return false;
  const bool written = write_all(file, bytes) && ::fsync(file) == 0;
  const bool closed = ::close(file) == 0;
  const bool placed =
      written && closed && name_without_replacing(temporary.constData(), name.constData());
  ::unlink(temporary.constData());
  return placed;
}

}  // namespace zhavik::news::gg_jl_file
