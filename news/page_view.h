#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QWidget>

class QNetworkAccessManager;
class QNetworkReply;
class QTextBrowser;
class QTimer;

namespace zhavik::news {

class MarqueeBand;

// The news strip's page view: loads one page over HTTP and shows it, without an embedded
// browser engine. Nothing of the page runs and nothing further is fetched: no scripts, no
// images, no style sheets, no frames. A <marquee> scrolls as a browser shows it. The load
// is bounded: at most kMostBytes of body, kMostRedirects redirects, and kTimeLimitMs in all;
// beyond any of these it ends as failed.
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
  bool busy() const { return reply_ != nullptr; }
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
  void resizeEvent(QResizeEvent* event) override;

 private:
  void check_size();
  void take_data();
  void end_load(bool loaded);
  // Stops the load in progress, if any, and lets its reply go.
  void drop_reply();
  void show_page();
  void lay_out();

  QNetworkAccessManager* manager_;
  QNetworkReply* reply_ = nullptr;
  QTimer* time_limit_;
  qint64 most_bytes_ = kMostBytes;
  QByteArray received_;
  QByteArray content_type_;
  QString body_;
  QTextBrowser* page_;
  MarqueeBand* band_;
};

// One marquee's content on a band of the page, moved by scroll_amount pixels every
// scroll_delay milliseconds: it comes in at one edge, crosses and leaves at the other, and
// starts again.
class MarqueeBand : public QWidget {
 public:
  explicit MarqueeBand(QWidget* parent = nullptr);
  ~MarqueeBand() override;

  // The content to scroll: `markup` drawn as the still page draws it, the direction, the
  // step in pixels and the time between steps, and the ground colour (a colour name or
  // "#rrggbb"; the page's ground when empty or not a colour).
  void set_content(const QString& markup, bool rightwards, int scroll_amount, int scroll_delay,
                   const QString& background);
  // Brings the content in at its starting edge and scrolls it.
  void start();
  void stop();
  bool running() const;
  // One step of the scrolling, as the band's timer does it.
  void step();
  // Where the content's left edge stands, in pixels from the band's left edge.
  int offset() const { return offset_; }
  // The height the content needs.
  int content_height() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void restart_position();

  class Document;
  Document* document_;
  QTimer* timer_;
  bool rightwards_ = false;
  int amount_ = 6;
  int offset_ = 0;
};

}  // namespace zhavik::news
