#pragma once

#include <QWidget>
#include <array>

#include "core/dictionary/code_book.h"

class QLineEdit;
class QPushButton;
class QTimer;

namespace zhavik {

class WidgetMaker;

// The query: the input box Text1(0) under its prompt Label1(0) and the button Command4, and
// in the frame Frame1(3) the character's pinyin, 86 and 98 Wubi codes and area/position code
// in the read-only boxes Text1(1..4) beside their captions Label1(1..3, 9). Timer1 puts the
// focus into the input box once, just after the window shows.
class QueryPanel : public QWidget {
  Q_OBJECT

 public:
  QueryPanel(const CodeBook& book, const WidgetMaker& maker, QWidget* parent);

  void Command4_Click();
  void Timer1_Timer();

  // Puts `character` into the input box and queries it.
  void query(const QString& character);
  // Gives the input box the keyboard focus.
  void focus_input();

  // The boxes in the order the Tab key visits them: results, button, input.
  QList<QWidget*> tab_order() const;

 private:
  const CodeBook& book_;
  QLineEdit* input_box_ = nullptr;
  std::array<QLineEdit*, 4> result_boxes_{};  // pinyin, 86 Wubi, 98 Wubi, area/position
  QPushButton* query_button_ = nullptr;       // 查 询
  QTimer* focus_timer_ = nullptr;
};

}  // namespace zhavik
