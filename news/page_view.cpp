#include "page_view.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPainter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QtMath>
#include <utility>

#include "page_markup.h"

namespace zhavik::news {
namespace {

// A browser's default margin around the page's body.
constexpr int kPageMargin = 8;

// A still page that fetches nothing the markup names: no images, no style sheets.
class StillPage : public QTextBrowser {
 public:
  explicit StillPage(QWidget* parent) : QTextBrowser(parent) {
    setFrameStyle(QFrame::NoFrame);
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setFocusPolicy(Qt::NoFocus);
    setContextMenuPolicy(Qt::NoContextMenu);
    document()->setDocumentMargin(kPageMargin);
  }
  QVariant loadResource(int, const QUrl&) override { return {}; }
};

}  // namespace

class MarqueeBand::Document : public QTextDocument {
 public:
  using QTextDocument::QTextDocument;

 protected:
  QVariant loadResource(int, const QUrl&) override { return {}; }
};

PageView::PageView(QWidget* parent)
    : QWidget(parent),
      manager_(new QNetworkAccessManager(this)),
      time_limit_(new QTimer(this)),
      page_(new StillPage(this)),
      band_(new MarqueeBand(this)) {
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Base);
  manager_->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
  time_limit_->setSingleShot(true);
  time_limit_->setInterval(kTimeLimitMs);
  connect(time_limit_, &QTimer::timeout, this, [this] { end_load(false); });
  band_->hide();
  lay_out();
}

PageView::~PageView() {
  if (reply_) {
    reply_->disconnect(this);
    reply_->abort();
  }
}

void PageView::set_time_limit_ms(int milliseconds) {
  time_limit_->setInterval(milliseconds);
}

MarqueeBand* PageView::marquee() const {
  return band_->running() ? band_ : nullptr;
}

void PageView::navigate(const QByteArray& address) {
  drop_reply();
  received_.clear();
  content_type_.clear();
  body_.clear();
  show_page();

  const QUrl url = QUrl::fromEncoded(address, QUrl::StrictMode);
  if (!url.isValid() || (url.scheme() != u"http" && url.scheme() != u"https")) return;
  QNetworkRequest request(url);
  request.setMaximumRedirectsAllowed(kMostRedirects);
  // The body as sent, never inflated: the cap then bounds what a compressed answer can
  // grow to, since Qt leaves an answer alone when the request names its own encodings.
  request.setRawHeader("Accept-Encoding", "identity");
  reply_ = manager_->get(request);
  // What Qt holds for us between two reads; the rest waits in the connection.
  reply_->setReadBufferSize(64 * 1024);
  connect(reply_, &QNetworkReply::metaDataChanged, this, [this] { check_size(); });
  connect(reply_, &QNetworkReply::readyRead, this, [this] { take_data(); });
  connect(reply_, &QNetworkReply::finished, this, [this] {
    if (!reply_) return;
    take_data();
    if (!reply_) return;
    const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    end_load(reply_->error() == QNetworkReply::NoError && status >= 200 && status < 300);
  });
  time_limit_->start();
}

void PageView::check_size() {
  if (!reply_) return;
  content_type_ = reply_->header(QNetworkRequest::ContentTypeHeader).toByteArray();
  bool known = false;
  const qint64 length = reply_->header(QNetworkRequest::ContentLengthHeader).toLongLong(&known);
  if (known && length > most_bytes_) end_load(false);
}

void PageView::take_data() {
  if (!reply_) return;
  received_ += reply_->read(most_bytes_ + 1 - received_.size());
  if (received_.size() > most_bytes_) end_load(false);
}

void PageView::drop_reply() {
  time_limit_->stop();
  QNetworkReply* reply = std::exchange(reply_, nullptr);
  if (!reply) return;
  reply->disconnect(this);
  if (reply->isRunning()) reply->abort();
  reply->deleteLater();
}

void PageView::end_load(bool loaded) {
  drop_reply();
  body_ = loaded ? body_inner_html(decode_page(received_, content_type_)) : QString();
  received_.clear();
  received_.squeeze();
  show_page();
}

void PageView::show_page() {
  page_->setHtml(still_markup(body_));
  const Marquee marquee = first_marquee(body_);
  if (marquee.found) {
    band_->set_content(still_markup(marquee.content), marquee.rightwards, marquee.scroll_amount,
                       marquee.scroll_delay, marquee.background);
    band_->show();
    lay_out();
    band_->start();
  } else {
    band_->stop();
    band_->hide();
    lay_out();
  }
}

void PageView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  lay_out();
}

void PageView::lay_out() {
  // The marquee stands at the top of the body, the rest of the page below it.
  if (band_->isVisibleTo(this)) {
    const int band_height = band_->content_height();
    band_->setGeometry(kPageMargin, kPageMargin, qMax(0, width() - 2 * kPageMargin), band_height);
    const int top = kPageMargin + band_height;
    page_->setGeometry(0, top, width(), qMax(0, height() - top));
  } else {
    page_->setGeometry(rect());
  }
}

MarqueeBand::MarqueeBand(QWidget* parent)
    : QWidget(parent), document_(new Document(this)), timer_(new QTimer(this)) {
  document_->setDocumentMargin(0);
  document_->setTextWidth(-1);
  setAttribute(Qt::WA_OpaquePaintEvent);
  connect(timer_, &QTimer::timeout, this, &MarqueeBand::step);
}

MarqueeBand::~MarqueeBand() = default;

void MarqueeBand::set_content(const QString& markup, bool rightwards, int scroll_amount,
                              int scroll_delay, const QString& background) {
  document_->setDefaultFont(font());
  document_->setHtml(markup);
  document_->setTextWidth(-1);
  rightwards_ = rightwards;
  amount_ = scroll_amount;
  QPalette colours = palette();
  const QColor ground = QColor::fromString(background);
  colours.setColor(QPalette::Window, ground.isValid() ? ground
                                     : parentWidget()
                                         ? parentWidget()->palette().color(QPalette::Base)
                                         : QColor(Qt::white));
  setPalette(colours);
  timer_->setInterval(scroll_delay);
}

void MarqueeBand::start() {
  restart_position();
  timer_->start();
  update();
}

void MarqueeBand::stop() {
  timer_->stop();
}

bool MarqueeBand::running() const {
  return timer_->isActive();
}

int MarqueeBand::content_height() const {
  return qCeil(document_->size().height());
}

void MarqueeBand::restart_position() {
  const int content_width = qCeil(document_->idealWidth());
  offset_ = rightwards_ ? -content_width : width();
}

void MarqueeBand::step() {
  const int content_width = qCeil(document_->idealWidth());
  offset_ += rightwards_ ? amount_ : -amount_;
  if (rightwards_ ? offset_ > width() : offset_ + content_width < 0) restart_position();
  update();
}

void MarqueeBand::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  painter.translate(offset_, 0);
  document_->drawContents(&painter);
}

}  // namespace zhavik::news
