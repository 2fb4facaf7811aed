#include "window_icon.h"

#include <QPainter>
#include <QPixmap>

#include "form_kit.h"

QIcon window_icon() {
  QPixmap image(32, 32);
  image.fill(QColor(255, 0, 0));
  QPainter painter(&image);
  QFont font = song_font(1, true);
  font.setPixelSize(26);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("字"));
  return QIcon(image);
}
