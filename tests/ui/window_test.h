#pragma once

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <string>

#include "core/code_book.h"
#include "ui/form1.h"

// What the window tests share: a QApplication on the offscreen platform (see
// window_test_main.cpp), widgets found by their names, small dictionaries, File > open.

template <class Widget>
Widget* child(const QWidget& window, const QString& name) {
  return window.findChild<Widget*>(name);
}

// Dictionaries from the lines of the three files, with CR LF line ends.
inline zhavik::CodeBook book_of(std::u16string pinyin_lines, std::u16string wubi86_lines = {},
                                std::u16string wubi98_lines = {}) {
  zhavik::DictionaryTexts texts;
  texts.pinyin_data = zhavik::pinyin_data_from(pinyin_lines);
  texts.wubi86_data = zhavik::wubi_data_from(wubi86_lines);
  texts.wubi98_data = zhavik::wubi_data_from(wubi98_lines);
  return zhavik::CodeBook(std::move(texts));
}

// What the input box and the four result boxes of the query hold.
inline QStringList query_boxes(const QWidget& form) {
  QStringList texts;
  for (int i = 0; i <= 4; ++i)
    texts << child<QLineEdit>(form, QStringLiteral("Text1_%1").arg(i))->text();
  return texts;
}

// Chooses File > open, types `path` into the dialog's name box and presses Open, as a user
// does. A dialog that stays open on that (a folder, a missing file) is cancelled, and so is
// any message shown; the texts of message boxes go to `messages`. Gives the dialog's name
// filters.
inline QStringList open_through_dialog(const zhavik::Form1& form, const QString& path,
                                       QStringList* messages = nullptr) {
  QFileDialog* dialog = nullptr;
  QStringList filters;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (dialog && modal && modal != dialog) {
      if (auto* box = qobject_cast<QMessageBox*>(modal); box && messages) *messages << box->text();
      static_cast<QDialog*>(modal)->reject();
    }
    if (dialog || !qobject_cast<QFileDialog*>(modal)) return;
    // A user types once the name box has the keys, and presses Open right after: until then
    // the dialog's list, read while it shows, may still select names and write them into it.
    auto* name_box = modal->findChild<QLineEdit*>("fileNameEdit");
    if (!name_box->hasFocus()) return;
    dialog = static_cast<QFileDialog*>(modal);
    filters = dialog->nameFilters();
    QTimer::singleShot(0, dialog, [dialog, name_box, path] {
      name_box->setText(path);
      static_cast<QDialog*>(dialog)->accept();
      if (dialog->isVisible()) dialog->reject();
    });
  });
  poll.start(10);
  child<QAction>(form, "wenjian1_0")->trigger();
  return filters;
}
