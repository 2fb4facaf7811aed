#pragma once

#include <QRect>
#include <QWidget>

namespace zhavik {

// The window is laid out in twips. Fifteen twips make one logical pixel, so the window keeps
// its proportions on high-DPI screens, where Qt scales logical pixels itself.
constexpr int twips_to_pixels(int twips) {
  return (twips >= 0 ? twips + 7 : twips - 7) / 15;
}

inline void place_in_twips(QWidget* widget, int left, int top, int width, int height) {
  widget->setGeometry(QRect(twips_to_pixels(left), twips_to_pixels(top), twips_to_pixels(width),
                            twips_to_pixels(height)));
}

inline void place_in_twips(QWidget* widget, const QRect& twips) {
  place_in_twips(widget, twips.x(), twips.y(), twips.width(), twips.height());
}

}  // namespace zhavik
