// The window as built: widgets under their names, and fonts and colours
// that stay where they belong.

#include <gtest/gtest.h>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include "kit/form_kit.h"
#include "tests/ui/window_test.h"
#include "ui/form1.h"

namespace {

using zhavik::Form1;

// Every widget keeps the name of the window's control inventory; the places are checked
// by comparing screenshots.
TEST(Form1, EveryWidgetKeepsItsName) {
  Form1 form;
  EXPECT_EQ(form.centralWidget()->size(), QSize(643, 583));
  const std::pair<const char*, int> arrays[] = {
      {"Command1", 26}, {"Command2", 40}, {"Command3", 114}, {"Command6", 4}, {"Label1", 10},
      {"Text1", 5},     {"Frame1", 4},    {"Frame4", 2},     {"Label2", 3},   {"RichTextBox1", 2}};
  for (const auto& [array, size] : arrays) {
    for (int i = 0; i < size; ++i)
      EXPECT_TRUE(child<QWidget>(form, indexed_name(array, i)));
  }
  EXPECT_FALSE(child<QWidget>(form, "Command5_0"));
  EXPECT_FALSE(child<QWidget>(form, "gg_Picture1")->isVisibleTo(&form));
}

TEST(Form1, FontsAndColoursStayWithTheirWidgets) {
  Form1 form;
  // The frame's bold blue caption must not pass on to the notes inside it.
  QLabel* note = child<QLabel>(form, "Label2_0");
  EXPECT_FALSE(note->font().bold());
  EXPECT_EQ(note->palette().color(QPalette::WindowText), QColor(64, 0, 0));
  // A Song face, or its fallback, that has the characters.
  const QFont song = child<QPushButton>(form, "Command3_0")->font();
  EXPECT_TRUE(QStringList({"SimSun", "AR PL UMing CN", "WenQuanYi Micro Hei"})
                  .contains(QFontInfo(song).family()));
  EXPECT_TRUE(QFontMetrics(song).inFontUcs4(U'啊'));
}

TEST(Form1, ColouredButtonsDrawTheirColourFlatAndStayReadablePressed) {
  Form1 form;
  QPushButton* query = child<QPushButton>(form, "Command4");
  for (const QPoint point : {QPoint(3, 3), QPoint(3, 20), QPoint(108, 12)}) {
    EXPECT_EQ(drawn_colour(query, point), QColor(255, 0, 0));
  }
  query->setDown(true);
  const QColor pressed = drawn_colour(query, QPoint(3, 3));
  EXPECT_TRUE(pressed.red() > 150 && pressed.red() < 255 && pressed.green() == 0);
  EXPECT_EQ(query->palette().color(QPalette::ButtonText), QColor(Qt::black));
}

}  // namespace
