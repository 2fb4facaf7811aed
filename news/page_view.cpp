#include "news/page_view.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextBrowser>
#include <QTimer>
#include <QToolTip>
#include <QtMath>
#include <algorithm>

#include "news/http_fetch.h"
#include "news/page_markup.h"

namespace zhavik::news {
namespace {

// A browser's default margin around the page's body.
constexpr int kPageMargin = 8;
// The most characters of marquee text measured and drawn as one piece.
constexpr qsizetype kPieceLength = 32;

// A still page that fetches nothing the markup names. The markup is made by page_model.h
// and names nothing, but a resource that slipped through would not be loaded either.
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

PageView::PageView(QWidget* parent)
    : QWidget(parent),
      fetch_(new HttpFetch(this)),
      time_limit_(new QTimer(this)),
      page_(new StillPage(this)),
      band_(new MarqueeBand(this)) {
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Base);
  time_limit_->setSingleShot(true);
  time_limit_->setInterval(kTimeLimitMs);
  connect(time_limit_, &QTimer::timeout, this, [this] {
    fetch_->stop();
    end_load(false, {}, {});
  });
  band_->hide();
  lay_out();
}

PageView::~PageView() = default;

bool PageView::busy() const {
  return fetch_->running();
}

void PageView::set_time_limit_ms(int milliseconds) {
  time_limit_->setInterval(milliseconds);
}

MarqueeBand* PageView::marquee() const {
  return band_->running() ? band_ : nullptr;
}

void PageView::navigate(const QByteArray& address) {
  fetch_->stop();
  time_limit_->stop();
  body_.clear();
  show_page();

  const QUrl url = QUrl::fromEncoded(address, QUrl::StrictMode);
  if (!url.isValid() || (url.scheme() != u"http" && url.scheme() != u"https")) return;
  fetch_->start(url, most_bytes_, kMostRedirects,
                [this](bool ok, const QByteArray& bytes, const QByteArray& content_type) {
                  end_load(ok, bytes, content_type);
                });
  if (fetch_->running()) time_limit_->start();
}

void PageView::end_load(bool loaded, const QByteArray& bytes, const QByteArray& content_type) {
  time_limit_->stop();
  body_ = loaded ? body_inner_html(decode_page(bytes, content_type)) : QString();
  show_page();
}

void PageView::show_page() {
  const PageModel model = reduce_page(body_.toStdU16String());
  page_->setHtml(QString::fromStdU16String(runs_markup(model.still)));
  if (model.marquee.found) {
    band_->set_content(model.marquee);
    band_->show();
    lay_out();
    band_->start();
  } else {
    band_->stop();
    band_->hide();
    lay_out();
  }
}

bool PageView::event(QEvent* event) {
  // The page shows no tooltip, and a tooltip asked for over it goes no further: the page
  // face below it has the hide button's "隐藏", which the page's text must not show.
  if (event->type() == QEvent::ToolTip) {
    QToolTip::hideText();
    event->accept();
    return true;
  }
  return QWidget::event(event);
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

MarqueeBand::MarqueeBand(QWidget* parent) : QWidget(parent), timer_(new QTimer(this)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  connect(timer_, &QTimer::timeout, this, &MarqueeBand::step);
}

MarqueeBand::~MarqueeBand() = default;

void MarqueeBand::set_content(const PageMarquee& marquee) {
  pieces_.clear();
  width_ = 0;
  const QColor ink = parentWidget() ? parentWidget()->palette().color(QPalette::Text)
                                    : palette().color(QPalette::WindowText);
  for (const TextRun& run : marquee.runs) {
    QFont piece_font = font();
    piece_font.setBold(run.style.bold);
    piece_font.setItalic(run.style.italic);
    const QFontMetricsF metrics(piece_font);
    const QString text = QString::fromStdU16String(run.text);
    for (qsizetype at = 0; at < text.size();) {
      qsizetype length = qMin(kPieceLength, text.size() - at);
      // A surrogate pair stays in one piece.
      if (at + length < text.size() && text[at + length - 1].isHighSurrogate()) ++length;
      Piece piece{text.mid(at, length), piece_font,
                  run.style.colour ? QColor::fromRgb(*run.style.colour) : ink, width_, 0};
      piece.width = metrics.horizontalAdvance(piece.text);
      piece.ascent = metrics.ascent();
      width_ += piece.width;
      pieces_.push_back(std::move(piece));
      at += length;
    }
  }
  rightwards_ = marquee.rightwards;
  amount_ = marquee.scroll_amount;
  QPalette colours = palette();
  colours.setColor(QPalette::Window, marquee.background ? QColor::fromRgb(*marquee.background)
                                     : parentWidget()
                                         ? parentWidget()->palette().color(QPalette::Base)
                                         : QColor(Qt::white));
  setPalette(colours);
  timer_->setInterval(marquee.scroll_delay);
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
  QFont bold = font();
  bold.setBold(true);
  return qCeil(qMax(QFontMetricsF(font()).height(), QFontMetricsF(bold).height()));
}

int MarqueeBand::content_width() const {
  return qCeil(width_);
}

void MarqueeBand::restart_position() {
  offset_ = rightwards_ ? -content_width() : width();
}

void MarqueeBand::step() {
  offset_ += rightwards_ ? amount_ : -amount_;
  if (rightwards_ ? offset_ > width() : offset_ + content_width() < 0) restart_position();
  update();
}

void MarqueeBand::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  // The part of the text in view, in the text's own units.
  const qreal first = -offset_;
  const qreal last = first + width();
  auto piece = std::partition_point(pieces_.begin(), pieces_.end(),
                                    [first](const Piece& p) { return p.left + p.width < first; });
  pieces_drawn_ = 0;
  for (; piece != pieces_.end() && piece->left <= last; ++piece, ++pieces_drawn_) {
    painter.setFont(piece->font);
    painter.setPen(piece->colour);
    painter.drawText(QPointF(offset_ + piece->left, piece->ascent), piece->text);
  }
}

}  // namespace zhavik::news
