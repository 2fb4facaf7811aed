// The letter → syllable → character cascade, clicked through the real buttons.

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "form1.h"
#include "form_kit.h"
#include "window_test.h"

namespace {

const QColor kTone1(255, 192, 192), kTone2(128, 255, 128), kTone4(128, 128, 255);

class Browser : public testing::Test {
 protected:
  void SetUp() override {
    // ai has tones 1, 2 and 4 only, a blank inside a record and a second ai4 record.
    form_.set_code_book(
        book_of(u"a1=啊阿\r\nai1=哎哀\r\nai2=挨 癌\r\nai4=爱碍\r\nai4=艾\r\n"
                u"an1=安\r\nba1=八\r\n",
                u"啊 bs\r\n哎 kaqy\r\n"));
  }
  QPushButton* button(const char* array, int index) {
    return child<QPushButton>(form_, indexed_name(array, index));
  }
  QString text(int box) { return child<QLineEdit>(form_, indexed_name("Text1", box))->text(); }
  void expect_blank_character(int index) {
    QPushButton* blank = button("Command3", index);
    EXPECT_EQ(blank->text(), "");
    EXPECT_EQ(blank->property("Tag").toString(), "");
    EXPECT_EQ(blank->toolTip(), "");
    EXPECT_EQ(button_colour(blank), QColor(Qt::white));
  }
  void expect_query_cleared() {
    for (int box = 0; box <= 4; ++box)
      EXPECT_EQ(text(box), "") << box;
  }

  Form1 form_;
};

TEST_F(Browser, LetterListsItsSyllablesOnceAndQueriesTheFirstCharacter) {
  form_.show();
  QTest::mouseClick(button("Command1", 0), Qt::LeftButton);
  EXPECT_EQ(button("Command2", 0)->text(), "a");
  EXPECT_EQ(button("Command2", 1)->text(), "ai");
  EXPECT_EQ(button("Command2", 2)->text(), "an");
  EXPECT_EQ(button("Command2", 3)->text(), "");
  EXPECT_EQ(button("Command3", 0)->text(), "啊");
  EXPECT_EQ(text(0), "啊");
  EXPECT_EQ(text(1), "ā  ");
  EXPECT_EQ(text(2), "bs ");
  EXPECT_EQ(text(3), "暂缺");
  EXPECT_EQ(text(4), "1601");
}

TEST_F(Browser, SyllableLaysOutItsCharactersToneByTone) {
  form_.Command1_Click(0);
  button("Command2", 1)->click();
  const char16_t* const characters[] = {u"哎", u"哀", u"挨", u"癌", u"爱", u"碍"};
  const char16_t* const pinyin[] = {u"āi", u"āi", u"ái", u"ái", u"ài", u"ài"};
  const QColor colours[] = {kTone1, kTone1, kTone2, kTone2, kTone4, kTone4};
  for (int i = 0; i < 6; ++i) {
    QPushButton* filled = button("Command3", i);
    EXPECT_EQ(filled->text(), QString::fromUtf16(characters[i])) << i;
    EXPECT_EQ(filled->property("Tag").toString(), QString::fromUtf16(pinyin[i])) << i;
    EXPECT_EQ(filled->toolTip(), "拼音：" + QString::fromUtf16(pinyin[i]) + "  ") << i;
    EXPECT_EQ(button_colour(filled), colours[i]) << i;
  }
  // The second ai4 record is never shown; the rest of the grid is blank.
  expect_blank_character(6);
  expect_blank_character(113);
  EXPECT_EQ(text(0), "哎");
  EXPECT_EQ(text(2), "kaqy ");
  // The colour is drawn flat, exactly as the tone's swatch shows it.
  EXPECT_EQ(drawn_colour(button("Command3", 4), QPoint(3, 3)), kTone4);
}

TEST_F(Browser, ToneColourIsReadFromTheSwatchWhenFilling) {
  set_button_colour(button("Command5", 4), QColor(10, 20, 30));
  form_.Command1_Click(0);
  form_.Command2_Click(1);
  EXPECT_EQ(button_colour(button("Command3", 4)), QColor(10, 20, 30));
}

TEST_F(Browser, CharacterButtonQueriesItsCharacter) {
  form_.Command1_Click(0);
  form_.Command2_Click(1);
  button("Command3", 3)->click();
  EXPECT_EQ(text(0), "癌");
  EXPECT_EQ(text(1), "ái  ");
  EXPECT_EQ(text(2), "暂缺");
}

TEST_F(Browser, BlankButtonsAndLettersWithoutRecordsClearEverythingBelow) {
  form_.Command1_Click(0);
  button("Command3", 50)->click();
  expect_query_cleared();

  form_.Command1_Click(0);
  button("Command2", 39)->click();
  for (int i : {0, 1, 113})
    expect_blank_character(i);
  expect_query_cleared();

  form_.Command1_Click(0);
  button("Command1", 8)->click();  // I
  for (int i : {0, 39})
    EXPECT_EQ(button("Command2", i)->text(), "");
  expect_blank_character(0);
  expect_query_cleared();
}

TEST_F(Browser, GridsTakeAsManyAsTheyHoldAndNoMore) {
  // 41 syllables for z, 120 characters for the first of them.
  std::u16string lines;
  for (int i = 0; i < 41; ++i) {
    lines += u"z" + std::u16string(1, u'a' + i / 26) + std::u16string(1, u'a' + i % 26) + u"1=";
    if (i == 0) {
      for (char16_t c = 0x4E00; c < 0x4E00 + 120; ++c)
        lines += c;
    } else {
      lines += u"中";
    }
    lines += u"\r\n";
  }
  form_.set_code_book(book_of(lines));
  form_.Command1_Click(25);
  EXPECT_EQ(button("Command2", 39)->text(), "zbn");
  EXPECT_EQ(button("Command3", 113)->text(), QString(QChar(0x4E00 + 113)));
}

}  // namespace
