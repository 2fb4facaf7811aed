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
      online_check_(std::make_unique<InterfaceOnlineCheck>()) {
  setObjectName(QStringLiteral("gg_Picture1"));
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  place_in_twips(this, 60, 8280, 9495, 420);
  hide();

  gg_Timer2 = new QTimer(this);
  gg_Timer2->setObjectName(QStringLiteral("gg_Timer2"));
  gg_Timer2->setInterval(500);
  gg_Timer2->start();

  gg_Picture2 = new QFrame(this);
  gg_Picture2->setObjectName(QStringLiteral("gg_Picture2"));
  gg_Picture2->setToolTip(QStringLiteral("隐藏"));
  place_in_twips(gg_Picture2, 0, 0, 2775, 375);

  gg_WebBrowser1 = new PageView(gg_Picture2);
  gg_WebBrowser1->setObjectName(QStringLiteral("gg_WebBrowser1"));
  place_in_twips(gg_WebBrowser1, -60, -60, 1455, 375);

  gg_Picture3 = new QLabel(gg_Picture2);
  gg_Picture3->setObjectName(QStringLiteral("gg_Picture3"));
  gg_Picture3->setPixmap(hide_button_image());
  gg_Picture3->setToolTip(QStringLiteral("隐藏"));
  gg_Picture3->setCursor(Qt::PointingHandCursor);
  place_in_twips(gg_Picture3, 2460, 0, 330, 330);

  gg_Label1 = new QLabel(QStringLiteral("点击显示最新娱乐资讯"), this);
  gg_Label1->setObjectName(QStringLiteral("gg_Label1"));
  QFont link_font = song_font(9);
  link_font.setUnderline(true);
  gg_Label1->setFont(link_font);
  set_colour(gg_Label1, QPalette::WindowText, QColor(0, 0, 255));
  gg_Label1->setCursor(Qt::PointingHandCursor);
  place_in_twips(gg_Label1, 3690, 60, 1815, 300);
  // The page face lies in front of the link: once it covers the strip, it hides the link.
  gg_Picture2->raise();

  connect(gg_Timer2, &QTimer::timeout, this, &NewsStrip::gg_Timer2_Timer);

  // The link and the strip's surface answer the pointer as it moves, pressed or not.
  setMouseTracking(true);
  gg_Label1->setMouseTracking(true);
  // The page face covers the strip: the pointer over it never reaches the surface below.
  gg_Picture2->setAttribute(Qt::WA_NoMousePropagation);
  for (QWidget* widget : {static_cast<QWidget*>(this), static_cast<QWidget*>(gg_Label1),
                          static_cast<QWidget*>(gg_Picture3)}) {
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
  return gg_WebBrowser1;
}

void NewsStrip::gg_Timer2_Timer() {
  std::uint32_t flags = 0;
  QString connection_name;
  if (!online_check_ || !online_check_->IsOnline(flags, connection_name)) return;
  ++step_;
  switch (step_) {
    case 5:
      gg_request();
      break;
    case 10:
      // The page is still loading: the sequence waits here, a tick at a time.
      if (gg_WebBrowser1->busy()) --step_;
      break;
    case 11:
      gg_fit_strip();
      break;
    case 12:
      gg_check_page();
      break;
    default:
      break;
  }
}

void NewsStrip::gg_request() {
  const QString an = an_to_send(gg_jl_an(gg_jl_place(source_.program_folder), short_date_text()));
  const QString id = id_from_program_path(source_.program_path);
  gg_WebBrowser1->navigate(request_address(source_.host, id, an));
}

void NewsStrip::gg_fit_strip() {
  setFrameStyle(QFrame::NoFrame);
  // Each value from the sizes as they stand at that moment: the page face covers the strip,
  // the hide button stands at its right edge over its full height, the page view reaches
  // 1200 twips past the page face's right and bottom edges, and the link is centred with 100
  // twips on either side.
  const float strip_width = twips(width());
  const float strip_height = twips(height());
  const float page_width = strip_width;
  const float page_height = strip_height;
  gg_Picture2->resize(pixels(page_width), pixels(page_height));
  gg_Picture3->setGeometry(pixels(strip_width - twips(gg_Picture3->width())), gg_Picture3->y(),
                           gg_Picture3->width(), pixels(strip_height));
  gg_WebBrowser1->resize(pixels(page_width + 1200.0f), pixels(page_height + 1200.0f));
  const float link_width = strip_width - 200.0f;
  gg_Label1->setGeometry(pixels(strip_width / 2.0f - link_width / 2.0f), gg_Label1->y(),
                         pixels(link_width), gg_Label1->height());
}

void NewsStrip::gg_check_page() {
  if (gg_WebBrowser1->body_markup().toLower().contains(QStringLiteral("marquee"))) show();
  gg_Timer2->stop();
}

void NewsStrip::gg_Label1_Click() {
  gg_Picture2->show();
}

void NewsStrip::gg_Picture3_Click() {
  gg_Picture2->hide();
}

void NewsStrip::gg_Label1_MouseMove() {
  gg_Label1->setText(kLinkHoverCaption);
}

void NewsStrip::gg_Picture1_MouseMove() {
  gg_Label1->setText(QString());
}

bool NewsStrip::eventFilter(QObject* watched, QEvent* event) {
  const bool link = watched == gg_Label1;
  const bool hide = watched == gg_Picture3;
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
