// The batch view: its four buttons, the reading by words, and the files a user opens into
// it, in the encodings users have, not text at all, huge, or no file to read.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QCheckBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <filesystem>
#include <fstream>

#include "core/conversion/batch.h"
#include "core/text/editor_lines.h"
#include "core/text/text_file.h"
#include "kit/form_kit.h"
#include "tests/ui/window_test.h"

namespace {

zhavik::CodeBook book() {
  return book_of(u"ni3=你\r\nwo3=我\r\nhao3=好\r\nhang2=行\r\nxing2=行\r\nzou3=走\r\n",
                 u"你 wq wqiy\r\n好 vb\r\n", u"我 trnt\r\n");
}

class BatchView : public testing::Test {
 protected:
  void SetUp() override {
    form_.set_code_book(book());
    form_.piliang_Click();
  }
  QPlainTextEdit* editor(int index) {
    return child<QPlainTextEdit>(form_, zhavik::indexed_name("RichTextBox1", index));
  }
  // The editor's lines as the conversion takes them: CR LF in place of its separators.
  std::u16string lines(int index) {
    return zhavik::editor_lines_to_crlf(editor(index)->document()->toRawText().toStdU16String());
  }
  // Presses conversion button `index`; gives the frame caption and the result's lines.
  QStringList convert(int index) {
    child<QPushButton>(form_, zhavik::indexed_name("Command6", index))->click();
    return {child<QGroupBox>(form_, "Frame4_1")->title(), editor(1)->toPlainText()};
  }
  QString write_file(const char* name, const std::string& bytes) {
    std::ofstream(folder_.filePath(name).toStdString(), std::ios::binary) << bytes;
    return folder_.filePath(name);
  }

  QTemporaryDir folder_;
  zhavik::Form1 form_;
};

TEST_F(BatchView, EveryButtonConvertsEachLineToItsKind) {
  editor(0)->setPlainText("你 a\u00a0我");
  // A line broken with Shift+Enter too.
  editor(0)->moveCursor(QTextCursor::End);
  QTest::keyClick(editor(0), Qt::Key_Return, Qt::ShiftModifier);
  editor(0)->textCursor().insertText("你");
  EXPECT_EQ(convert(0), QStringList({"转换结果(转换为拼音):", "nǐ ### ### wǒ \nnǐ \n"}));
  EXPECT_EQ(convert(1), QStringList({"转换结果(转换为86五笔):", "wq ### ### 暂缺 \nwq \n"}));
  EXPECT_EQ(convert(2), QStringList({"转换结果(转换为98五笔):", "暂缺 ### ### trnt \n暂缺 \n"}));
  EXPECT_EQ(convert(3), QStringList({"转换结果(转换为区位码):", "3667 ### ### 4650 \n3667 \n"}));
  // The input stays as it was, its no-break space included.
  EXPECT_EQ(editor(0)->document()->toRawText(), "你 a\u00a0我\u2028你");
}

// Check1 turns the pinyin button, and only it, to reading words; the words are read when
// first needed, without those whose readings name no syllable of their characters, and a
// word file that cannot be read turns the box off for good.
TEST_F(BatchView, WordReadingIsAnOptionOfThePinyinButtonOnly) {
  const QString path = write_file("word_pinyin.txt", "行走\txing2 zou3\n你好\tqqq1 zzz2\n");
  auto* check = child<QCheckBox>(form_, "Check1");
  form_.set_word_table_file(path.toStdU16String());
  editor(0)->setPlainText("行走 你");
  QStringList converted;
  for (int i = 0; i < 4; ++i)
    converted += convert(i);
  EXPECT_EQ(converted[1], "háng zǒu nǐ \n\n");
  check->click();
  EXPECT_EQ(convert(0)[1], "xíng zǒu nǐ \n\n");
  // Read once: a file gone after the first use changes nothing.
  ASSERT_TRUE(std::filesystem::remove(path.toStdString()));
  converted[1] = "xíng zǒu nǐ \n\n";
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(convert(i), converted.mid(2 * i, 2)) << i;
  // A file gone when it is first needed; one missing at start-up is the start-up's test.
  form_.set_word_table_file(write_file("word_pinyin.txt", "").toStdU16String());
  check->setChecked(true);
  ASSERT_TRUE(std::filesystem::remove(path.toStdString()));
  EXPECT_EQ(convert(0)[1], "háng zǒu nǐ \n\n");
  EXPECT_FALSE(check->isEnabled() || check->isChecked());
}

// A word file that a look shows unusable disables Check1 as soon as it is named, and its
// tool tip says why.
TEST_F(BatchView, AnUnusableWordFileDisablesTheBoxAtOnce) {
  auto* check = child<QCheckBox>(form_, "Check1");
  const QString huge = write_file("huge.txt", "");
  std::filesystem::resize_file(huge.toStdString(), 16 * 1024 * 1024 + 1);  // sparse
  const std::pair<QString, QString> cases[] = {
      {folder_.filePath("missing.txt"), "缺少词语表文件 img/word_pinyin.txt"},
      {folder_.path(), "词语表 img/word_pinyin.txt 不是普通文件"},
      {huge, "词语表 img/word_pinyin.txt 大于 16 MiB"},
  };
  for (const auto& [path, why] : cases) {
    form_.set_word_table_file(write_file("word_pinyin.txt", "").toStdU16String());
    ASSERT_TRUE(check->isEnabled());
    check->setChecked(true);
    form_.set_word_table_file(path.toStdU16String());
    EXPECT_FALSE(check->isEnabled() || check->isChecked());
    EXPECT_EQ(check->toolTip(), why + "，无法按词语判断多音字");
  }
}

// Each file loads in full, as the core decodes it, and converts line by line; a huge one
// keeps the window busy for a while, but every line arrives.
TEST_F(BatchView, FilesLoadAsDecodedAndConvert) {
  std::string binary(64 * 1024, '\0');  // bytes in no order
  for (std::size_t i = 0; i < binary.size(); ++i)
    binary[i] = static_cast<char>(i * 2654435761u >> 13);
  std::string huge;
  for (int i = 0; huge.size() < 16 << 20; ++i)
    huge += i % 10 == 9 ? "\r\n" : "\xC4\xE3\xBA\xC3 ab,";  // 你好 ab, in code page 936
  // Chinese only after 100 KiB, valid UTF-8 for more than the 64 KiB that decide, then 中 in
  // code page 936: read as zhavik-lookup reads the same bytes, UTF-8 with one bad place.
  std::string late(100 * 1024, 'a');
  while (late.size() < 200 * 1024)
    late += "中文\r\n";
  late += "\xD6\xD0";
  const std::tuple<const char*, std::string, int> files[] = {
      {"gbk.txt", "\xC4\xE3\xBA\xC3\r\nab", 0},                    // code page 936
      {"utf8.txt", "\xE4\xBD\xA0\xE5\xA5\xBD\nab", 1},             // UTF-8, Linux line ends
      {"bom.txt", "\xEF\xBB\xBF\xE4\xBD\xA0\xE5\xA5\xBD\rab", 2},  // UTF-8 with BOM, CR
      {"le.txt", std::string("\xFF\xFE\x60\x4F\x7D\x59\r\0\n\0a\0b\0", 14), 3},
      {"be.txt", std::string("\xFE\xFF\x4F\x60\x59\x7D\0\r\0\n\0a\0b", 14), 0},
      // UTF-8 你好, then 你 in code page 936, then a byte neither knows.
      {"mixed.txt", "\xE4\xBD\xA0\xE5\xA5\xBD\r\n\xC4\xE3\xFF\nab", 1},
      {"binary.bin", binary, 0},
      {"huge.txt", huge, 0},
      {"late.txt", late, 3}};
  for (const auto& [name, bytes, button] : files) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(form_.load_text_file(write_file(name, bytes)));
    // The editor keeps any CR LF, CR or LF as one paragraph break.
    QString decoded = QString::fromStdU16String(zhavik::decode_text_file(bytes));
    decoded.replace("\r\n", "\n").replace('\r', '\n').replace('\n', QChar(0x2029));
    EXPECT_TRUE(editor(0)->document()->toRawText() == decoded);
    if (bytes == late) {
      EXPECT_TRUE(decoded.endsWith(QStringLiteral("文\u2029\uFFFD\uFFFD")));
    }
    const std::u16string text = lines(0);
    convert(button);
    EXPECT_TRUE(lines(1) == zhavik::convert_text(book(), text, zhavik::kWindowKinds[button]));
  }
}

