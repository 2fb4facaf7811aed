#include "news/news_request.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QUrl>

#include "core/text/cp936.h"
#include "core/text/text.h"
#include "news/gg_jl_file.h"

namespace zhavik::news {
namespace {

// The most of gg.jl that is ever read: one short line is all it holds.
constexpr qint64 kMostRead = 64 * 1024;
// The most characters of the an value sent: far more than any date.
constexpr qsizetype kMostAn = 64;

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
  if (gg_jl_file::folder_writable(program_folder)) return gg_jl_path(program_folder);
#ifdef _WIN32
  // %LOCALAPPDATA%, as the shell knows it. Should even that be unknown, the program's
  // folder stays the place: nothing is stored, and the request carries today's date.
  const QString local = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (!QDir::isAbsolutePath(local)) return gg_jl_path(program_folder);
  const QString path = local + QStringLiteral("/Zhavik/gg.jl");
#else
  const QString path = state_gg_jl_path(qEnvironmentVariable("XDG_STATE_HOME"),
                                        qEnvironmentVariable("HOME", QDir::homePath()));
#endif
  QDir().mkpath(QFileInfo(path).path());
  return path;
}

QString gg_jl_an(const QString& path, const QString& today) {
  if (const auto bytes = gg_jl_file::read_ordinary_file(path, kMostRead))
    return an_from_bytes(*bytes);
  const std::string line = cp936_encode(today.toStdU16String()) + "\r\n";
  if (gg_jl_file::create_whole(path, QByteArray::fromStdString(line))) return today;
  // Another run starting at the same moment may have put its file there first: then its
  // date is the one, so that both send the same.
  if (const auto bytes = gg_jl_file::read_ordinary_file(path, kMostRead))
    return an_from_bytes(*bytes);
  return today;
}

QString remove_blanks(const QString& text) {
  QString out = text;
  out.remove(u' ');
  return out;
}

QString an_to_send(const QString& an) {
  const QString sent = remove_blanks(an);
  return sent.size() <= kMostAn ? sent : QStringLiteral("err");
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
