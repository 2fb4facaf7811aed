// Files a user may open in the batch view that are not text, or not the text expected: each
// loads in full, converts, and leaves the window working.

#include <gtest/gtest.h>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <fstream>
#include <random>

#include "batch.h"
#include "editor_lines.h"
#include "form1.h"
#include "form_kit.h"
#include "text_file.h"
#include "window_test.h"

namespace {

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
