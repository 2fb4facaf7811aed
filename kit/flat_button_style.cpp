#include "kit/flat_button_style.h"

#include <QPainter>
#include <QStyleOption>

namespace zhavik {

void FlatButtonStyle::drawControl(ControlElement element, const QStyleOption* option,
                                  QPainter* painter, const QWidget* widget) const {
  if (element != CE_PushButtonBevel) {
    QProxyStyle::drawControl(element, option, painter, widget);
    return;
  }
  const bool pressed = option->state & (State_Sunken | State_On);
  QColor fill = option->palette.color(QPalette::Button);
  if (pressed) fill = fill.darker(120);

  painter->save();
  painter->fillRect(option->rect, fill);
  const QRect edge = option->rect.adjusted(0, 0, -1, -1);
  painter->setPen(pressed ? QColor(64, 64, 64) : QColor(128, 128, 128));
  painter->drawRect(edge);
  if (option->state & State_HasFocus) {
    painter->setPen(QPen(option->palette.color(QPalette::ButtonText), 1, Qt::DotLine));
    painter->drawRect(edge.adjusted(2, 2, -2, -2));
  }
  painter->restore();
}

}  // namespace zhavik
