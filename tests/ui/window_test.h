#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <string>

#include "core/code_book.h"

// What the window tests share: a QApplication on the offscreen platform (see
// window_test_main.cpp), widgets found by their object names, small dictionaries.

template <class Widget>
Widget* child(const QWidget& window, const QString& name) {
  return window.findChild<Widget*>(name);
}

// Dictionaries from the lines of the three files, with CR LF line ends.
zhavik::CodeBook book_of(std::u16string pinyin_lines, std::u16string wubi86_lines = {},
                         std::u16string wubi98_lines = {});

// The colour the widget draws at `point`.
QColor drawn_colour(QWidget* widget, QPoint point);

inline QString qs(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}
