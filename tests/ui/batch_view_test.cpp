// The batch conversion through its four buttons, with text as a user types it.

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include "kit/form_kit.h"
#include "tests/ui/window_test.h"
#include "ui/form1.h"

namespace {

using zhavik::Form1;

class BatchView : public testing::Test {
 protected:
  void SetUp() override {
    form_.set_code_book(book_of(u"ni3=你\r\nwo3=我\r\nhang2=行\r\nxing2=行\r\nzou3=走\r\n",
                                u"你 wq wqiy\r\n", u"我 trnt\r\n"));
  }
  QPlainTextEdit* editor(int index) {
    return child<QPlainTextEdit>(form_, indexed_name("RichTextBox1", index));
  }
  // Presses conversion button `index`; gives the frame caption and the result's lines.
  QStringList convert(int index) {
    child<QPushButton>(form_, indexed_name("Command6", index))->click();
    return {child<QGroupBox>(form_, "Frame4_1")->title(), editor(1)->toPlainText()};
  }

  Form1 form_;
};

TEST_F(BatchView, EachLineOfTheEditorConvertsToALine) {
  editor(0)->setPlainText("你\n我");
  EXPECT_EQ(convert(0), QStringList({"转换结果(转换为拼音):", "nǐ \nwǒ \n"}));
  // A line broken with Shift+Enter too.
  editor(0)->setPlainText("你");
  editor(0)->moveCursor(QTextCursor::End);
  QTest::keyClick(editor(0), Qt::Key_Return, Qt::ShiftModifier);
  editor(0)->textCursor().insertText("我");
  EXPECT_EQ(convert(0)[1], "nǐ \nwǒ \n");
  // A text without a line break gains an empty last line, as does an empty text.
  editor(0)->setPlainText("你我");
  EXPECT_EQ(convert(0)[1], "nǐ wǒ \n\n");
  editor(0)->clear();
  EXPECT_EQ(convert(3), QStringList({"转换结果(转换为区位码):", "\n\n"}));
}

TEST_F(BatchView, EveryButtonConvertsTheSameInputToItsKind) {
  editor(0)->setPlainText("你 a\u00a0我");
  EXPECT_EQ(convert(0), QStringList({"转换结果(转换为拼音):", "nǐ ### ### wǒ \n\n"}));
  EXPECT_EQ(convert(1), QStringList({"转换结果(转换为86五笔):", "wq ### ### 暂缺 \n\n"}));
  EXPECT_EQ(convert(2), QStringList({"转换结果(转换为98五笔):", "暂缺 ### ### trnt \n\n"}));
  EXPECT_EQ(convert(3), QStringList({"转换结果(转换为区位码):", "3667 ### ### 4650 \n\n"}));
  // The input stays as it was, its no-break space included.
  EXPECT_EQ(editor(0)->document()->toRawText(), "你 a\u00a0我");
}

// Check1 turns the pinyin button, and only it, to reading words; the words are read when
// first needed, and a word file that cannot be read turns the box off for good.
TEST_F(BatchView, WordReadingIsAnOptionOfThePinyinButtonOnly) {
  QTemporaryDir folder;
  const QString path = folder.filePath("word_pinyin.txt");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("行走\txing2 zou3\n");
  file.close();
  auto* check = child<QCheckBox>(form_, "Check1");
  form_.set_word_table_file(path.toStdU16String());
  EXPECT_TRUE(check->isEnabled());
  EXPECT_FALSE(check->isChecked());

  editor(0)->setPlainText("行走 你");
  EXPECT_EQ(convert(0)[1], "háng zǒu nǐ \n\n");
  QStringList others;
  for (int i = 1; i < 4; ++i)
    others += convert(i);
  check->click();
  EXPECT_EQ(convert(0), QStringList({"转换结果(转换为拼音):", "xíng zǒu nǐ \n\n"}));
  for (int i = 1; i < 4; ++i)
    EXPECT_EQ(convert(i), others.mid(2 * (i - 1), 2));

  // Read once: a file gone after the first use changes nothing.
  ASSERT_TRUE(QFile::remove(path));
  EXPECT_EQ(convert(0)[1], "xíng zǒu nǐ \n\n");

  // A file that is missing at start-up, or unreadable on first use.
  form_.set_word_table_file(path.toStdU16String());
  EXPECT_FALSE(check->isEnabled());
  EXPECT_FALSE(check->isChecked());
  EXPECT_TRUE(check->toolTip().contains("缺少词语表"));
  form_.set_word_table_file(folder.path().toStdU16String());
  EXPECT_FALSE(check->isEnabled());
  Form1 unloaded;
  auto* unloaded_check = child<QCheckBox>(unloaded, "Check1");
  unloaded_check->click();
  child<QPushButton>(unloaded, "Command6_0")->click();
  EXPECT_FALSE(unloaded_check->isEnabled());
  EXPECT_FALSE(unloaded_check->isChecked());
}

}  // namespace
