#pragma once

#include <QMainWindow>
#include <array>
#include <filesystem>

#include "core/code_book.h"
#include "kit/widget_maker.h"
#include "news/news_strip.h"

class QAction;
class QFileDialog;
class QFrame;
class QMenu;

namespace zhavik {

class BatchView;
class BrowserView;
class QueryPanel;

// The one window of Zhavik. It holds the two views, which share one place, the menus that
// switch between them and the news strip, and wires them together: a character chosen in
// the pinyin browser goes to the query panel. The single-character view (Frame2) is the
// browser above the query panel; the batch view is Frame3. Every widget carries the name and
// index of the window's control inventory: Command3[12] is the object "Command3_12". Each
// handler is named after the widget and the event it answers and may also be called directly,
// as the start-up does.
class Form1 : public QMainWindow {
 public:
  explicit Form1(QWidget* parent = nullptr);
  ~Form1() override;

  // The dictionaries every lookup reads, handed over once at start-up.
  void set_code_book(CodeBook book);
  // The word file of the batch view's pinyin conversion by words.
  void set_word_table_file(const std::filesystem::path& path);

  // The two views and the File menu.
  void danzi_Click();
  void piliang_Click();
  void wenjian1_Click(int Index);

  // The Help menu: help file, home and update pages, contact and About boxes.
  void bangzhu1_Click(int Index);

  // Replaces the batch input with the text of the file at `path`. When the file cannot be
  // read, returns false and leaves the box as it was; one refused for its size or kind
  // (not a regular file) is said in a message box first.
  bool load_text_file(const QString& path);

 private:
  void build_file_menu();
  void build_help_menu();
  void show_view(bool batch);
  void set_tab_order();
  void open_text_file();

  // First, so that the widgets drawn with its styles can go before it.
  WidgetMaker maker_;
  CodeBook book_;

  QFrame* Frame2 = nullptr;
  BrowserView* browser_ = nullptr;
  QueryPanel* query_ = nullptr;
  BatchView* Frame3 = nullptr;
  news::NewsStrip* news_ = nullptr;

  QMenu* wenjian = nullptr;
  std::array<QAction*, 3> wenjian1{};  // 1 is the separator
  QAction* danzi = nullptr;
  QAction* piliang = nullptr;
  QMenu* bangzhu = nullptr;
  std::array<QAction*, 7> bangzhu1{};    // 1 and 4 are separators
  QFileDialog* CommonDialog1 = nullptr;  // made when the File menu first opens a file
};

}  // namespace zhavik
