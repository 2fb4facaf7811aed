#include "ui/help_texts.h"

#include <gtest/gtest.h>

namespace zhavik {
namespace {

// Lines are separated by a lone CR. The About box's text is the window test's.
TEST(HelpTexts, ContactBox) {
  const ContactDetails contact{"100000", "王明", "010-1", "139", "010-2", "a@b.example"};
  EXPECT_EQ(contact_text("http://h.example", contact),
            "\r  软件更新: \r    http://h.example/rj\r  软件主页:\r    http://h.example/\r\r"
            "  邮  编: 100000    姓  名: 王明\r  电  话: 010-1   139  \r"
            "  传  真: 010-2\r  电子邮箱: a@b.example");
}

}  // namespace
}  // namespace zhavik
