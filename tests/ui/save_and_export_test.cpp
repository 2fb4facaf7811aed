// File > save the result and File > export the page, through their dialogs as a user goes.

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <optional>

#include "tests/core/html_outline.h"
#include "tests/core/permissions_hold.h"
#include "tests/ui/window_test.h"

namespace {

// Receives the pages handed to the desktop in place of a browser.
class PageCatcher : public QObject {
  Q_OBJECT
 public:
  QStringList opened;
 public slots:
  void open(const QUrl& address) { opened.append(address.toString()); }
};

class SaveAndExport : public testing::Test {
 protected:
  void SetUp() override {
    form_.set_code_book(
        book_of(u"ni3=你\r\nhao3=好\r\nm2=呣\r\nhang2=行\r\nxing2=行\r\nzou3=走\r\n"));
    form_.piliang_Click();
  }
  void convert(const QString& text) {
    child<QPlainTextEdit>(form_, "RichTextBox1_0")->setPlainText(text);
    child<QPushButton>(form_, "Command6_0")->click();
  }
  QString write_file(const QString& name, const std::string& bytes) {
    std::ofstream(folder_.filePath(name).toStdString(), std::ios::binary) << bytes;
    return folder_.filePath(name);
  }
  static std::optional<std::string> read(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  QTemporaryDir folder_;
  zhavik::Form1 form_;
};

// The result as shown, with CR LF, in the encoding of the file type chosen; a result that
// GBK cannot hold goes out in UTF-8 if the user agrees, else not at all.
TEST_F(SaveAndExport, TheResultIsSavedInTheEncodingChosen) {
  const QString utf8 = "UTF-8 文本文件 (*.txt)", gbk = "GBK 文本文件 (*.txt)";
  const QString question =
      "转换结果第 2 行的“ḿ”（U+1E3F）不能用 GBK 编码保存。\n\n"
      "改用 UTF-8 编码保存吗？UTF-8 能保存所有的字符。";
  const std::tuple<QString, QString, QMessageBox::StandardButton, std::optional<std::string>>
      cases[] = {{"你好 a", utf8, QMessageBox::NoButton, "\xEF\xBB\xBFnǐ hǎo ### \r\n\r\n"},
                 {"你好 a", gbk, QMessageBox::NoButton, "n\xA8\xAB h\xA8\xA3o ### \r\n\r\n"},
                 {"你\n呣", gbk, QMessageBox::Yes, "\xEF\xBB\xBFnǐ \r\nḿ \r\n"},
                 {"你\n呣", gbk, QMessageBox::Cancel, std::nullopt}};
  int i = 0;
  for (const auto& [input, filter, answer, bytes] : cases) {
    convert(input);
    const QString path = folder_.filePath(QString("结果%1.txt").arg(i++));
    QStringList messages;
    EXPECT_EQ(through_dialog(form_, "baocun", {path, filter, answer}, &messages),
              QStringList({utf8, gbk}));
    EXPECT_EQ(messages, answer == QMessageBox::NoButton ? QStringList() : QStringList(question));
    EXPECT_EQ(read(path), bytes) << i;
  }
}

// Neither a new file nor one that stands there already: a message box says why, and the
// folder stays as it was.
TEST_F(SaveAndExport, AFolderThatMayNotBeWrittenKeepsItsFiles) {
  ASSERT_TRUE(QDir(folder_.path()).mkdir("locked"));
  const QString old_page = write_file("locked/old.html", "old");
  const QString why = "\n\n无法写入：没有在这里写文件的权限。";
  convert("你好");
  std::filesystem::permissions(folder_.filePath("locked").toStdString(),
                               std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  QStringList messages;
  {
    PermissionsHold hold;
    through_dialog(form_, "baocun", {folder_.filePath("locked/new.txt")}, &messages);
    EXPECT_EQ(messages, QStringList(folder_.filePath("locked/new.txt") + why));
    // Yes to replacing the file: it is the writing that fails.
    through_dialog(form_, "daochu", {old_page, {}, QMessageBox::Yes}, &messages);
  }
  std::filesystem::permissions(folder_.filePath("locked").toStdString(),
                               std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
  EXPECT_EQ(messages.last(), old_page + why + "原来的文件保持不变。");
  EXPECT_EQ(QDir(folder_.filePath("locked")).entryList(QDir::Files | QDir::Hidden),
            QStringList("old.html"));
  EXPECT_EQ(read(old_page), "old");
}

// The input, read as the pinyin button reads it, by words when Check1 is ticked, as a page
// titled and named after the text file opened, beside it; then opened if wished. Only a
// character with a reading has it above: not "，" (暂缺) nor a character outside GBK; the
// text's last line end starts no paragraph.
TEST_F(SaveAndExport, ThePageReadsTheInputAsThePinyinButtonDoes) {
  form_.set_word_table_file(write_file("word_pinyin.txt", "行走\txing2 zou3\n").toStdU16String());
  ASSERT_TRUE(form_.load_text_file(write_file("课文.txt", "行走 你，😀\r\na<b>\r\n")));
  PageCatcher catcher;
  QDesktopServices::setUrlHandler("file", &catcher, "open");
  const std::tuple<bool, QString, QMessageBox::StandardButton, std::string> cases[] = {
      {true, "", QMessageBox::Yes, "p: [行|xíng][走|zǒu] [你|nǐ]，😀\n"},
      {false, folder_.filePath("plain.html"), QMessageBox::No,
       "p: [行|háng][走|zǒu] [你|nǐ]，😀\n"}};
  for (const auto& [by_words, typed, answer, first_line] : cases) {
    child<QCheckBox>(form_, "Check1")->setChecked(by_words);
    const QString page = typed.isEmpty() ? folder_.filePath("课文.html") : typed;
    QStringList messages;
    through_dialog(form_, "daochu", {typed, {}, answer}, &messages);
    EXPECT_EQ(messages, QStringList(page + "\n\n注音网页已经保存。现在用浏览器打开它吗？"));
    EXPECT_EQ(
        outline_of(read(page).value_or("")),
        "doctype: html\nlang: zh-CN\ncharset: utf-8\ntitle: 课文\n" + first_line + "p: a<b>\n");
  }
  QDesktopServices::unsetUrlHandler("file");
  EXPECT_EQ(catcher.opened,
            QStringList(QUrl::fromLocalFile(folder_.filePath("课文.html")).toString()));
}

}  // namespace

#include "save_and_export_test.moc"
