#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <string>

#include "core/code_book.h"
#include "ui/form1.h"

// What the window tests share: a QApplication on the offscreen platform (see
// window_test_main.cpp), widgets found by their names, small dictionaries, the File menu's
// dialogs and the message boxes answered.

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

// Runs `act` and answers each message box it shows as a user would: with the button `answer`
// where the box has it, else by closing the box. Gives the texts of the boxes.
inline QStringList answering_boxes(const std::function<void()>& act,
                                   QMessageBox::StandardButton answer = QMessageBox::NoButton) {
  QStringList texts;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    texts << box->text();
    if (QAbstractButton* button = box->button(answer))
      button->click();
    else
      box->reject();
  });
  poll.start(10);
  act();
  return texts;
}

// Chooses the File menu's `item`, types `path` into its file dialog's name box (or keeps the
// name the dialog suggests when `path` is empty), picks the file type `filter` when one is
// given, and presses the button that accepts, as a user does. A dialog that stays open on
// that (a folder, a missing file) is cancelled. Gives the dialog's name filters.
inline QStringList through_dialog(const zhavik::Form1& form, const char* item, const QString& path,
                                  const QString& filter = {}) {
  QFileDialog* dialog = nullptr;
  QStringList filters;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (dialog || !qobject_cast<QFileDialog*>(modal)) return;
    // A user types once the name box has the keys, and presses the button right after: until
    // then the dialog's list, read while it shows, may still select names and write them into
    // the box.
    auto* name_box = modal->findChild<QLineEdit*>("fileNameEdit");
    if (!name_box->hasFocus()) return;
    dialog = static_cast<QFileDialog*>(modal);
    filters = dialog->nameFilters();
    QTimer::singleShot(0, dialog, [dialog, name_box, path, filter] {
      if (!filter.isEmpty()) dialog->selectNameFilter(filter);
      if (!path.isEmpty()) name_box->setText(path);
      static_cast<QDialog*>(dialog)->accept();
      if (dialog->isVisible()) dialog->reject();
    });
  });
  poll.start(10);
  child<QAction>(form, item)->trigger();
  return filters;
}

// File > open with `path`, through the dialog; the texts of the message boxes shown go to
// `messages`.
inline QStringList open_through_dialog(const zhavik::Form1& form, const QString& path,
                                       QStringList* messages = nullptr) {
  QStringList filters;
  const QStringList shown =
      answering_boxes([&] { filters = through_dialog(form, "wenjian1_0", path); });
  if (messages) *messages = shown;
  return filters;
}
