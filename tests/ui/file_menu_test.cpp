// The two views, the File menu's open and exit, and text files in the encodings users have.

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>
#include <functional>

#include "tests/ui/window_test.h"
#include "ui/browser_view.h"
#include "ui/form1.h"

namespace {

using zhavik::Form1;

class FileMenu : public testing::Test {
 protected:
  void SetUp() override {
    form_.set_code_book(book_of(u"a1=啊\r\n"));
    child<zhavik::BrowserView>(form_, "browser_view")->Command1_Click(0);
    form_.danzi_Click();
    form_.show();
  }
  QAction* action(const char* name) { return child<QAction>(form_, name); }
  QPlainTextEdit* editor(const char* name) { return child<QPlainTextEdit>(form_, name); }
  QString write_file(const char* name, const std::string& bytes) {
    std::ofstream(folder_.filePath(name).toStdString(), std::ios::binary) << bytes;
    return folder_.filePath(name);
  }
  // Chooses File > open and lets `answer` handle the dialog.
  void open_with(const std::function<void(QFileDialog*)>& answer) {
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
        poll.stop();
        answer(dialog);
      }
    });
    poll.start(10);
    action("wenjian1_0")->trigger();
  }

  QTemporaryDir folder_;
  Form1 form_;
};

TEST_F(FileMenu, EachViewDisablesItsOwnCommandAndAllContentStays) {
  child<QLineEdit>(form_, "Text1_0")->setText("啊人");
  editor("RichTextBox1_0")->setPlainText("输入");
  // Which frame shows, which menu entries are enabled, and where the keys go.
  const auto view = [&] {
    return QList<bool>(
        {child<QWidget>(form_, "Frame2")->isVisible(), child<QWidget>(form_, "Frame3")->isVisible(),
         action("wenjian1_0")->isEnabled(), action("danzi")->isEnabled(),
         action("piliang")->isEnabled(), form_.focusWidget() == child<QWidget>(form_, "Text1_0")});
  };
  EXPECT_EQ(view(), QList<bool>({true, false, false, false, true, true}));
  action("piliang")->trigger();
  EXPECT_EQ(view(), QList<bool>({false, true, true, true, false, false}));
  EXPECT_EQ(form_.focusWidget(), editor("RichTextBox1_0"));
  action("danzi")->trigger();
  EXPECT_EQ(view(), QList<bool>({true, false, false, false, true, true}));
  EXPECT_EQ(child<QLineEdit>(form_, "Text1_0")->text(), "啊人");
  EXPECT_EQ(child<QLineEdit>(form_, "Text1_1")->text(), "ā  ");
  EXPECT_EQ(editor("RichTextBox1_0")->toPlainText(), "输入");
}

TEST_F(FileMenu, ExitClosesTheWindowFromEitherView) {
  action("wenjian1_2")->trigger();
  EXPECT_FALSE(form_.isVisible());
  form_.show();
  action("piliang")->trigger();
  action("wenjian1_2")->trigger();
  EXPECT_FALSE(form_.isVisible());
}

TEST_F(FileMenu, TextFilesLoadInTheirEncoding) {
  const std::pair<const char*, std::string> files[] = {
      {"gbk.txt", "\xC4\xE3\xBA\xC3\r\nab"},                    // code page 936
      {"utf8.txt", "\xE4\xBD\xA0\xE5\xA5\xBD\nab"},             // UTF-8, Linux line ends
      {"bom.txt", "\xEF\xBB\xBF\xE4\xBD\xA0\xE5\xA5\xBD\rab"},  // UTF-8 with BOM, CR
      {"le.txt", std::string("\xFF\xFE\x60\x4F\x7D\x59\r\0\n\0a\0b\0", 14)},
      {"be.txt", std::string("\xFE\xFF\x4F\x60\x59\x7D\0\r\0\n\0a\0b", 14)}};
  for (const auto& [name, bytes] : files) {
    editor("RichTextBox1_0")->clear();
    EXPECT_TRUE(form_.load_text_file(write_file(name, bytes))) << name;
    EXPECT_EQ(editor("RichTextBox1_0")->toPlainText(), "你好\nab") << name;
  }
}

TEST_F(FileMenu, OpenDialogLoadsTheChosenFileAndNothingWhenCancelled) {
  const QString path = write_file("text.txt", "\xC4\xE3");
  action("piliang")->trigger();
  editor("RichTextBox1_0")->setPlainText("原文");
  open_with([](QFileDialog* dialog) { dialog->reject(); });
  EXPECT_EQ(editor("RichTextBox1_0")->toPlainText(), "原文");

  QStringList filters;
  open_with([&](QFileDialog* dialog) {
    filters = dialog->nameFilters();
    // As a user types the file's path into the name box and presses Open.
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
    static_cast<QDialog*>(dialog)->accept();
  });
  EXPECT_EQ(filters, QStringList({"文本文件 (*.txt *.TXT)", "所有文件(*.*) (*)"}));
  EXPECT_EQ(editor("RichTextBox1_0")->toPlainText(), "你");
  EXPECT_EQ(editor("RichTextBox1_1")->toPlainText(), "");
}

}  // namespace
