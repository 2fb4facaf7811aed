// Files a user may open in the batch view that are not text, or not the text expected: each
// loads in full and converts, or, when it is no file or too large, changes nothing; the
// window goes on working.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include "core/batch.h"
#include "core/editor_lines.h"
#include "core/text_file.h"
#include "kit/form_kit.h"
#include "tests/ui/window_test.h"
#include "ui/form1.h"

namespace {

using zhavik::Form1;

class HostileFiles : public testing::Test {
 protected:
  void SetUp() override {
    form_.set_code_book(book_of(u"ni3=你\r\nhao3=好\r\n", u"你 wq\r\n好 vb\r\n"));
    form_.piliang_Click();
  }
  QPlainTextEdit* editor(int index) {
    return child<QPlainTextEdit>(form_, indexed_name("RichTextBox1", index));
  }
  QString write_file(const char* name, const std::string& bytes) {
    std::ofstream(folder_.filePath(name).toStdString(), std::ios::binary) << bytes;
    return folder_.filePath(name);
  }
  // Opens the file, converts it with `button` and checks both boxes against the core's
  // own decoding and conversion of the same bytes.
  void open_and_convert(const char* name, const std::string& bytes, int button) {
    ASSERT_TRUE(form_.load_text_file(write_file(name, bytes))) << name;
    const std::u16string shown = editor(0)->document()->toRawText().toStdU16String();
    const std::u16string text = zhavik::editor_lines_to_crlf(shown);
    EXPECT_EQ(text,
              zhavik::editor_lines_to_crlf(crlf_as_one_break(zhavik::decode_text_file(bytes))))
        << name;
    child<QPushButton>(form_, indexed_name("Command6", button))->click();
    const std::u16string expected =
        zhavik::convert_text(book_of(u"ni3=你\r\nhao3=好\r\n", u"你 wq\r\n好 vb\r\n"), text,
                             zhavik::kind_text(zhavik::kAllKinds[button]));
    EXPECT_EQ(zhavik::editor_lines_to_crlf(editor(1)->document()->toRawText().toStdU16String()),
              expected)
        << name;
  }
  // The editor keeps any CR LF, CR or LF as one paragraph break.
  static std::u16string crlf_as_one_break(std::u16string text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      out += text[i] == u'\r' || text[i] == u'\n' ? u'\u2029' : text[i];
    }
    return out;
  }

  // Chooses File > open, types `path` into the dialog's name box and presses Open, as a user
  // does. A dialog that stays open on that (a folder, a missing file) is cancelled, and so is
  // any message it shows.
  void open_through_dialog(const QString& path) {
    QFileDialog* dialog = nullptr;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (dialog && modal && modal != dialog) static_cast<QDialog*>(modal)->reject();
      if (dialog || !(dialog = qobject_cast<QFileDialog*>(modal))) return;
      dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
      QTimer::singleShot(0, dialog, [dialog] {
        static_cast<QDialog*>(dialog)->accept();
        if (dialog->isVisible()) dialog->reject();
      });
    });
    poll.start(10);
    child<QAction>(form_, "wenjian1_0")->trigger();
  }

  QTemporaryDir folder_;
  Form1 form_;
};

TEST_F(HostileFiles, BinaryAndMixedEncodingsLoadAndConvert) {
  std::mt19937 random(6);
  std::string binary(64 * 1024, '\0');
  for (char& byte : binary)
    byte = static_cast<char>(random());
  open_and_convert("binary.bin", binary, 0);
  open_and_convert("zeros.bin", std::string(1000, '\0'), 3);
  // UTF-8 你好, then 你 in code page 936, then a byte neither knows.
  open_and_convert("mixed.txt", "\xE4\xBD\xA0\xE5\xA5\xBD\r\n\xC4\xE3\xFF\nab", 1);
  EXPECT_EQ(editor(0)->toPlainText(), QString::fromUtf16(u"浣犲ソ\n你\uFFFD\nab"));
}

// Only a regular file up to 64 MiB is read; anything else leaves the box as it was, at once.
TEST_F(HostileFiles, NoFileOrTooLargeAFileChangesNothing) {
  using Make = std::function<void(const std::filesystem::path& file)>;
  const auto sparse = [](std::uintmax_t size) {
    return Make([size](const auto& file) {
      std::ofstream{file};
      std::filesystem::resize_file(file, size);
    });
  };
  const auto link_to = [](std::filesystem::path target) {
    return Make([target](const auto& file) { std::filesystem::create_symlink(target, file); });
  };
  const std::filesystem::path text = write_file("text.txt", "\xC4\xE3").toStdString();  // 你
  struct Case {
    const char* name;
    Make make;
    QString shown;
  };
  const Case cases[] = {
      {"30 GB, sparse", sparse(30ull << 30), "原文"},
      {"one byte over 64 MiB", sparse((64 << 20) + 1), "原文"},
      {"a pipe", [](const auto& file) { ASSERT_EQ(mkfifo(file.c_str(), 0600), 0); }, "原文"},
      {"a link to dev zero", link_to("/dev/zero"), "原文"},
      {"a link to nowhere", link_to(text.parent_path() / "nowhere"), "原文"},
      {"a folder", [](const auto& file) { std::filesystem::create_directory(file); }, "原文"},
      {"a link to a text file", link_to(text), "你"},
  };
  for (const Case& item : cases) {
    SCOPED_TRACE(item.name);
    item.make(folder_.filePath(item.name).toStdString());
    editor(0)->setPlainText("原文");
    open_through_dialog(folder_.filePath(item.name));
    EXPECT_EQ(editor(0)->toPlainText(), item.shown);
  }
  child<QPushButton>(form_, indexed_name("Command6", 0))->click();
  EXPECT_EQ(editor(1)->toPlainText(), "nǐ \n\n");
}

// The window is busy for a while, but every line arrives and converts. The file repeats one
// line, so the boxes are checked by their lines rather than by copying them out.
TEST_F(HostileFiles, FiftyMegabytesLoadAndConvertInFull) {
  std::string line;
  while (line.size() < 78)
    line += "\xC4\xE3\xBA\xC3 ab,";  // 你好 ab, in code page 936
  const std::u16string converted_line = zhavik::convert_text(
      book_of(u"ni3=你\r\nhao3=好\r\n"), zhavik::decode_text_file(line), u"拼音");
  line += "\r\n";
  const int lines = 50 * 1024 * 1024 / static_cast<int>(line.size()) + 1;
  std::string bytes;
  bytes.reserve(lines * line.size());
  for (int i = 0; i < lines; ++i)
    bytes += line;

  ASSERT_TRUE(form_.load_text_file(write_file("huge.txt", bytes)));
  const QTextDocument* input = editor(0)->document();
  ASSERT_EQ(input->blockCount(), lines + 1);
  EXPECT_EQ(input->lastBlock().previous().text(),
            QString::fromStdU16String(zhavik::decode_text_file(line)).trimmed());

  child<QPushButton>(form_, indexed_name("Command6", 0))->click();
  // Each line, then the empty line after the last line break.
  const QTextDocument* result = editor(1)->document();
  ASSERT_EQ(result->blockCount(), lines + 2);
  const QString expected = qs(converted_line.substr(0, converted_line.find(u'\r')));
  EXPECT_EQ(result->firstBlock().text(), expected);
  EXPECT_EQ(result->findBlockByNumber(lines / 2).text(), expected);
  EXPECT_EQ(result->findBlockByNumber(lines - 1).text(), expected);
  EXPECT_EQ(result->lastBlock().text(), "");
}

}  // namespace
