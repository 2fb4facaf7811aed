// File > save the result and File > export the page, through their dialogs as a user goes:
// the bytes of each encoding, a result GBK cannot hold, a folder that may not be written, and
// the page offered to the browser.

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
#include <iterator>
#include <optional>
#include <tuple>

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
  const std::tuple<QString, QString, QMessageBox::StandardButton, std::optional<std::string>,
                   QStringList>
      cases[] = {
          {"你好 a", utf8, QMessageBox::NoButton, "\xEF\xBB\xBFnǐ hǎo ### \r\n\r\n", {}},
          {"你好 a", gbk, QMessageBox::NoButton, "n\xA8\xAB h\xA8\xA3o ### \r\n\r\n", {}},
          {"你\n呣", gbk, QMessageBox::Yes, "\xEF\xBB\xBFnǐ \r\nḿ \r\n", {question}},
          {"你\n呣", gbk, QMessageBox::Cancel, std::nullopt, {question}},
      };
  int i = 0;
  for (const auto& [input, filter, answer, bytes, messages] : cases) {
    SCOPED_TRACE(i);
    convert(input);
    const QString path = folder_.filePath(QString("结果%1.txt").arg(i++));
    QStringList filters;
    EXPECT_EQ(answering_boxes(
                  [&] { filters = through_dialog(form_, "baocun", path, filter); }, answer),
              messages);
    EXPECT_EQ(filters, QStringList({utf8, gbk}));
    EXPECT_EQ(read(path), bytes);
  }
}

// Neither a new file nor one that stands there already: a message box says why, and the
// folder stays as it was.
TEST_F(SaveAndExport, AFolderThatMayNotBeWrittenKeepsItsFiles) {
  ASSERT_TRUE(QDir(folder_.path()).mkdir("locked"));
  const QString old_file = write_file("locked/old.txt", "old");
  const QString locked = folder_.filePath("locked/");
  convert("你好");
  const QString why = "\n\n无法写入：没有在这里写文件的权限。";
  const std::tuple<std::function<void()>, QString> cases[] = {
      {[&] { through_dialog(form_, "baocun", locked + "new.txt"); }, locked + "new.txt" + why},
      {[&] { through_dialog(form_, "daochu", locked + "page.html"); }, locked + "page.html" + why},
      {[&] { form_.save_result(old_file, zhavik::SavedEncoding::gbk); },
       old_file + why + "原来的文件保持不变。"}};
  std::filesystem::permissions(locked.toStdString(), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  for (const auto& [act, message] : cases) {
    PermissionsHold hold;
    EXPECT_EQ(answering_boxes(act, QMessageBox::Yes), QStringList(message));
  }
  std::filesystem::permissions(locked.toStdString(), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
  EXPECT_EQ(QDir(locked).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList("old.txt"));
  EXPECT_EQ(read(old_file), "old");
}

// The input, read as the pinyin button reads it, by words when Check1 is ticked, as a page
// titled after the text file opened and named after it, beside it; then opened if wished.
TEST_F(SaveAndExport, ThePageReadsTheInputAsThePinyinButtonDoes) {
  form_.set_word_table_file(write_file("word_pinyin.txt", "行走\txing2 zou3\n").toStdU16String());
  ASSERT_TRUE(form_.load_text_file(write_file("课文.txt", "行走 你\r\na<b>")));
  PageCatcher catcher;
  QDesktopServices::setUrlHandler("file", &catcher, "open");
  const QString suggested = folder_.filePath("课文.html");
  const QString typed = folder_.filePath("plain.html");
  const std::tuple<bool, QString, QMessageBox::StandardButton, std::string> cases[] = {
      {true, suggested, QMessageBox::Yes, "p: [行|xíng][走|zǒu] [你|nǐ]\n"},
      {false, typed, QMessageBox::No, "p: [行|háng][走|zǒu] [你|nǐ]\n"}};
  for (const auto& [by_words, page, answer, first_line] : cases) {
    child<QCheckBox>(form_, "Check1")->setChecked(by_words);
    const QString path = page == suggested ? QString() : page;
    EXPECT_EQ(answering_boxes([&] { through_dialog(form_, "daochu", path); }, answer),
              QStringList(page + "\n\n注音网页已经保存。现在用浏览器打开它吗？"));
    EXPECT_EQ(outline_of(read(page).value_or("")),
              "doctype: html\nlang: zh-CN\ncharset: utf-8\ntitle: 课文\n" + first_line +
                  "p: a<b>\n");
  }
  QDesktopServices::unsetUrlHandler("file");
  EXPECT_EQ(catcher.opened, QStringList(QUrl::fromLocalFile(suggested).toString()));
}

}  // namespace

#include "save_and_export_test.moc"
