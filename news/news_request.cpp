#include "news/news_request.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QUrl>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/cp936.h"
#include "core/text.h"

namespace zhavik::news {
namespace {

// The most of gg.jl that is ever read: one short line is all it holds.
constexpr qint64 kMostRead = 64 * 1024;

}  // namespace

QString gg_jl_path(const QString& program_folder) {
  if (program_folder.endsWith(u'/') || program_folder.endsWith(u'\\'))
    return program_folder + QStringLiteral("gg.jl");
  return program_folder + u'/' + QStringLiteral("gg.jl");
}

QString short_date_text() {
  const QString date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
  const std::u16string text = date.toStdU16String();
  return QString::fromStdU16String(std::u16string(trim_blanks(text)));
}

QString an_from_bytes(const QByteArray& bytes) {
  qsizetype end = 0;
  while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
    ++end;
  const std::u16string line = cp936_decode(std::string_view(bytes.constData(), end));
  if (trim_blanks(line).empty()) return QStringLiteral("err");
  return QString::fromStdU16String(line);
}

QString state_gg_jl_path(const QString& xdg_state_home, const QString& home) {
  const QString state = QDir::isAbsolutePath(xdg_state_home)
                            ? xdg_state_home
                            : home + QStringLiteral("/.local/state");
  return state + QStringLiteral("/zhavik/gg.jl");
}

QString gg_jl_place(const QString& program_folder) {
  if (::access(QFile::encodeName(program_folder).constData(), W_OK) == 0)
    return gg_jl_path(program_folder);
  const QString path = state_gg_jl_path(qEnvironmentVariable("XDG_STATE_HOME"),
                                        qEnvironmentVariable("HOME", QDir::homePath()));
  QDir().mkpath(QFileInfo(path).path());
  return path;
}

QString gg_jl_an(const QString& path, const QString& today) {
  const QByteArray name = QFile::encodeName(path);
  struct stat status {};
  // Only an ordinary file counts as there: not a folder, a FIFO, a device or a link.
  if (::lstat(name.constData(), &status) == 0 && S_ISREG(status.st_mode)) {
    // O_NOFOLLOW and the second look: what is opened is still that ordinary file, even if
    // something was put in its place in between; O_NONBLOCK: a FIFO never holds us up.
    const int file = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (file < 0) return QStringLiteral("err");
    QByteArray bytes;
    if (::fstat(file, &status) == 0 && S_ISREG(status.st_mode)) {
      bytes.resize(kMostRead);
      const ssize_t read = ::read(file, bytes.data(), static_cast<size_t>(kMostRead));
      bytes.resize(read > 0 ? read : 0);
    }
    ::close(file);
    return an_from_bytes(bytes);
  }
  // O_EXCL: created only where nothing stands, so nothing is made or written through a
  // link, and a FIFO or device of that name is left alone.
  const int file = ::open(name.constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
  if (file >= 0) {
    const std::string line = cp936_encode(today.toStdU16String()) + "\r\n";
    [[maybe_unused]] const ssize_t written = ::write(file, line.data(), line.size());
    ::close(file);
  }
  return today;
}

QString remove_blanks(const QString& text) {
  QString out = text;
  out.remove(u' ');
  return out;
}

QString id_from_program_path(const QString& program_path) {
  return remove_blanks(QFileInfo(program_path).completeBaseName());
}

QByteArray request_address(const QString& host, const QString& id, const QString& an) {
  // What a query value may hold unescaped besides letters, digits and "-._~": the rest of
  // RFC 3986's query characters, less the ones that separate or escape ("&", "=", "+", "%").
  static const QByteArray kKept = QByteArrayLiteral("!$'()*,;:@/?");
  return host.toUtf8() + "/rjshengji/gg.htm?id=" + QUrl::toPercentEncoding(id, kKept) +
         "&an=" + QUrl::toPercentEncoding(an, kKept);
}

}  // namespace zhavik::news
