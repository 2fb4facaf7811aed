#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <span>

class QAction;
class QMenu;
class QPushButton;
class QWidget;

namespace zhavik {

// The small vocabulary the window is built with: names, fonts and colours.

// Whether a handler's index names an element of its control array.
template <class Array>
bool holds_index(const Array& array, int index) {
  return index >= 0 && static_cast<std::size_t>(index) < array.size();
}

// Members of a control array are named after the array and their index: "Command3_12".
QString indexed_name(const char* array, int index);

// Fills a menu with the items of a control array, an empty title standing for a separator.
// Each item is named after the array and its index and reports that index when chosen.
void add_menu_items(QMenu* menu, const char* array, std::initializer_list<const char*> titles,
                    std::span<QAction*> items, const std::function<void(int)>& on_click);

// A Song face in the given size. The Windows font "宋体" is not found under that name
// elsewhere, so the nearest Song faces follow, and a Chinese sans face as the last resort,
// so that no character shows as an empty box.
QFont song_font(qreal points, bool bold = false);

// The font of every widget for which none is chosen.
QFont window_default_font();

// Sets one colour of a widget's palette, for every state, leaving the others inherited.
void set_colour(QWidget* widget, QPalette::ColorRole role, const QColor& colour);

// A button's background colour, drawn flat by FlatButtonStyle.
void set_button_colour(QPushButton* button, const QColor& colour);
QColor button_colour(const QPushButton* button);

}  // namespace zhavik
