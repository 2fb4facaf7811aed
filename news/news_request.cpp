#include "news_request.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QUrl>

#include "cp936.h"
#include "text.h"

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

QString gg_jl_an(const QString& path, const QString& today) {
  const QFileInfo info(path);
  // Only an ordinary file counts as there; a folder of that name does not.
  if (info.exists() && info.isFile()) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("err");
    const QByteArray bytes = file.read(kMostRead);
    file.close();
    return an_from_bytes(bytes);
  }
  QFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    file.write(QByteArray::fromStdString(cp936_encode(today.toStdU16String()) + "\r\n"));
    file.close();
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
