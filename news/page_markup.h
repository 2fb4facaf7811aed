#pragma once

#include <QByteArray>
#include <QString>

// What the news page view makes of a page's bytes: its text and its body's markup. Pure
// functions; page_model.h reduces the body to what the view shows.
namespace zhavik::news {

// The page's text. The charset comes from the Content-Type header, else from a <meta> tag
// near the top; GB2312, GBK and GB18030 are read as code page 936. Without either, text with
// a byte-order mark or valid UTF-8 is read as such and anything else as code page 936.
QString decode_page(const QByteArray& bytes, const QByteArray& content_type);

// The markup between the <body ...> tag and </body>, as the page spells it. A page without
// a body tag has everything after its head (or its <html> tag) as its body.
QString body_inner_html(const QString& document);

}  // namespace zhavik::news
