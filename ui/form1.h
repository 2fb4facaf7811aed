#pragma once

#include <QMainWindow>
#include <array>
#include <filesystem>
#include <memory>

#include "code_book.h"
#include "news_strip.h"
#include "word_table.h"

class FlatButtonStyle;
class QAction;
class QCheckBox;
class QFileDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStyle;
class QTimer;

// The one window of Zhavik. Its widgets carry the names and indexes of the window's control
// inventory: Command3[12] is the object "Command3_12". Each handler is named after the widget
// and the event it answers and may also be called directly, as the browser's cascade and the
// start-up do. Handlers only move text between the widgets and the functions of the core.
class Form1 : public QMainWindow {
 public:
  explicit Form1(QWidget* parent = nullptr);
  ~Form1() override;

  // The dictionaries every lookup reads, handed over once at start-up.
  void set_code_book(zhavik::CodeBook book);
  // The word file that the pinyin conversion reads on first use when Check1 is on. Without
  // a regular file there, Check1 is disabled and says why in its tool tip.
  void set_word_table_file(const std::filesystem::path& path);

  // The pinyin browser: letter, syllable and character buttons.
  void Command1_Click(int Index);
  void Command2_Click(int Index);
  void Command3_Click(int Index);

  // The query and the timer that puts the focus into its input box once.
  void Command4_Click();
  void Timer1_Timer();

  // The batch conversion buttons.
  void Command6_Click(int Index);

  // The two views and the File menu.
  void danzi_Click();
  void piliang_Click();
  void wenjian1_Click(int Index);

  // The Help menu: help file, home and update pages, contact and About boxes.
  void bangzhu1_Click(int Index);

  // Replaces the batch input with the text of the file at `path`. When the file cannot be
  // read, returns false and leaves the box as it was.
  bool load_text_file(const QString& path);

  // The single-character view.
  QFrame* Frame2 = nullptr;
  std::array<QGroupBox*, 4> Frame1{};
  std::array<QPushButton*, 26> Command1{};   // letters A to Z
  std::array<QPushButton*, 40> Command2{};   // syllables
  std::array<QPushButton*, 114> Command3{};  // characters
  QPushButton* Command4 = nullptr;           // 查 询
  std::array<QPushButton*, 6> Command5{};    // tone swatches 1 to 5; there is no element 0
  std::array<QLabel*, 10> Label1{};
  std::array<QLineEdit*, 5> Text1{};  // 0 the input box, 1 to 4 the results
  QTimer* Timer1 = nullptr;

  // The batch view.
  QFrame* Frame3 = nullptr;
  std::array<QGroupBox*, 2> Frame4{};
  std::array<QPlainTextEdit*, 2> RichTextBox1{};  // 0 the input, 1 the result
  std::array<QPushButton*, 4> Command6{};
  std::array<QLabel*, 3> Label2{};
  QCheckBox* Check1 = nullptr;           // 按词语判断多音字: the pinyin button reads words
  QFileDialog* CommonDialog1 = nullptr;  // made when the File menu first opens a file

  zhavik::news::NewsStrip* news = nullptr;

  QMenu* wenjian = nullptr;
  std::array<QAction*, 3> wenjian1{};  // 1 is the separator
  QAction* danzi = nullptr;
  QAction* piliang = nullptr;
  QMenu* bangzhu = nullptr;
  std::array<QAction*, 7> bangzhu1{};  // 1 and 4 are separators

 private:
  // Each view builds its own widgets and connects them to its handlers.
  void build_browser(QWidget* frame);
  void build_query_panel(QWidget* frame);
  void build_batch_view(QWidget* frame);
  void build_menus();
  void set_tab_order();
  QPushButton* make_button(QWidget* parent, const QString& name, const QString& caption,
                           const QFont& font, const QColor& colour);
  QGroupBox* make_frame(QWidget* parent, const QString& name, const QString& caption);
  void open_text_file();

  std::unique_ptr<FlatButtonStyle> button_style_;
  std::unique_ptr<QStyle> frame_style_;
  // The words, loaded when the pinyin button first needs them; null until then, or when the
  // file could not be read (Check1 is then disabled).
  const zhavik::WordTable* word_table();
  void disable_word_reading();

  zhavik::CodeBook book_;
  std::filesystem::path word_table_file_;
  std::unique_ptr<zhavik::WordTable> words_;
};
