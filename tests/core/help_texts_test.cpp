#include "core/help_texts.h"

#include <gtest/gtest.h>

#include "core/version_text.h"

namespace zhavik {
namespace {

// Lines are separated by a lone CR; the version's revision follows the minor number directly.
TEST(HelpTexts, ContactAndAboutBoxes) {
  const ContactDetails contact{"100000", "王明", "010-1", "139", "010-2", "a@b.example"};
  EXPECT_EQ(contact_text("http://h.example", contact),
            "\r  软件更新: \r    http://h.example/rj\r  软件主页:\r    http://h.example/\r\r"
            "  邮  编: 100000    姓  名: 王明\r  电  话: 010-1   139  \r"
            "  传  真: 010-2\r  电子邮箱: a@b.example");
  EXPECT_EQ(about_text(version_text(3, 9, 0)), "  Zhavik\r\r  版本号:  3.90\r\r");
  EXPECT_EQ(version_text(1, 2, 15), "1.215");
}

}  // namespace
}  // namespace zhavik
