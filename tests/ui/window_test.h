#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <string>

#include "core/dictionary/code_book.h"
#include "ui/form1.h"

// What the window tests share: a QApplication on the offscreen platform (see
// window_test_main.cpp), widgets found by their names, small dictionaries, the File menu's dialogs.

template <class Widget>
Widget* child(const QWidget& window, const QString& name) {
  return window.findChild<Widget*>(name);
}

// Dictionaries from the lines of the three files, with CR LF line ends.
inline zhavik::CodeBook book_of(std::u16string pinyin_lines, std::u16string wubi86_lines = {},
                                std::u16string wubi98_lines = {}) {
  zhavik::DictionaryTexts texts;
  texts[zhavik::Kind::pinyin] = zhavik::pinyin_data_from(pinyin_lines);
  texts[zhavik::Kind::wubi86] = zhavik::wubi_data_from(wubi86_lines);
  texts[zhavik::Kind::wubi98] = zhavik::wubi_data_from(wubi98_lines);
  return zhavik::CodeBook(std::move(texts));
}

// What the input box and the four result boxes of the query hold.
inline QStringList query_boxes(const QWidget& form) {
  QStringList texts;
  for (int i = 0; i <= 4; ++i)
    texts << child<QLineEdit>(form, QStringLiteral("Text1_%1").arg(i))->text();
  return texts;
}

// What a user does in a File menu dialog: types `path` into its name box (or keeps the name
// it suggests when `path` is empty), picks the file type `filter` (when one is given), and
// answers each message box that follows with `button` where the box has it.
struct DialogAnswers {
  QString path;
  QString filter = {};
  QMessageBox::StandardButton button = QMessageBox::NoButton;
};

// Chooses the File menu's `item` and answers its dialog, then presses the button that
// accepts, as a user does. A dialog that stays open on that (a folder, a missing file) is
// cancelled, and so is any message box without the button; the texts of message boxes go to
// `messages`. Gives the dialog's name filters.
inline QStringList through_dialog(const zhavik::Form1& form, const char* item,
                                  const DialogAnswers& answers, QStringList* messages = nullptr) {
  QFileDialog* dialog = nullptr;
  QStringList filters;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (dialog && modal && modal != dialog) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      if (box && messages) *messages << box->text();
      if (QAbstractButton* button = box ? box->button(answers.button) : nullptr)
        button->click();
      else
        static_cast<QDialog*>(modal)->reject();
    }
    if (dialog || !qobject_cast<QFileDialog*>(modal)) return;
    // A user types once the name box has the keys, and presses Open right after: until then
    // the dialog's list, read while it shows, may still select names and write them into it.
    auto* name_box = modal->findChild<QLineEdit*>("fileNameEdit");
    if (!name_box->hasFocus()) return;
    dialog = static_cast<QFileDialog*>(modal);
    filters = dialog->nameFilters();
    QTimer::singleShot(0, dialog, [dialog, name_box, answers] {
      if (!answers.filter.isEmpty()) dialog->selectNameFilter(answers.filter);
      if (!answers.path.isEmpty()) name_box->setText(answers.path);
      static_cast<QDialog*>(dialog)->accept();
      if (dialog->isVisible()) dialog->reject();
    });
  });
  poll.start(10);
  child<QAction>(form, item)->trigger();
  return filters;
}

inline QStringList open_through_dialog(const zhavik::Form1& form, const QString& path,
                                       QStringList* messages = nullptr) {
  return through_dialog(form, "wenjian1_0", {path}, messages);
}
