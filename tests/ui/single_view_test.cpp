// The single-character view: the letter → syllable → character cascade clicked through the
// real buttons, and the query behind "查 询".

#include <gtest/gtest.h>
#include <QPushButton>

#include "core/dictionary/dictionary_texts.h"
#include "kit/form_kit.h"
#include "tests/ui/window_test.h"

namespace {

class SingleView : public testing::Test {
 protected:
  void SetUp() override {
    // ai has tones 1, 2 and 4 only, a blank inside a record and a second ai4 record.
    form_.set_code_book(
        book_of(u"a1=啊阿\r\nai1=哎哀\r\nai2=挨 癌\r\nai4=爱碍\r\nai4=艾\r\n"
                u"an1=安\r\nba1=八\r\nhao3=好\r\nhao4=好\r\n",
                u"啊 bs\r\n哎 kaqy\r\n好 vb vbg\r\n"));
  }
  QPushButton* button(const char* array, int index) {
    return child<QPushButton>(form_, zhavik::indexed_name(array, index));
  }
  QLineEdit* box(int index) {
    return child<QLineEdit>(form_, zhavik::indexed_name("Text1", index));
  }
  // Caption, tag, tooltip and colour of a character button.
  QStringList character(int index) {
    QPushButton* filled = button("Command3", index);
    return {filled->text(), filled->property("Tag").toString(), filled->toolTip(),
            zhavik::button_colour(filled).name()};
  }
  // The texts of the buttons of `array` up to the first blank one.
  QStringList captions(const char* array) {
    QStringList texts;
    for (int i = 0; button(array, i) && !button(array, i)->text().isEmpty(); ++i)
      texts << button(array, i)->text();
    return texts;
  }

  zhavik::Form1 form_;
};

TEST_F(SingleView, SyllableLaysOutItsCharactersToneByToneInTheSwatchColoursBlanksClear) {
  zhavik::set_button_colour(button("Command5", 4), QColor(10, 20, 30));
  button("Command1", 0)->click();
  button("Command2", 1)->click();
  const QStringList tone1 = {"āi", "拼音：āi  ", "#ffc0c0"},
                    tone2 = {"ái", "拼音：ái  ", "#80ff80"},
                    tone4 = {"ài", "拼音：ài  ", "#0a141e"};
  EXPECT_EQ(character(0), QStringList("哎") + tone1);
  EXPECT_EQ(character(1), QStringList("哀") + tone1);
  EXPECT_EQ(character(3), QStringList("癌") + tone2);
  EXPECT_EQ(character(5), QStringList("碍") + tone4);
  // The second ai4 record is never shown.
  EXPECT_EQ(character(6), QStringList({"", "", "", "#ffffff"}));
  EXPECT_EQ(query_boxes(form_).mid(0, 3), QStringList({"哎", "āi  ", "kaqy "}));
  button("Command3", 3)->click();
  EXPECT_EQ(query_boxes(form_).mid(0, 3), QStringList({"癌", "ái  ", "暂缺"}));

  // Blank buttons, and letters without records, clear everything below them.
  button("Command3", 50)->click();
  EXPECT_EQ(query_boxes(form_), QStringList(5, ""));
  EXPECT_EQ(captions("Command3").size(), 6);
  button("Command3", 0)->click();
  button("Command2", 39)->click();
  EXPECT_EQ(query_boxes(form_) + captions("Command3"), QStringList(5, ""));
  button("Command1", 0)->click();
  button("Command1", 8)->click();  // I
  EXPECT_EQ(query_boxes(form_) + captions("Command3") + captions("Command2"), QStringList(5, ""));
}

TEST_F(SingleView, RealDictionariesKeepTheLetterSAlphabeticalAndShuoAsItWas) {
  form_.set_code_book(zhavik::CodeBook(zhavik::load_dictionary_texts(ZHAVIK_SOURCE_DIR)));
  button("Command1", 18)->click();
  const QStringList syllables = captions("Command2");
  EXPECT_TRUE(std::is_sorted(syllables.begin(), syllables.end()));
  button("Command2", static_cast<int>(syllables.indexOf("shuo")))->click();
  EXPECT_EQ(captions("Command3").join(""), "说硕朔烁数铄槊搠妁蒴");
}

TEST_F(SingleView, QueryAsksTheFirstCharacterTypedAndShowsReadOnlyResults) {
  box(0)->setText("  好人 ");
  child<QPushButton>(form_, "Command4")->click();
  EXPECT_EQ(query_boxes(form_), QStringList({"好", "hǎo  hào  ", "vb vbg ", "暂缺", "2635"}));
  // The results can be selected, not typed, and show from their beginning.
  for (int i = 1; i <= 4; ++i)
    EXPECT_TRUE(box(i)->isReadOnly() && box(i)->cursorPosition() == 0) << i;
}

}  // namespace
