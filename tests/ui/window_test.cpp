#include "tests/ui/window_test.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>

zhavik::CodeBook book_of(std::u16string pinyin_lines, std::u16string wubi86_lines,
                         std::u16string wubi98_lines) {
  zhavik::DictionaryTexts texts;
  texts.pinyin_data = zhavik::pinyin_data_from(pinyin_lines);
  texts.wubi86_data = zhavik::wubi_data_from(wubi86_lines);
  texts.wubi98_data = zhavik::wubi_data_from(wubi98_lines);
  return zhavik::CodeBook(std::move(texts));
}

QColor drawn_colour(QWidget* widget, QPoint point) {
  return widget->grab().toImage().pixelColor(point);
}
