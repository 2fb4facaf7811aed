// The news strip's two faces and its link.

#include <gtest/gtest.h>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "form1.h"
#include "page_view.h"

namespace {

using zhavik::Form1;

const QString kCaption = QStringLiteral("点击显示最新娱乐资讯");
const QString kArrowed = QStringLiteral(">>>> 点击显示最新娱乐资讯 <<<<");

class NoNetwork : public zhavik::news::OnlineCheck {
 public:
  bool IsOnline(std::uint32_t&, QString&) override { return true; }
};

// The window with the strip as the news sequence leaves it after a page with a marquee:
// laid out and shown, in the page face. No page is loaded; none is needed here.
class NewsPanel : public ::testing::Test {
 protected:
  void SetUp() override {
    form.news.gg_Timer2->setInterval(24 * 3600 * 1000);
    form.online_check = std::make_unique<NoNetwork>();
    form.news_source.host = QStringLiteral("http://127.0.0.1:1");
    form.news_source.program_folder = folder.path();
    // Up to the layout, with a request that finds no server.
    for (int i = 0; i < 5; ++i)
      form.gg_Timer2_Timer();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !form.news.gg_WebBrowser1->busy(); }, 10'000));
    for (int i = 0; i < 6; ++i)
      form.gg_Timer2_Timer();
    ASSERT_EQ(form.gg_Step, 11);
    form.news.gg_Picture1->show();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  }

  void move_over(QWidget* widget, QPoint where) {
    QMouseEvent move(QEvent::MouseMove, where, widget->mapToGlobal(where), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
  }
  QLabel* link() const { return form.news.gg_Label1; }
  bool page_face() const { return form.news.gg_Picture2->isVisibleTo(&form); }

  QTemporaryDir folder;
  Form1 form;
};

TEST_F(NewsPanel, TheControlsLookAsDesigned) {
  EXPECT_EQ(link()->text(), kCaption);
  EXPECT_TRUE(link()->font().underline());
  EXPECT_EQ(link()->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  EXPECT_EQ(link()->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(form.news.gg_Picture3->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(form.news.gg_Picture3->toolTip(), QStringLiteral("隐藏"));
  EXPECT_EQ(form.news.gg_Picture3->pixmap().size(), QSize(20, 20));
  EXPECT_TRUE(page_face());
}

TEST_F(NewsPanel, TheHideButtonShowsTheLinkAndTheLinkThePage) {
  QTest::mouseClick(form.news.gg_Picture3, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_FALSE(page_face());
  // The first time, the link shows its caption from the form description.
  EXPECT_EQ(link()->text(), kCaption);
  QTest::mouseClick(link(), Qt::LeftButton, {}, QPoint(20, 10));
  EXPECT_TRUE(page_face());
  for (int i = 0; i < 3; ++i) {
    form.gg_Picture3_Click();
    EXPECT_FALSE(page_face());
    form.gg_Label1_Click();
    EXPECT_TRUE(page_face());
  }
  // The strip stays shown throughout; the page is neither reloaded nor changed.
  EXPECT_TRUE(form.news.gg_Picture1->isVisibleTo(&form));
  EXPECT_FALSE(form.news.gg_WebBrowser1->busy());
}

TEST_F(NewsPanel, OtherButtonsDoNotClick) {
  QTest::mouseClick(form.news.gg_Picture3, Qt::RightButton, {}, QPoint(10, 10));
  EXPECT_TRUE(page_face());
}

TEST_F(NewsPanel, TheLinkIsCoveredWhileThePageIsShown) {
  const QPoint middle_of_link = link()->geometry().center();
  QWidget* on_top = form.news.gg_Picture1->childAt(middle_of_link);
  ASSERT_NE(on_top, nullptr);
  EXPECT_NE(on_top, link());
  EXPECT_TRUE(form.news.gg_Picture2->isAncestorOf(on_top));
  QTest::mouseClick(form.news.gg_Picture1, Qt::LeftButton, {}, middle_of_link);
  EXPECT_TRUE(page_face());
  // The pointer over the page face reaches neither the link nor the strip's surface.
  move_over(form.news.gg_Picture2, QPoint(300, 10));
  move_over(form.news.gg_WebBrowser1, QPoint(300, 10));
  EXPECT_EQ(link()->text(), kCaption);
}

TEST_F(NewsPanel, TheLinkCaptionFollowsThePointer) {
  form.gg_Picture3_Click();
  move_over(link(), QPoint(100, 10));
  EXPECT_EQ(link()->text(), kArrowed);
  // Off the link onto the strip's margin: blank, yet the link still clicks.
  move_over(form.news.gg_Picture1, QPoint(2, 2));
  EXPECT_EQ(link()->text(), QString());
  move_over(link(), QPoint(5, 5));
  EXPECT_EQ(link()->text(), kArrowed);
  move_over(form.news.gg_Picture1, QPoint(630, 25));
  EXPECT_EQ(link()->text(), QString());
  QTest::mouseClick(link(), Qt::LeftButton, {}, QPoint(300, 10));
  EXPECT_TRUE(page_face());
}

TEST_F(NewsPanel, TheHandlersSetTheirOneProperty) {
  form.gg_Label1_MouseMove();
  EXPECT_EQ(link()->text(), kArrowed);
  form.gg_Picture1_MouseMove();
  EXPECT_EQ(link()->text(), QString());
  form.gg_Picture3_Click();
  EXPECT_FALSE(page_face());
  form.gg_Label1_Click();
  EXPECT_TRUE(page_face());
}

}  // namespace
