#include "kit/form_kit.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QStringList>

namespace zhavik {

QString indexed_name(const char* array, int index) {
  return QString::fromLatin1(array) + u'_' + QString::number(index);
}

void add_menu_items(QMenu* menu, const char* array, std::initializer_list<const char*> titles,
                    std::span<QAction*> items, const std::function<void(int)>& on_click) {
  Q_ASSERT(titles.size() == items.size());
  int index = 0;
  for (const char* title : titles) {
    QAction* item = *title ? menu->addAction(QString::fromUtf8(title)) : menu->addSeparator();
    item->setObjectName(indexed_name(array, index));
    QObject::connect(item, &QAction::triggered, menu, [on_click, index] { on_click(index); });
    items[index++] = item;
  }
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

}  // namespace zhavik
