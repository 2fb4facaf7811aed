// The window as built: widgets under their names and in their places, and fonts and colours
// that stay where they belong.

#include <gtest/gtest.h>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include "form1.h"
#include "form_kit.h"
#include "window_test.h"

namespace {

TEST(Form1, EveryWidgetStandsInItsPlace) {
  Form1 form;
  EXPECT_EQ(form.centralWidget()->size(), QSize(643, 583));
  // Pixels within the container: the layout's twips divided by 15.
  const std::pair<const char*, QRect> places[] = {
      {"Frame3", {4, 8, 633, 545}},          {"gg_Picture1", {4, 552, 633, 28}},
      {"Command1_19", {8, 44, 33, 25}},      {"Command2_39", {552, 104, 61, 29}},
      {"Command3_113", {584, 140, 33, 25}},  {"Command5_5", {560, 172, 33, 25}},
      {"Command4", {352, 440, 113, 25}},     {"Text1_4", {360, 16, 253, 21}},
      {"RichTextBox1_1", {8, 20, 609, 157}}, {"Label2_2", {48, 216, 561, 17}}};
  for (const auto& [name, place] : places) {
    ASSERT_TRUE(child<QWidget>(form, name)) << name;
    EXPECT_EQ(child<QWidget>(form, name)->geometry(), place) << name;
  }
  const std::pair<const char*, int> arrays[] = {{"Command1", 26},  {"Command2", 40},
                                                {"Command3", 114}, {"Command6", 4},
                                                {"Label1", 10},    {"Text1", 5}};
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
