// The query behind "查 询": the input box normalised, the four result boxes filled.

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QPushButton>

#include "kit/form_kit.h"
#include "tests/ui/window_test.h"
#include "ui/form1.h"

namespace {

using zhavik::Form1;

class QueryPanel : public testing::Test {
 protected:
  void SetUp() override {
    form_.set_code_book(
        book_of(u"hao3=好\r\nhao4=好\r\nya1=啊\r\na1=啊\r\na2=啊\r\na3=啊\r\n"
                u"a4=啊\r\na5=啊\r\ne1=啊\r\ne2=啊\r\n",
                u"好 vb vbg\r\n"));
  }
  QLineEdit* box(int index) { return child<QLineEdit>(form_, indexed_name("Text1", index)); }
  // Types `input`, presses 查 询 and gives what the five boxes then hold.
  QStringList query(const QString& input) {
    box(0)->setText(input);
    child<QPushButton>(form_, "Command4")->click();
    return {box(0)->text(), box(1)->text(), box(2)->text(), box(3)->text(), box(4)->text()};
  }

  Form1 form_;
};

TEST_F(QueryPanel, InputIsTrimmedToItsFirstCharacterAndAskedOfAllFourKinds) {
  const QStringList good = {"好", "hǎo  hào  ", "vb vbg ", "暂缺", "2635"};
  EXPECT_EQ(query("  好人 "), good);
  EXPECT_EQ(query(box(0)->text()), good);
  EXPECT_EQ(query("   "), QStringList({"", "", "", "", ""}));
  const QString no = "不是汉字";
  EXPECT_EQ(query("ab"), QStringList({"a", no, no, no, no}));
  // Only the blank is trimmed: a tab is a character.
  EXPECT_EQ(query("\t好"), QStringList({"\t", no, no, no, no}));
  // The results can be selected, not typed, and show from their beginning.
  query("啊");
  for (int i = 1; i <= 4; ++i) {
    EXPECT_TRUE(box(i)->isReadOnly()) << i;
    EXPECT_EQ(box(i)->cursorPosition(), 0) << i;
  }
}

}  // namespace
