#pragma once

#include <QFrame>
#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "core/conversion/conversion.h"
#include "core/dictionary/code_book.h"
#include "core/dictionary/kind.h"
#include "core/pinyin/word_loading.h"

class QCheckBox;
class QColor;
class QGroupBox;
class QPlainTextEdit;
class QPushButton;

namespace zhavik {

class WidgetMaker;

// The batch view (the frame Frame3): a whole text in RichTextBox1(0), converted line by line
// by one of the buttons Command6(0..3) into pinyin, 86 or 98 Wubi codes or area/position
// codes, shown in RichTextBox1(1) under the notes Label2(0..2). With Check1 on, the pinyin
// button reads polyphones from the words of the word file. Emits nothing: everything it does
// stays inside it.
class BatchView : public QFrame {
 public:
  BatchView(const CodeBook& book, const WidgetMaker& maker, QWidget* parent);

  void Command6_Click(int Index);

  // The word file that the pinyin conversion reads on first use when reading by words is on,
  // with the counts and the compiled table beside it. When a look at the file shows that it
  // cannot be used, the check box is disabled at once and says why in its tool tip.
  void set_word_table_file(const std::filesystem::path& path);

  // The colour of the text in both boxes, the text to convert and the result.
  void set_text_colour(const QColor& colour);
  // Replaces the text to convert.
  void set_input_text(const QString& text);
  // Gives the input box the keyboard focus.
  void focus_input();

  // The result as the output box shows it, with CR LF line ends.
  std::u16string output_text() const;
  // The text to convert as a page with the pinyin above its characters, read as the pinyin
  // button reads it (by words when Check1 is ticked).
  std::string ruby_page(std::u16string_view title);

  // The boxes and buttons in the order the Tab key visits them.
  QList<QWidget*> tab_order() const;

 private:
  // The words, loaded when the pinyin button first needs them; null until then, or when the
  // file could not be read (the check box is then disabled).
  const WordTable* word_table();
  void disable_word_reading(FileRefusal why);
  // The text of a box, with CR LF line ends.
  static std::u16string lines_of(const QPlainTextEdit* box);
  // The conversion of the button of the kind: by words for pinyin when Check1 is ticked
  // and the words can be read, else each character alone.
  std::unique_ptr<CharacterConversion> conversion_for(Kind kind);

  const CodeBook& book_;
  QPlainTextEdit* input_box_ = nullptr;
  std::array<QPushButton*, 4> convert_buttons_{};  // in the order of kWindowKinds
  QGroupBox* output_frame_ = nullptr;              // its caption names the last conversion
  QPlainTextEdit* output_box_ = nullptr;
  QCheckBox* read_by_words_ = nullptr;  // 按词语判断多音字: the pinyin button reads words
  std::filesystem::path word_table_file_;
  std::unique_ptr<const WordTable> words_;
};

}  // namespace zhavik
