// The letter → syllable → character cascade, clicked through the real buttons.

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/dictionary_texts.h"
#include "kit/form_kit.h"
#include "tests/ui/window_test.h"
#include "ui/browser_view.h"
#include "ui/form1.h"

namespace {

using zhavik::Form1;

class BrowserView : public testing::Test {
 protected:
  void SetUp() override {
    // ai has tones 1, 2 and 4 only, a blank inside a record and a second ai4 record.
    form_.set_code_book(
        book_of(u"a1=啊阿\r\nai1=哎哀\r\nai2=挨 癌\r\nai4=爱碍\r\nai4=艾\r\n"
                u"an1=安\r\nba1=八\r\n",
                u"啊 bs\r\n哎 kaqy\r\n"));
    form_.show();
  }
  QPushButton* button(const char* array, int index) {
    return child<QPushButton>(form_, indexed_name(array, index));
  }
  zhavik::BrowserView* browser() { return child<zhavik::BrowserView>(form_, "browser_view"); }
  QString text(int box) { return child<QLineEdit>(form_, indexed_name("Text1", box))->text(); }
  // Caption, tag, tooltip and colour of a character button.
  QStringList character(int index) {
    QPushButton* filled = button("Command3", index);
    return {filled->text(), filled->property("Tag").toString(), filled->toolTip(),
            button_colour(filled).name()};
  }
  void expect_all_cleared(int letter_or_syllable) {
    EXPECT_EQ(character(0), QStringList({"", "", "", "#ffffff"})) << letter_or_syllable;
    for (int box = 0; box <= 4; ++box)
      EXPECT_EQ(text(box), "") << box;
  }

  Form1 form_;
};

TEST_F(BrowserView, LetterListsItsSyllablesOnceAndQueriesTheFirstCharacter) {
  QTest::mouseClick(button("Command1", 0), Qt::LeftButton);
  QStringList syllables;
  for (int i = 0; i < 4; ++i)
    syllables << button("Command2", i)->text();
  EXPECT_EQ(syllables, QStringList({"a", "ai", "an", ""}));
  EXPECT_EQ(button("Command3", 0)->text(), "啊");
  EXPECT_EQ(QStringList({text(0), text(1), text(2), text(3), text(4)}),
            QStringList({"啊", "ā  ", "bs ", "暂缺", "1601"}));
}

TEST_F(BrowserView, SyllableLaysOutItsCharactersToneByToneInTheSwatchColours) {
  set_button_colour(button("Command5", 4), QColor(10, 20, 30));
  browser()->Command1_Click(0);
  button("Command2", 1)->click();
  const QString tone1 = "#ffc0c0", tone2 = "#80ff80", tone4 = "#0a141e";
  EXPECT_EQ(character(0), QStringList({"哎", "āi", "拼音：āi  ", tone1}));
  EXPECT_EQ(character(1), QStringList({"哀", "āi", "拼音：āi  ", tone1}));
  EXPECT_EQ(character(2), QStringList({"挨", "ái", "拼音：ái  ", tone2}));
  EXPECT_EQ(character(3), QStringList({"癌", "ái", "拼音：ái  ", tone2}));
  EXPECT_EQ(character(5), QStringList({"碍", "ài", "拼音：ài  ", tone4}));
  // The second ai4 record is never shown.
  EXPECT_EQ(character(6), QStringList({"", "", "", "#ffffff"}));
  EXPECT_EQ(text(0), "哎");
  EXPECT_EQ(text(2), "kaqy ");
  // The colour is drawn flat, exactly as the swatch has it.
  EXPECT_EQ(drawn_colour(button("Command3", 5), QPoint(3, 3)), QColor(10, 20, 30));

  button("Command3", 3)->click();
  EXPECT_EQ(QStringList({text(0), text(1), text(2)}), QStringList({"癌", "ái  ", "暂缺"}));
}

TEST_F(BrowserView, BlankButtonsAndLettersWithoutRecordsClearEverythingBelow) {
  browser()->Command1_Click(0);
  button("Command3", 50)->click();
  EXPECT_EQ(text(0), "");
  EXPECT_EQ(text(1), "");
  browser()->Command1_Click(0);
  button("Command2", 39)->click();
  expect_all_cleared(39);
  button("Command1", 8)->click();  // I
  EXPECT_EQ(button("Command2", 0)->text(), "");
  expect_all_cleared(8);
}

TEST_F(BrowserView, GridsTakeAsManyAsTheyHold) {
  // 41 syllables for z, 120 characters for the first of them.
  std::u16string lines = u"zaa1=";
  for (char16_t c = 0x4E00; c < 0x4E00 + 120; ++c)
    lines += c;
  for (int i = 1; i < 41; ++i) {
    lines += u"\r\nz" + std::u16string{char16_t(u'a' + i / 26), char16_t(u'a' + i % 26)} + u"1=中";
  }
  form_.set_code_book(book_of(lines + u"\r\n"));
  browser()->Command1_Click(25);
  EXPECT_EQ(button("Command2", 39)->text(), "zbn");
  EXPECT_EQ(button("Command3", 113)->text(), QString(QChar(0x4E00 + 113)));
}

TEST_F(BrowserView, RealDictionariesKeepTheLetterSAlphabeticalAndGiveShuoFirst) {
  form_.set_code_book(zhavik::CodeBook(zhavik::load_dictionary_texts(ZHAVIK_SOURCE_DIR)));
  browser()->Command1_Click(18);  // S
  QStringList syllables;
  for (int i = 0; i < 40 && !button("Command2", i)->text().isEmpty(); ++i)
    syllables << button("Command2", i)->text();
  QStringList sorted = syllables;
  sorted.sort();
  EXPECT_EQ(syllables, sorted);
  EXPECT_EQ(syllables.front(), "sa");
  EXPECT_EQ(syllables.back(), "suo");
  // The syllables show the characters they always did, whatever else the file holds.
  for (const auto& [syllable, characters] :
       {std::pair<QString, QString>{"shui", "谁水睡税说氵"}, {"shuo", "说硕朔烁数铄槊搠妁蒴"}}) {
    button("Command2", static_cast<int>(syllables.indexOf(syllable)))->click();
    QString shown;
    for (int i = 0; !button("Command3", i)->text().isEmpty(); ++i)
      shown += button("Command3", i)->text();
    EXPECT_EQ(shown, characters) << syllable.toStdString();
  }
  // 说 is read shuō first, so the batch conversion writes shuō.
  child<QLineEdit>(form_, indexed_name("Text1", 0))->setText("说");
  child<QPushButton>(form_, "Command4")->click();
  EXPECT_TRUE(text(1).startsWith("shuō  ")) << text(1).toStdString();
}

}  // namespace
