#include "news/news_strip.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <cmath>

#include "kit/form_kit.h"
#include "kit/twips.h"
#include "news/news_request.h"
#include "news/page_view.h"
#include "site_settings.h"

namespace zhavik::news {

namespace {

const QString kLinkHoverCaption = QStringLiteral(">>>> 点击显示最新娱乐资讯 <<<<");

// A light X-shaped cross in a small square on a dark ground.
QPixmap hide_button_image() {
  QPixmap image(20, 20);
  image.fill(QColor(64, 64, 64));
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(224, 224, 224), 1));
  painter.drawRect(QRectF(4.5, 4.5, 11, 11));
  painter.setPen(QPen(QColor(240, 240, 240), 2));
  painter.drawLine(QPointF(7, 7), QPointF(13, 13));
  painter.drawLine(QPointF(13, 7), QPointF(7, 13));
  return image;
}

// The layout works in twips and single precision, as the form's own arithmetic does, and
// rounds to pixels only when a size is set.
int pixels(float twips) {
  return twips_to_pixels(static_cast<int>(std::lround(twips)));
}

float twips(int pixels) {
  return static_cast<float>(pixels) * 15.0f;
}

}  // namespace

NewsStrip::NewsStrip(QWidget* client)
    : QFrame(client),
      source_{QString::fromUtf8(zhavik::site::kNewsHost), QCoreApplication::applicationDirPath(),
              QCoreApplication::applicationFilePath()},
      online_check_(std::make_unique<SystemOnlineCheck>()) {
  setObjectName(QStringLiteral("gg_Picture1"));
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  place_in_twips(this, 60, 8280, 9495, 420);
  hide();

  sequence_timer_ = new QTimer(this);
  sequence_timer_->setObjectName(QStringLiteral("gg_Timer2"));
  sequence_timer_->setInterval(500);
  sequence_timer_->start();

  page_face_ = new QFrame(this);
  page_face_->setObjectName(QStringLiteral("gg_Picture2"));
  page_face_->setToolTip(QStringLiteral("隐藏"));
  place_in_twips(page_face_, 0, 0, 2775, 375);

  page_view_ = new PageView(page_face_);
  page_view_->setObjectName(QStringLiteral("gg_WebBrowser1"));
  place_in_twips(page_view_, -60, -60, 1455, 375);

  hide_button_ = new QLabel(page_face_);
  hide_button_->setObjectName(QStringLiteral("gg_Picture3"));
  hide_button_->setPixmap(hide_button_image());
  hide_button_->setToolTip(QStringLiteral("隐藏"));
  hide_button_->setCursor(Qt::PointingHandCursor);
  place_in_twips(hide_button_, 2460, 0, 330, 330);

  link_ = new QLabel(QStringLiteral("点击显示最新娱乐资讯"), this);
  link_->setObjectName(QStringLiteral("gg_Label1"));
  QFont link_font = song_font(9);
  link_font.setUnderline(true);
  link_->setFont(link_font);
  set_colour(link_, QPalette::WindowText, QColor(0, 0, 255));
  link_->setCursor(Qt::PointingHandCursor);
  place_in_twips(link_, 3690, 60, 1815, 300);
  // The page face lies in front of the link: once it covers the strip, it hides the link.
  page_face_->raise();

  connect(sequence_timer_, &QTimer::timeout, this, &NewsStrip::gg_Timer2_Timer);

  // The link and the strip's surface answer the pointer as it moves, pressed or not.
  setMouseTracking(true);
  link_->setMouseTracking(true);
  // The page face covers the strip: the pointer over it never reaches the surface below.
  page_face_->setAttribute(Qt::WA_NoMousePropagation);
  for (QWidget* widget : {static_cast<QWidget*>(this), static_cast<QWidget*>(link_),
                          static_cast<QWidget*>(hide_button_)}) {
    widget->installEventFilter(this);
  }
}

NewsStrip::~NewsStrip() = default;

void NewsStrip::set_source(Source source) {
  source_ = std::move(source);
}

void NewsStrip::set_online_check(std::unique_ptr<OnlineCheck> check) {
  online_check_ = std::move(check);
}

QWidget* NewsStrip::page_view() const {
  return page_view_;
}

void NewsStrip::gg_Timer2_Timer() {
  std::uint32_t flags = 0;
  QString connection_name;
  if (!online_check_ || !online_check_->IsOnline(flags, connection_name)) return;
  ++step_;
  switch (step_) {
    case 5:
      send_request();
      break;
    case 10:
      // The page is still loading: the sequence waits here, a tick at a time.
      if (page_view_->busy()) --step_;
      break;
    case 11:
      fit_to_strip();
      break;
    case 12:
      check_page();
      break;
    default:
      break;
  }
}

void NewsStrip::send_request() {
  const QString an = an_to_send(gg_jl_an(gg_jl_place(source_.program_folder), short_date_text()));
  const QString id = id_from_program_path(source_.program_path);
  page_view_->navigate(request_address(source_.host, id, an));
}

void NewsStrip::fit_to_strip() {
  setFrameStyle(QFrame::NoFrame);
  // Each value from the sizes as they stand at that moment: the page face covers the strip,
  // the hide button stands at its right edge over its full height, the page view reaches
  // 1200 twips past the page face's right and bottom edges, and the link is centred with 100
  // twips on either side.
  const float strip_width = twips(width());
  const float strip_height = twips(height());
  const float page_width = strip_width;
  const float page_height = strip_height;
  page_face_->resize(pixels(page_width), pixels(page_height));
  hide_button_->setGeometry(pixels(strip_width - twips(hide_button_->width())), hide_button_->y(),
                            hide_button_->width(), pixels(strip_height));
  page_view_->resize(pixels(page_width + 1200.0f), pixels(page_height + 1200.0f));
  const float link_width = strip_width - 200.0f;
  link_->setGeometry(pixels(strip_width / 2.0f - link_width / 2.0f), link_->y(), pixels(link_width),
                     link_->height());
}

void NewsStrip::check_page() {
  if (page_view_->body_markup().toLower().contains(QStringLiteral("marquee"))) show();
  sequence_timer_->stop();
}

void NewsStrip::gg_Label1_Click() {
  page_face_->show();
}

void NewsStrip::gg_Picture3_Click() {
  page_face_->hide();
}

void NewsStrip::gg_Label1_MouseMove() {
  link_->setText(kLinkHoverCaption);
}

void NewsStrip::gg_Picture1_MouseMove() {
  link_->setText(QString());
}

bool NewsStrip::eventFilter(QObject* watched, QEvent* event) {
  const bool link = watched == link_;
  const bool hide = watched == hide_button_;
  const bool strip = watched == this;
  if (!link && !hide && !strip) return QFrame::eventFilter(watched, event);
  if (event->type() == QEvent::MouseMove) {
    if (link) gg_Label1_MouseMove();
    if (strip) gg_Picture1_MouseMove();
    return link || strip;
  }
  if (event->type() == QEvent::MouseButtonRelease && (link || hide)) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const auto* widget = static_cast<QWidget*>(watched);
    // A click: the left button let go over the control it was pressed on.
    if (mouse->button() == Qt::LeftButton && widget->rect().contains(mouse->position().toPoint())) {
      if (link) gg_Label1_Click();
      if (hide) gg_Picture3_Click();
      return true;
    }
  }
  return QFrame::eventFilter(watched, event);
}

}  // namespace zhavik::news
