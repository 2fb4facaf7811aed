#pragma once

#include <QProxyStyle>

namespace zhavik {

// Draws push buttons as a flat area of their palette's button colour with a thin border, as
// the window's coloured buttons need: most styles shade the colour into a gradient, and some
// ignore it. Pressed, the colour darkens a little; with the focus, a dotted rectangle shows
// inside the border. The text stays in the button-text colour, readable on every colour.
class FlatButtonStyle : public QProxyStyle {
 public:
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget = nullptr) const override;
};

}  // namespace zhavik
