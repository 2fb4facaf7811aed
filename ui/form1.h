#pragma once

#include <QMainWindow>
#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "core/dictionary/code_book.h"
#include "core/text/saved_text.h"
#include "kit/widget_maker.h"
#include "news/news_strip.h"

class QAction;
class QColor;
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
// index of the window's control inventory as its object name: element 12 of Command3 is the
// object "Command3_12"; the members that hold them are named for what they are, and
// docs/glossary.md links the two. Each handler is named after the widget and the event it
// answers and may also be called directly, as the start-up does.
class Form1 : public QMainWindow {
 public:
  explicit Form1(QWidget* parent = nullptr);
  ~Form1() override;

  // The dictionaries every lookup reads, handed over once at start-up.
  void set_code_book(CodeBook book);
  // The word file of the batch view's pinyin conversion by words.
  void set_word_table_file(const std::filesystem::path& path);
  // The colour of the text in the batch view's two boxes.
  void set_batch_text_colour(const QColor& colour);

  // The letter buttons of the pinyin browser: letter `Index` (0 is A) is pressed, and the
  // browser goes on down to the query of its first syllable's first character.
  void Command1_Click(int Index);

  // The two views and the File menu.
  void danzi_Click();
  void piliang_Click();
  void wenjian1_Click(int Index);
  // File > save the result, File > export the page: each asks for a file, then writes it.
  void baocun_Click();
  void daochu_Click();

  // The Help menu: help file, home and update pages, contact and About boxes.
  void bangzhu1_Click(int Index);

  // Replaces the batch input with the text of the file at `path`. When the file cannot be
  // read, returns false and leaves the box as it was; one refused for its size or kind
  // (not a regular file) is said in a message box first.
  bool load_text_file(const QString& path);

  // Writes the batch result, as the output box shows it, to the file at `path`. A result
  // that GBK cannot hold may be saved in UTF-8 instead, if the user agrees in a question
  // box. A file that cannot be written is said in a message box, and nothing is changed.
  // Gives whether the file was written.
  bool save_result(const QString& path, SavedEncoding encoding);
  // Writes the batch input as a page with the pinyin above the characters to the file at
  // `path`, titled with the name of the text file last opened (or "拼音注音"); a failure as
  // above.
  bool export_page(const QString& path);

 private:
  void build_file_menu();
  void build_help_menu();
  void show_view(bool batch);
  void set_tab_order();
  void open_text_file();
  QFileDialog* make_save_dialog(const char* name, const QString& caption,
                                const QStringList& filters, const QString& suffix);
  QString chosen_file(QFileDialog* dialog, const QString& suggested_name);
  // Writes the bytes that make_bytes gives (none: the user changed their mind) to the file at
  // `path`, or says in a message box why it could not.
  bool write_or_say(const QString& path, const QString& title,
                    const std::function<std::optional<std::string>()>& make_bytes);
  void offer_to_open(const QString& page);
  // The title of an exported page, and the name suggested for it: the text file's name.
  QString page_title() const;

  // First, so that the widgets drawn with its styles can go before it.
  WidgetMaker maker_;
  CodeBook book_;

  QFrame* single_view_ = nullptr;  // the browser above the query panel
  BrowserView* browser_view_ = nullptr;
  QueryPanel* query_panel_ = nullptr;
  BatchView* batch_view_ = nullptr;
  news::NewsStrip* news_strip_ = nullptr;

  QMenu* file_menu_ = nullptr;
  std::array<QAction*, 3> file_menu_items_{};  // open a text file, a separator, exit
  QAction* save_result_item_ = nullptr;
  QAction* export_page_item_ = nullptr;
  QAction* single_view_command_ = nullptr;
  QAction* batch_view_command_ = nullptr;
  QMenu* help_menu_ = nullptr;
  std::array<QAction*, 7> help_menu_items_{};  // 1 and 4 are separators
  QFileDialog* open_dialog_ = nullptr;         // made when the File menu first opens a file
  QFileDialog* save_dialog_ = nullptr;         // each made at its first use
  QFileDialog* export_dialog_ = nullptr;
  QString text_file_;  // the text file last opened, which names what is saved from it
};

}  // namespace zhavik
