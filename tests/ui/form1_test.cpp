// The window as built: every widget under its name and in its place, fonts, colours, menus
// and the tab order.

#include <gtest/gtest.h>
#include <QAction>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "form1.h"
#include "form_kit.h"
#include "window_test.h"

namespace {

TEST(Form1, EveryWidgetStandsInItsPlace) {
  Form1 form;
  EXPECT_EQ(form.centralWidget()->size(), QSize(643, 583));
  EXPECT_EQ(form.windowTitle(), "Zhavik");
  // Positions in pixels within the container: the twips of the layout divided by 15.
  const std::pair<const char*, QRect> places[] = {
      {"Frame2", {4, 4, 633, 549}},          {"Frame3", {4, 8, 633, 545}},
      {"gg_Picture1", {4, 552, 633, 28}},    {"Frame1_2", {0, 232, 629, 205}},
      {"Command1_0", {8, 20, 33, 25}},       {"Command1_19", {8, 44, 33, 25}},
      {"Command2_39", {552, 104, 61, 29}},   {"Command3_113", {584, 140, 33, 25}},
      {"Label1_8", {520, 180, 41, 17}},      {"Command5_5", {560, 172, 33, 25}},
      {"Text1_0", {228, 444, 97, 21}},       {"Command4", {352, 440, 113, 25}},
      {"Text1_4", {360, 16, 253, 21}},       {"Label1_3", {304, 48, 65, 17}},
      {"RichTextBox1_1", {8, 20, 609, 157}}, {"Command6_3", {484, 244, 105, 33}},
      {"Label2_2", {48, 216, 561, 17}},      {"gg_Label1", {246, 4, 121, 20}},
  };
  for (const auto& [name, place] : places) {
    const QWidget* widget = child<QWidget>(form, name);
    ASSERT_TRUE(widget) << name;
    EXPECT_EQ(widget->geometry(), place) << name;
  }
  const std::pair<const char*, int> arrays[] = {
      {"Command1", 26}, {"Command2", 40}, {"Command3", 114}, {"Command6", 4},
      {"Label1", 10},   {"Label2", 3},    {"Text1", 5},      {"Frame1", 4}};
  for (const auto& [array, size] : arrays) {
    for (int i = 0; i < size; ++i)
      EXPECT_TRUE(child<QWidget>(form, indexed_name(array, i)));
  }
  EXPECT_FALSE(child<QWidget>(form, "Command5_0"));
  EXPECT_EQ(child<QPushButton>(form, "Command1_25")->text(), "Z");
  EXPECT_FALSE(child<QWidget>(form, "gg_Picture1")->isVisibleTo(&form));
  EXPECT_TRUE(child<QTimer>(form, "Timer1")->isActive());
  EXPECT_EQ(child<QTimer>(form, "gg_Timer2")->interval(), 500);
}

TEST(Form1, FontsAndColoursStayWithTheirWidgets) {
  Form1 form;
  const QFont caption = child<QGroupBox>(form, "Frame4_1")->font();
  EXPECT_TRUE(caption.bold());
  EXPECT_EQ(caption.pointSizeF(), 10.5);
  EXPECT_EQ(child<QGroupBox>(form, "Frame1_0")->palette().color(QPalette::WindowText),
            QColor(0, 0, 255));
  // A bold blue frame caption must not pass on to the notes inside the frame.
  QLabel* note = child<QLabel>(form, "Label2_0");
  EXPECT_FALSE(note->font().bold());
  EXPECT_EQ(note->palette().color(QPalette::WindowText), QColor(64, 0, 0));
  EXPECT_EQ(child<QLineEdit>(form, "Text1_0")->palette().color(QPalette::Text), QColor(0, 128, 0));
  EXPECT_EQ(child<QLineEdit>(form, "Text1_3")->palette().color(QPalette::Text), QColor(255, 0, 0));
  EXPECT_EQ(child<QPlainTextEdit>(form, "RichTextBox1_0")->palette().color(QPalette::Base),
            QColor(255, 224, 192));
  // A Song face, or the fallback, that has the characters.
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
  EXPECT_EQ(drawn_colour(child<QPushButton>(form, "Command1_0"), QPoint(3, 3)),
            QColor(192, 255, 255));
  query->setDown(true);
  const QColor pressed = drawn_colour(query, QPoint(3, 3));
  EXPECT_LT(pressed.red(), 255);
  EXPECT_GT(pressed.red(), 150);
  EXPECT_EQ(pressed.green(), 0);
  EXPECT_EQ(query->palette().color(QPalette::ButtonText), QColor(Qt::black));
}

TEST(Form1, MenusInTheirOrderWithTheirItems) {
  Form1 form;
  QStringList bar;
  for (QAction* entry : form.menuBar()->actions())
    bar << entry->text();
  EXPECT_EQ(bar, QStringList({"文件(&W)", "单字查询(&D)", "批量转换(&S)", "帮助(&H)"}));
  const auto items = [&](const char* menu) {
    QStringList texts;
    for (QAction* item : child<QMenu>(form, menu)->actions()) {
      texts << (item->isSeparator() ? "-" : item->objectName() + " " + item->text());
    }
    return texts;
  };
  EXPECT_EQ(items("wenjian"),
            QStringList({"wenjian1_0 打开文本文件(&O)", "-", "wenjian1_2 退出(&F)"}));
  EXPECT_EQ(items("bangzhu"),
            QStringList({"bangzhu1_0 使用帮助(&S)", "-", "bangzhu1_2 软件主页(&R)",
                         "bangzhu1_3 软件升级(&J)", "-", "bangzhu1_5 联系方式(&L)",
                         "bangzhu1_6 关于Zhavik(&G)"}));
}

TEST(Form1, TabGoesFromTheResultsThroughTheQueryToTheBrowserAndTheBatchView) {
  Form1 form;
  const auto next = [](QWidget* widget) {
    do
      widget = widget->nextInFocusChain();
    while (widget->focusPolicy() == Qt::NoFocus);
    return widget;
  };
  QStringList chain = {"Text1_4"};
  for (QWidget* widget = child<QWidget>(form, "Text1_4"); chain.size() < 12;) {
    widget = next(widget);
    chain << widget->objectName();
  }
  EXPECT_EQ(chain, QStringList({"Text1_4", "Text1_3", "Text1_2", "Text1_1", "Command4", "Text1_0",
                                "Command3_0", "Command3_1", "Command3_2", "Command3_3",
                                "Command3_4", "Command3_5"}));
  EXPECT_EQ(next(child<QWidget>(form, "Command1_25"))->objectName(), "RichTextBox1_0");
}

}  // namespace
