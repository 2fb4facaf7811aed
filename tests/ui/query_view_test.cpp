// The query behind "查 询": the input box normalised, the four result boxes filled.

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QPushButton>

#include "form1.h"
#include "form_kit.h"
#include "window_test.h"

namespace {

class Query : public testing::Test {
 protected:
  void SetUp() override {
    form_.set_code_book(book_of(u"hao3=好\r\nhao4=好\r\n", u"好 vb vbg\r\n"));
  }
  QLineEdit* box(int index) { return child<QLineEdit>(form_, indexed_name("Text1", index)); }
  // Types `input`, presses 查 询 and gives what the five boxes then hold.
  std::array<QString, 5> query(const QString& input) {
    box(0)->setText(input);
    child<QPushButton>(form_, "Command4")->click();
    return {box(0)->text(), box(1)->text(), box(2)->text(), box(3)->text(), box(4)->text()};
  }

  Form1 form_;
};

TEST_F(Query, InputIsTrimmedToItsFirstCharacter) {
  const std::array<QString, 5> good = {"好", "hǎo  hào  ", "vb vbg ", "暂缺", "2635"};
  EXPECT_EQ(query("  好人 "), good);
  // Asking again gives the same, since the input is already normalised.
  EXPECT_EQ(query(box(0)->text()), good);
}

TEST_F(Query, BlankAndNonChineseInputs) {
  const std::array<QString, 5> cleared = {"", "", "", "", ""};
  EXPECT_EQ(query(""), cleared);
  EXPECT_EQ(query("   "), cleared);
  const QString no = "不是汉字";
  EXPECT_EQ(query("ab"), (std::array<QString, 5>{"a", no, no, no, no}));
  // Only the blank is trimmed: a tab is a character.
  EXPECT_EQ(query("\t好"), (std::array<QString, 5>{"\t", no, no, no, no}));
}

TEST_F(Query, ResultBoxesCanBeReadButNotTyped) {
  EXPECT_FALSE(box(0)->isReadOnly());
  for (int i = 1; i <= 4; ++i)
    EXPECT_TRUE(box(i)->isReadOnly()) << i;
  // A long answer is shown from its beginning.
  form_.set_code_book(
      book_of(u"a1=啊\r\na2=啊\r\na3=啊\r\na4=啊\r\na5=啊\r\nya1=啊\r\n"
              u"e1=啊\r\ne2=啊\r\ne3=啊\r\ne4=啊\r\n"));
  query("啊");
  EXPECT_EQ(box(1)->cursorPosition(), 0);
}

}  // namespace
