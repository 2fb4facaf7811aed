#pragma once

#include <QWidget>
#include <array>

#include "core/dictionary/browser.h"
#include "core/dictionary/code_book.h"

class QGroupBox;
class QPushButton;

namespace zhavik {

class WidgetMaker;

// The pinyin browser: the letters A to Z (Command1), the syllables of the letter chosen
// (Command2) and the characters read with the syllable chosen (Command3), each character in
// the colour of its tone as the legend below shows (Label1(4..8) and the swatches Command5),
// in the frames Frame1(0..2). A click fills the next row and clicks its first button; a
// click on a character emits character_chosen. The handlers may also be called directly,
// as the start-up does.
class BrowserView : public QWidget {
  Q_OBJECT

 public:
  BrowserView(const CodeBook& book, const WidgetMaker& maker, QWidget* parent);

  void Command1_Click(int Index);
  void Command2_Click(int Index);
  void Command3_Click(int Index);

  // The buttons in the order the Tab key visits them: characters, syllables, letters.
  QList<QWidget*> tab_order() const;

 signals:
  void character_chosen(const QString& character);

 private:
  const CodeBook& book_;
  std::array<QPushButton*, 26> letter_buttons_{};  // A to Z
  std::array<QPushButton*, kSyllableCapacity> syllable_buttons_{};
  std::array<QPushButton*, kCharacterCapacity> character_buttons_{};
  std::array<QPushButton*, 6> tone_swatches_{};  // tones 1 to 5; there is no element 0
};

}  // namespace zhavik
