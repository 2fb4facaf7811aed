#include "kit/form_kit.h"

#include <QPushButton>
#include <QStringList>

QString indexed_name(const char* array, int index) {
  return QString::fromLatin1(array) + u'_' + QString::number(index);
}

QFont song_font(qreal points, bool bold) {
  QFont font;
  font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN"),
                    QStringLiteral("WenQuanYi Micro Hei")});
  font.setPointSizeF(points);
  // Every attribute set, so that a bold frame caption never passes on to the widgets inside.
  font.setWeight(bold ? QFont::Bold : QFont::Normal);
  font.setItalic(false);
  font.setUnderline(false);
  return font;
}

QFont window_default_font() {
  return song_font(9);
}

void set_colour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(role, colour);
  widget->setPalette(palette);
}

void set_button_colour(QPushButton* button, const QColor& colour) {
  set_colour(button, QPalette::Button, colour);
}

QColor button_colour(const QPushButton* button) {
  return button->palette().color(QPalette::Button);
}
