#include "news/page_markup.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <string_view>

#include "core/text/cp936.h"
#include "core/text/text.h"
#include "core/text/text_file.h"

namespace zhavik::news {
namespace {

std::string_view view_of(const QByteArray& bytes) {
  return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QByteArray charset_in(const QByteArray& text) {
  static const QRegularExpression kCharset(
      QStringLiteral(R"re(charset\s*=\s*["']?\s*([A-Za-z0-9_.:-]+))re"),
      QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = kCharset.match(QString::fromLatin1(text));
  return match.hasMatch() ? match.captured(1).toLatin1().toLower() : QByteArray();
}

// The index just past the '>' that ends the tag opening at `from`, quotes respected; the
// text's size when the tag does not end.
qsizetype tag_end(const QString& text, qsizetype from) {
  QChar quote;
  for (qsizetype i = from; i < text.size(); ++i) {
    const QChar c = text[i];
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
    } else if (c == u'"' || c == u'\'') {
      quote = c;
    } else if (c == u'>') {
      return i + 1;
    }
  }
  return text.size();
}

// The start of the first tag `<name` (followed by a blank, "/" or ">") at or after `from`.
qsizetype find_tag(const QString& text, QStringView name, qsizetype from = 0) {
  for (qsizetype at = text.indexOf(u'<', from); at >= 0; at = text.indexOf(u'<', at + 1)) {
    const qsizetype after = at + 1 + name.size();
    if (QStringView(text).mid(at + 1, name.size()).compare(name, Qt::CaseInsensitive) != 0)
      continue;
    if (after >= text.size()) return at;
    const QChar next = text[after];
    if (next.isSpace() || next == u'>' || next == u'/') return at;
  }
  return -1;
}

// The start of the last tag `<name` in the text.
qsizetype find_last_tag(const QString& text, QStringView name) {
  qsizetype last = -1;
  for (qsizetype at = find_tag(text, name); at >= 0; at = find_tag(text, name, at + 1))
    last = at;
  return last;
}

}  // namespace

QString decode_page(const QByteArray& bytes, const QByteArray& content_type) {
  QByteArray charset = charset_in(content_type);
  if (charset.isEmpty()) charset = charset_in(bytes.left(2048));
  if (charset == "gb2312" || charset == "gbk" || charset == "gb18030" || charset == "x-gbk" ||
      charset == "cp936" || charset == "euc-cn") {
    return QString::fromStdU16String(cp936_decode(view_of(bytes)));
  }
  if (charset == "utf-8" || charset == "utf8")
    return QString::fromStdU16String(utf8_to_utf16_lossy(view_of(bytes)));
  if (!charset.isEmpty()) {
    QStringDecoder decoder(charset.constData());
    if (decoder.isValid()) return decoder.decode(bytes);
  }
  // A page that names no charset is sniffed as browsers in a Chinese locale do: a byte-order
  // mark, else UTF-8 when the bytes are valid UTF-8, else GBK. That is exactly the rule for a
  // text file a user opens, so it is that rule, not a copy of it.
  return QString::fromStdU16String(decode_text_file(view_of(bytes)));
}

QString body_inner_html(const QString& document) {
  qsizetype start = 0;
  if (const qsizetype body = find_tag(document, u"body"); body >= 0) {
    start = tag_end(document, body);
  } else if (const qsizetype head_end = find_tag(document, u"/head"); head_end >= 0) {
    start = tag_end(document, head_end);
  } else if (const qsizetype html = find_tag(document, u"html"); html >= 0) {
    start = tag_end(document, html);
  }
  qsizetype end = document.size();
  for (const QStringView closing : {QStringView(u"/body"), QStringView(u"/html")}) {
    const qsizetype at = find_last_tag(document, closing);
    if (at >= start) {
      end = at;
      break;
    }
  }
  return document.mid(start, end - start);
}

}  // namespace zhavik::news
