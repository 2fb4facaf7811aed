#include "news_strip.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

#include "form_kit.h"
#include "page_view.h"
#include "twips.h"

namespace {

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

}  // namespace

NewsStrip build_news_strip(QWidget* client) {
  NewsStrip strip;

  strip.gg_Picture1 = new QFrame(client);
  strip.gg_Picture1->setObjectName(QStringLiteral("gg_Picture1"));
  strip.gg_Picture1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  place_in_twips(strip.gg_Picture1, 60, 8280, 9495, 420);
  strip.gg_Picture1->hide();

  strip.gg_Timer2 = new QTimer(strip.gg_Picture1);
  strip.gg_Timer2->setObjectName(QStringLiteral("gg_Timer2"));
  strip.gg_Timer2->setInterval(500);
  strip.gg_Timer2->start();

  strip.gg_Picture2 = new QFrame(strip.gg_Picture1);
  strip.gg_Picture2->setObjectName(QStringLiteral("gg_Picture2"));
  strip.gg_Picture2->setToolTip(QStringLiteral("隐藏"));
  place_in_twips(strip.gg_Picture2, 0, 0, 2775, 375);

  strip.gg_WebBrowser1 = new zhavik::news::PageView(strip.gg_Picture2);
  strip.gg_WebBrowser1->setObjectName(QStringLiteral("gg_WebBrowser1"));
  place_in_twips(strip.gg_WebBrowser1, -60, -60, 1455, 375);

  strip.gg_Picture3 = new QLabel(strip.gg_Picture2);
  strip.gg_Picture3->setObjectName(QStringLiteral("gg_Picture3"));
  strip.gg_Picture3->setPixmap(hide_button_image());
  strip.gg_Picture3->setToolTip(QStringLiteral("隐藏"));
  strip.gg_Picture3->setCursor(Qt::PointingHandCursor);
  place_in_twips(strip.gg_Picture3, 2460, 0, 330, 330);

  strip.gg_Label1 = new QLabel(QStringLiteral("点击显示最新娱乐资讯"), strip.gg_Picture1);
  strip.gg_Label1->setObjectName(QStringLiteral("gg_Label1"));
  QFont link_font = song_font(9);
  link_font.setUnderline(true);
  strip.gg_Label1->setFont(link_font);
  set_colour(strip.gg_Label1, QPalette::WindowText, QColor(0, 0, 255));
  strip.gg_Label1->setCursor(Qt::PointingHandCursor);
  place_in_twips(strip.gg_Label1, 3690, 60, 1815, 300);
  // The page face lies in front of the link: once it covers the strip, it hides the link.
  strip.gg_Picture2->raise();

  return strip;
}

StripLayout gg_layout(float strip_width, float strip_height, float hide_button_width) {
  // Each value from the sizes as they stand at that moment, in the order of the table.
  StripLayout layout{};
  layout.page_width = strip_width;
  layout.page_height = strip_height;
  layout.hide_button_left = strip_width - hide_button_width;
  layout.hide_button_height = strip_height;
  layout.browser_width = layout.page_width + 1200.0f;
  layout.browser_height = layout.page_height + 1200.0f;
  layout.link_width = strip_width - 200.0f;
  layout.link_left = strip_width / 2.0f - layout.link_width / 2.0f;
  return layout;
}
