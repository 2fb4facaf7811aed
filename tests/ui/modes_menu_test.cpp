// The two views, the File menu's open and exit, and text files in the encodings users have.

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>
#include <functional>

#include "form1.h"
#include "form_kit.h"
#include "window_test.h"

namespace {

class Modes : public testing::Test {
 protected:
  void SetUp() override {
    form_.set_code_book(book_of(u"a1=啊\r\n"));
    form_.Command1_Click(0);
    form_.danzi_Click();
    form_.show();
  }
  QAction* action(const QString& name) { return child<QAction>(form_, name); }
  QPlainTextEdit* input() { return child<QPlainTextEdit>(form_, "RichTextBox1_0"); }
  QString write_file(const char* name, const std::string& bytes) {
    const QString path = folder_.filePath(name);
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
    return path;
  }
  // Opens the File menu's dialog and lets `act` answer it.
  void open_with(const std::function<void(QFileDialog*)>& act) {
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
        poll.stop();
        act(dialog);
      }
    });
    poll.start(10);
    action("wenjian1_0")->trigger();
  }

  QTemporaryDir folder_;
  Form1 form_;
};

TEST_F(Modes, EachViewDisablesItsOwnCommandAndKeepsAllContent) {
  child<QLineEdit>(form_, "Text1_0")->setText("啊人");
  input()->setPlainText("输入");
  child<QPlainTextEdit>(form_, "RichTextBox1_1")->setPlainText("结果");
  const auto expect_view = [&](bool single) {
    EXPECT_EQ(child<QFrame>(form_, "Frame2")->isVisible(), single);
    EXPECT_EQ(child<QFrame>(form_, "Frame3")->isVisible(), !single);
    EXPECT_EQ(action("wenjian1_0")->isEnabled(), !single);
    EXPECT_EQ(action("danzi")->isEnabled(), !single);
    EXPECT_EQ(action("piliang")->isEnabled(), single);
    EXPECT_TRUE(action("wenjian1_2")->isEnabled());
  };
  expect_view(true);
  action("piliang")->trigger();
  expect_view(false);
  action("danzi")->trigger();
  expect_view(true);
  EXPECT_EQ(child<QLineEdit>(form_, "Text1_0")->text(), "啊人");
  EXPECT_EQ(child<QLineEdit>(form_, "Text1_1")->text(), "ā  ");
  EXPECT_EQ(child<QPushButton>(form_, "Command3_0")->text(), "啊");
  EXPECT_EQ(input()->toPlainText(), "输入");
  EXPECT_EQ(child<QPlainTextEdit>(form_, "RichTextBox1_1")->toPlainText(), "结果");
}

TEST_F(Modes, ExitClosesTheWindowFromEitherView) {
  action("wenjian1_2")->trigger();
  EXPECT_FALSE(form_.isVisible());
  form_.show();
  action("piliang")->trigger();
  action("wenjian1_2")->trigger();
  EXPECT_FALSE(form_.isVisible());
}

TEST_F(Modes, TextFilesLoadInTheirEncodingWithLinesIntact) {
  struct File {
    const char* name;
    std::string bytes;
  };
  const File files[] = {
      {"gbk.txt", "\xC4\xE3\xBA\xC3\r\nab"},                    // code page 936
      {"utf8.txt", "\xE4\xBD\xA0\xE5\xA5\xBD\nab"},             // UTF-8, Linux line ends
      {"bom.txt", "\xEF\xBB\xBF\xE4\xBD\xA0\xE5\xA5\xBD\rab"},  // UTF-8 with BOM, CR
      {"le.txt", std::string("\xFF\xFE\x60\x4F\x7D\x59\r\0\n\0a\0b\0", 14)},
      {"be.txt", std::string("\xFE\xFF\x4F\x60\x59\x7D\0\r\0\n\0a\0b", 14)},
  };
  for (const File& file : files) {
    input()->clear();
    EXPECT_TRUE(form_.load_text_file(write_file(file.name, file.bytes))) << file.name;
    EXPECT_EQ(input()->toPlainText(), "你好\nab") << file.name;
  }
  EXPECT_TRUE(form_.load_text_file(write_file("empty.txt", "")));
  EXPECT_EQ(input()->toPlainText(), "");
}

TEST_F(Modes, AFileThatCannotBeReadChangesNothing) {
  input()->setPlainText("原文");
  EXPECT_FALSE(form_.load_text_file(folder_.filePath("missing.txt")));
  EXPECT_FALSE(form_.load_text_file(folder_.path()));
  EXPECT_FALSE(form_.load_text_file(""));
  EXPECT_FALSE(form_.load_text_file("/dev/zero"));
  EXPECT_EQ(input()->toPlainText(), "原文");
}

TEST_F(Modes, OpenDialogLoadsTheChosenFileAndNothingWhenCancelled) {
  const QString path = write_file("text.txt", "\xC4\xE3");
  action("piliang")->trigger();
  input()->setPlainText("原文");
  open_with([](QFileDialog* dialog) { dialog->reject(); });
  EXPECT_EQ(input()->toPlainText(), "原文");

  QStringList filters;
  open_with([&](QFileDialog* dialog) {
    filters = dialog->nameFilters();
    // As a user types the file's path into the name box.
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
    static_cast<QDialog*>(dialog)->accept();  // as the Open button does
  });
  EXPECT_EQ(filters, QStringList({"文本文件 (*.txt *.TXT)", "所有文件(*.*) (*)"}));
  EXPECT_EQ(input()->toPlainText(), "你");
  // The output waits for a conversion.
  EXPECT_EQ(child<QPlainTextEdit>(form_, "RichTextBox1_1")->toPlainText(), "");
}

}  // namespace
