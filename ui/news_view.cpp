// The news strip: the once-per-run news sequence driven by gg_Timer2 and the
// strip's two faces and link.

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <cmath>

#include "form1.h"
#include "news_request.h"
#include "page_view.h"
#include "site_settings.h"
#include "twips.h"

namespace zhavik {
namespace {

const QString kLinkHoverCaption = QStringLiteral(">>>> 点击显示最新娱乐资讯 <<<<");

int pixels(float twips) {
  return twips_to_pixels(static_cast<int>(std::lround(twips)));
}

float twips(int pixels) {
  return static_cast<float>(pixels) * 15.0f;
}

}  // namespace

void Form1::connect_news_strip() {
  news_source = {QString::fromUtf8(zhavik::site::kNewsHost), QCoreApplication::applicationDirPath(),
                 QCoreApplication::applicationFilePath()};
  online_check = std::make_unique<zhavik::news::InterfaceOnlineCheck>();
  connect(news.gg_Timer2, &QTimer::timeout, this, &Form1::gg_Timer2_Timer);

  // The link and the strip's surface answer the pointer as it moves, pressed or not.
  news.gg_Picture1->setMouseTracking(true);
  news.gg_Label1->setMouseTracking(true);
  // The page face covers the strip: the pointer over it never reaches the surface below.
  news.gg_Picture2->setAttribute(Qt::WA_NoMousePropagation);
  for (QWidget* widget :
       {static_cast<QWidget*>(news.gg_Picture1), static_cast<QWidget*>(news.gg_Label1),
        static_cast<QWidget*>(news.gg_Picture3)}) {
    widget->installEventFilter(this);
  }
}

void Form1::gg_Timer2_Timer() {
  std::uint32_t flags = 0;
  QString connection_name;
  if (!online_check || !online_check->IsOnline(flags, connection_name)) return;
  ++gg_Step;
  switch (gg_Step) {
    case 5:
      gg_request();
      break;
    case 10:
      if (news.gg_WebBrowser1->busy()) --gg_Step;
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

void Form1::gg_request() {
  using namespace zhavik::news;
  const QString an =
      remove_blanks(gg_jl_an(gg_jl_place(news_source.program_folder), short_date_text()));
  const QString id = id_from_program_path(news_source.program_path);
  news.gg_WebBrowser1->navigate(request_address(news_source.host, id, an));
}

void Form1::gg_fit_strip() {
  news.gg_Picture1->setFrameStyle(QFrame::NoFrame);
  const StripLayout layout =
      gg_layout(twips(news.gg_Picture1->width()), twips(news.gg_Picture1->height()),
                twips(news.gg_Picture3->width()));
  QWidget* page = news.gg_Picture2;
  page->resize(pixels(layout.page_width), pixels(layout.page_height));
  QWidget* hide = news.gg_Picture3;
  hide->setGeometry(pixels(layout.hide_button_left), hide->y(), hide->width(),
                    pixels(layout.hide_button_height));
  news.gg_WebBrowser1->resize(pixels(layout.browser_width), pixels(layout.browser_height));
  QWidget* link = news.gg_Label1;
  link->setGeometry(pixels(layout.link_left), link->y(), pixels(layout.link_width), link->height());
}

void Form1::gg_check_page() {
  if (news.gg_WebBrowser1->body_markup().toLower().contains(QStringLiteral("marquee")))
    news.gg_Picture1->show();
  news.gg_Timer2->stop();
}

void Form1::gg_Label1_Click() {
  news.gg_Picture2->show();
}

void Form1::gg_Picture3_Click() {
  news.gg_Picture2->hide();
}

void Form1::gg_Label1_MouseMove() {
  news.gg_Label1->setText(kLinkHoverCaption);
}

void Form1::gg_Picture1_MouseMove() {
  news.gg_Label1->setText(QString());
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  const bool link = watched == news.gg_Label1;
  const bool hide = watched == news.gg_Picture3;
  const bool strip = watched == news.gg_Picture1;
  if (!link && !hide && !strip) return QMainWindow::eventFilter(watched, event);
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
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace zhavik
