// The Help menu: what each item opens or shows, and that the others do nothing.

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include "tests/ui/window_test.h"
#include "ui/form1.h"

namespace {

using zhavik::Form1;

// Receives the addresses handed to the desktop in place of a browser or help viewer.
class AddressCatcher : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> opened;
 public slots:
  void open(const QUrl& address) { opened.append(address); }
};

struct ShownBox {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  int buttons = 0;
};

class HelpMenu : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* scheme : {"file", "http", "https"}) {
      QDesktopServices::setUrlHandler(scheme, &catcher_, "open");
    }
    form_.show();
  }
  void TearDown() override {
    for (const char* scheme : {"file", "http", "https"})
      QDesktopServices::unsetUrlHandler(scheme);
  }

  // Clicks item `index` and closes, with its OK button, any message box it shows.
  QList<ShownBox> click(int index) {
    QList<ShownBox> boxes;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        boxes.append({box->windowTitle(), box->text(), box->icon(),
                      static_cast<int>(box->buttons().size())});
        box->button(QMessageBox::Ok)->click();
      }
    });
    poll.start(10);
    form_.bangzhu1_Click(index);
    return boxes;
  }

  AddressCatcher catcher_;
  Form1 form_;
};

// Through the menu's own items: the help file from the program folder, the home and update
// pages on one host.
TEST_F(HelpMenu, ItemsOpenTheHelpFileAndBothPages) {
  for (const char* item : {"bangzhu1_0", "bangzhu1_2", "bangzhu1_3"})
    child<QAction>(form_, item)->trigger();
  ASSERT_EQ(catcher_.opened.size(), 3);
  EXPECT_EQ(
      catcher_.opened[0],
      QUrl::fromLocalFile(
          QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Zhavik帮助.chm"))));
  EXPECT_EQ(catcher_.opened[1].scheme(), QStringLiteral("http"));
  EXPECT_EQ(catcher_.opened[1].path(), QStringLiteral("/"));
  EXPECT_EQ(catcher_.opened[2].path(), QStringLiteral("/rj"));
  EXPECT_EQ(catcher_.opened[1].host(), catcher_.opened[2].host());
  EXPECT_TRUE(catcher_.opened[1].host().endsWith(QStringLiteral(".example")));
}

TEST_F(HelpMenu, AboutAndContactBoxesShowTheirLinesWithAnExclamationAndOk) {
  const QList<ShownBox> about = click(6);
  ASSERT_EQ(about.size(), 1);
  EXPECT_EQ(about[0].title, QStringLiteral("关于Zhavik..."));
  EXPECT_EQ(about[0].text, QStringLiteral("  Zhavik\n\n  版本号:  3.90\n\n"));
  EXPECT_EQ(about[0].icon, QMessageBox::Warning);
  EXPECT_EQ(about[0].buttons, 1);

  const QList<ShownBox> contact = click(5);
  ASSERT_EQ(contact.size(), 1);
  EXPECT_EQ(contact[0].title, QStringLiteral("联系方式..."));
  const QStringList lines = contact[0].text.split(QChar(u'\n'));
  ASSERT_EQ(lines.size(), 10);
  EXPECT_EQ(lines[0], QString());
  EXPECT_EQ(lines[1], QStringLiteral("  软件更新: "));
  EXPECT_TRUE(lines[2].startsWith(QStringLiteral("    http://")) && lines[2].endsWith("/rj"));
  EXPECT_EQ(lines[3], QStringLiteral("  软件主页:"));
  EXPECT_EQ(lines[5], QString());
  EXPECT_TRUE(lines[9].startsWith(QStringLiteral("  电子邮箱: ")));
  EXPECT_TRUE(catcher_.opened.isEmpty());
}

TEST_F(HelpMenu, SeparatorsOtherIndexesAndMissingViewersShowNothing) {
  for (int index : {1, 4, -1, 7, -32768, 32767}) {
    EXPECT_TRUE(click(index).isEmpty()) << index;
  }
  EXPECT_TRUE(catcher_.opened.isEmpty());
  for (const char* scheme : {"file", "http"})
    QDesktopServices::unsetUrlHandler(scheme);
  for (int index : {0, 2, 3}) {
    EXPECT_TRUE(click(index).isEmpty()) << index;
  }
}

}  // namespace

#include "help_menu_test.moc"
