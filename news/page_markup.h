#pragma once

#include <QByteArray>
#include <QString>

// What the news page view makes of a page's bytes: its text, its body's markup and the
// parts it shows. Pure functions; the view (page_view.h) puts them on screen.
namespace zhavik::news {

// The page's text. The charset comes from the Content-Type header, else from a <meta> tag
// near the top; GB2312, GBK and GB18030 are read as code page 936. Without either, text with
// a byte-order mark or valid UTF-8 is read as such and anything else as code page 936.
QString decode_page(const QByteArray& bytes, const QByteArray& content_type);

// The markup between the <body ...> tag and </body>, as the page spells it. A page without
// a body tag has everything after its head (or its <html> tag) as its body.
QString body_inner_html(const QString& document);

// A <marquee> of the body: its attributes, as far as the view uses them, and its content.
struct Marquee {
  bool found = false;
  QString content;          // the markup between <marquee ...> and </marquee>
  bool rightwards = false;  // direction="right"; every other direction scrolls left
  int scroll_amount = 6;    // pixels per step
  int scroll_delay = 85;    // milliseconds per step, at least 60
  QString background;       // bgcolor, when given
};

// The first marquee of `body`.
Marquee first_marquee(const QString& body);

// The markup the view shows as a still page: scripts, styles sheets, frames, embedded
// objects, images, forms and marquees taken out, so that nothing runs and nothing further is
// fetched (the view fetches no resources in any case).
QString still_markup(const QString& body);

}  // namespace zhavik::news
