#include "editor_lines.h"

#include <gtest/gtest.h>

#include "batch.h"

namespace zhavik {
namespace {

TEST(EditorLines, BothSeparatorsBecomeCrLf) {
  EXPECT_EQ(editor_lines_to_crlf(u""), u"");
  EXPECT_EQ(editor_lines_to_crlf(u"你\u2029我\u2028他"), u"你\r\n我\r\n他");
  EXPECT_EQ(editor_lines_to_crlf(u"\u2029\u2029"), u"\r\n\r\n");
  // Anything else is content, even when it looks like a line break.
  EXPECT_EQ(editor_lines_to_crlf(u"a\rb\nc\u00a0"), u"a\rb\nc\u00a0");
}

TEST(EditorLines, EditorLinesConvertLineByLine) {
  DictionaryTexts texts;
  texts.pinyin_data = pinyin_data_from(u"ni3=你\r\nwo3=我\r\n");
  const CodeBook book(std::move(texts));
  EXPECT_EQ(convert_text(book, editor_lines_to_crlf(u"你\u2029我"), u"拼音"), u"nǐ \r\nwǒ \r\n");
  // A last empty line keeps the text from gaining a second empty one.
  EXPECT_EQ(convert_text(book, editor_lines_to_crlf(u"你\u2029"), u"拼音"), u"nǐ \r\n\r\n");
}

}  // namespace
}  // namespace zhavik
