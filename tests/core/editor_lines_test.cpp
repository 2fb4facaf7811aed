#include "core/editor_lines.h"

#include <gtest/gtest.h>

namespace zhavik {
namespace {

TEST(EditorLines, BothSeparatorsBecomeCrLfAndNothingElseChanges) {
  EXPECT_EQ(editor_lines_to_crlf(u""), u"");
  EXPECT_EQ(editor_lines_to_crlf(u"你\u2029我\u2028他\u2029\u2029"), u"你\r\n我\r\n他\r\n\r\n");
  EXPECT_EQ(editor_lines_to_crlf(u"a\rb\nc\u00a0"), u"a\rb\nc\u00a0");
}

}  // namespace
}  // namespace zhavik
