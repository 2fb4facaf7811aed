#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>
#include <vector>

#include "news/page_model.h"

class QTextBrowser;
class QTimer;

namespace zhavik::news {

class HttpFetch;
class MarqueeBand;

// The news strip's page view: loads one page over HTTP and shows it, without an embedded
// browser engine. Nothing of the page runs and nothing further is fetched: no scripts, no
// images, no style sheets, no frames. No widget sees the page's own markup either: the page
// is reduced to a bounded model (page_model.h), and the still page shows rich text made from
// that model alone, so no nesting, table or size of the page reaches Qt's layout. A
// <marquee> scrolls as a browser shows it. The load is bounded: at most kMostBytes read,
// headers included, kMostRedirects redirects, and kTimeLimitMs in all; beyond any of these
// it ends as failed, and its connection is closed at once.
class PageView : public QWidget {
 public:
  static constexpr qint64 kMostBytes = 1024 * 1024;
  static constexpr int kMostRedirects = 5;
  static constexpr int kTimeLimitMs = 30'000;

  explicit PageView(QWidget* parent = nullptr);
  ~PageView() override;

  // Starts loading `address` (an HTTP or HTTPS address) and returns at once. Any load still
  // going is given up. An address that cannot be loaded ends the load at once, as failed.
  void navigate(const QByteArray& address);
  // True while a load is in progress.
  bool busy() const;
  // The markup of the page's body, as the page spells it, from the last load that ended
  // with a 2xx answer within the bounds; empty after a failed load or before any load.
  QString body_markup() const { return body_; }

  // The bounds, made smaller by tests.
  void set_time_limit_ms(int milliseconds);
  void set_most_bytes(qint64 bytes) { most_bytes_ = bytes; }

  // The scrolling text of the page's first marquee; null when the page has none.
  MarqueeBand* marquee() const;
  // The still part of the page.
  QTextBrowser* still_page() const { return page_; }

 protected:
  bool event(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void end_load(bool loaded, const QByteArray& bytes, const QByteArray& content_type);
  void show_page();
  void lay_out();

  HttpFetch* fetch_;
  QTimer* time_limit_;
  qint64 most_bytes_ = kMostBytes;
  QString body_;
  QTextBrowser* page_;
  MarqueeBand* band_;
};

// One marquee's text on a band of the page, moved by scroll_amount pixels every
// scroll_delay milliseconds: it comes in at one edge, crosses and leaves at the other, and
// starts again. The text is measured once, in short pieces, and each drawing draws only
// the pieces in view, so a long text costs no more per step than a short one.
class MarqueeBand : public QWidget {
 public:
  explicit MarqueeBand(QWidget* parent = nullptr);
  ~MarqueeBand() override;

  // The marquee to scroll: its styled text, direction, step in pixels, time between steps
  // and ground colour (the page's ground when it has none).
  void set_content(const PageMarquee& marquee);
  // Brings the content in at its starting edge and scrolls it.
  void start();
  void stop();
  bool running() const;
  // One step of the scrolling, as the band's timer does it.
  void step();
  // Where the content's left edge stands, in pixels from the band's left edge.
  int offset() const { return offset_; }
  // The height and width the text needs.
  int content_height() const;
  int content_width() const;
  // The pieces of text the last drawing drew.
  int pieces_drawn() const { return pieces_drawn_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void restart_position();

  struct Piece {
    QString text;
    QFont font;
    QColor colour;
    qreal left = 0;  // from the text's start
    qreal width = 0;
    qreal ascent = 0;  // of the font, kept so that a scroll step measures nothing
  };
  std::vector<Piece> pieces_;
  qreal width_ = 0;
  QTimer* timer_;
  bool rightwards_ = false;
  int amount_ = 6;
  int offset_ = 0;
  int pieces_drawn_ = 0;
};

}  // namespace zhavik::news