// Only a regular file up to 64 MiB is read; anything else leaves the box as it was, at once,
// and a message box says why.
TEST_F(BatchView, OnlyARegularFileOfAtMost64MiBOpensThroughTheDialog) {
  const std::filesystem::path folder = folder_.path().toStdString();
  write_file("text.txt", "\xC4\xE3");  // 你
  std::filesystem::create_symlink(folder / "text.txt", folder / "a link to a text file");
  write_file("one byte over 64 MiB", "");
  std::filesystem::resize_file(folder / "one byte over 64 MiB", (64 << 20) + 1);
  ASSERT_EQ(mkfifo((folder / "a pipe").c_str(), 0600), 0);
  std::filesystem::create_directory(folder / "a folder");
  const std::pair<QString, QString> cases[] = {
      {folder_.filePath("one byte over 64 MiB"), "文件大于 64 MiB，太大，不能打开。"},
      {folder_.filePath("a pipe"), "不是普通文件（而是文件夹、管道或设备），不能打开。"},
      {"/dev/zero", "不是普通文件（而是文件夹、管道或设备），不能打开。"},
      {folder_.filePath("a folder"), ""},  // the dialog goes into it
      {folder_.filePath("a link to a text file"), ""}};
  for (const auto& [path, why] : cases) {
    SCOPED_TRACE(path.toStdString());
    editor(0)->setPlainText("原文");
    QStringList messages;
    const QStringList filters = open_through_dialog(form_, path, &messages);
    EXPECT_EQ(filters, QStringList({"文本文件 (*.txt *.TXT)", "所有文件(*.*) (*)"}));
    EXPECT_EQ(editor(0)->toPlainText(), path.endsWith("text file") ? "你" : "原文");
    EXPECT_EQ(messages, why.isEmpty() ? QStringList() : QStringList(path + "\n\n" + why));
  }
}

}  // namespace
