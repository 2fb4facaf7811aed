// The window as built: fonts and colours that stay where they belong, the menu entries that
// switch the views, and the Help menu.

#include <gtest/gtest.h>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

#include "tests/ui/window_test.h"

namespace {

TEST(Form1, FontsAndColoursStayWithTheirWidgets) {
  zhavik::Form1 form;
  // The frame's bold caption must not pass its weight on to the notes inside it.
  QLabel* note = child<QLabel>(form, "Label2_0");
  EXPECT_FALSE(note->font().bold());
  // A Song face, or its fallback, that has the characters.
  EXPECT_TRUE(QFontMetrics(child<QPushButton>(form, "Command3_0")->font()).inFontUcs4(U'啊'));
  // Coloured buttons draw their colour flat, and stay readable pressed.
  QPushButton* query = child<QPushButton>(form, "Command4");
  const auto drawn = [query](QPoint point) { return query->grab().toImage().pixelColor(point); };
  for (const QPoint point : {QPoint(3, 3), QPoint(3, 20), QPoint(108, 12)})
    EXPECT_EQ(drawn(point), QColor(255, 0, 0));
  query->setDown(true);
  const QColor pressed = drawn(QPoint(3, 3));
  EXPECT_TRUE(pressed.red() > 150 && pressed.red() < 255 && pressed.green() == 0);
}

TEST(Form1, EachViewDisablesItsOwnCommandAndKeepsItsContent) {
  zhavik::Form1 form;
  form.danzi_Click();
  form.show();
  const auto action = [&](const char* name) { return child<QAction>(form, name); };
  auto* input = child<QLineEdit>(form, "Text1_0");
  auto* editor = child<QPlainTextEdit>(form, "RichTextBox1_0");
  input->setText("啊人");
  editor->setPlainText("输入");
  // Which frame shows, which menu entries are enabled (opening, saving and exporting go
  // together), and where the keys go.
  const auto view = [&] {
    const bool file_items = action("wenjian1_0")->isEnabled();
    EXPECT_EQ(action("baocun")->isEnabled(), file_items);
    EXPECT_EQ(action("daochu")->isEnabled(), file_items);
    return QList<bool>({child<QWidget>(form, "Frame2")->isVisible(),
                        child<QWidget>(form, "Frame3")->isVisible(), file_items,
                        action("danzi")->isEnabled(), action("piliang")->isEnabled(),
                        form.focusWidget() == input, form.focusWidget() == editor});
  };
  const QList<bool> single = {true, false, false, false, true, true, false};
  EXPECT_EQ(view(), single);
  // The File menu: open, save, export, a separator, exit.
  QStringList items;
  for (const QAction* item : child<QMenu>(form, "wenjian")->actions())
    items << item->objectName() + ' ' + item->text();
  EXPECT_EQ(items,
            QStringList({"wenjian1_0 打开文本文件(&O)", "baocun 保存转换结果(&S)...",
                         "daochu 导出注音网页(&H)...", "wenjian1_1 ", "wenjian1_2 退出(&F)"}));
  action("piliang")->trigger();
  EXPECT_EQ(view(), QList<bool>({false, true, true, true, false, false, true}));
  action("danzi")->trigger();
  EXPECT_EQ(view(), single);
  EXPECT_EQ(input->text(), "啊人");
  EXPECT_EQ(editor->toPlainText(), "输入");
  action("wenjian1_2")->trigger();
  EXPECT_FALSE(form.isVisible());
}

// Receives the addresses handed to the desktop in place of a browser or help viewer.
class AddressCatcher : public QObject {
  Q_OBJECT
 public:
  QStringList opened;
 public slots:
  void open(const QUrl& address) { opened.append(address.toString()); }
};

// Chooses Help item `index`; gives the title, text, icon and number of buttons of each
// message box it shows, and closes the box with its OK button.
QStringList choose(zhavik::Form1& form, int index) {
  QStringList shown;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown << box->windowTitle() << box->text() << QString::number(box->icon())
            << QString::number(box->buttons().size());
      box->button(QMessageBox::Ok)->click();
    }
  });
  poll.start(10);
  form.bangzhu1_Click(index);
  return shown;
}

TEST(Form1, HelpItemsOpenTheHelpFileAndThePagesOrShowABox) {
  zhavik::Form1 form;
  AddressCatcher catcher;
  for (const char* scheme : {"file", "http", "https"})
    QDesktopServices::setUrlHandler(scheme, &catcher, "open");
  for (const char* item : {"bangzhu1_0", "bangzhu1_2", "bangzhu1_3"})
    child<QAction>(form, item)->trigger();
  const QString warning = QString::number(QMessageBox::Warning);
  EXPECT_EQ(choose(form, 6),
            QStringList({"关于Zhavik...", "  Zhavik\n\n  版本号:  3.90\n\n", warning, "1"}));
  const QStringList contact = choose(form, 5);
  for (const char* scheme : {"file", "http", "https"})
    QDesktopServices::unsetUrlHandler(scheme);

  // The contact lines, broken at carriage returns, name the two pages opened.
  const QStringList lines = contact.value(1).split('\n');
  EXPECT_EQ(
      catcher.opened,
      QStringList({QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + "/Zhavik帮助.chm")
                       .toString(),
                   lines.value(4).trimmed(), lines.value(2).trimmed()}));
  EXPECT_EQ(contact, QStringList({"联系方式...", contact.value(1), warning, "1"}));
  // Without a viewer, nothing shows either.
  for (int index : {0, 2, 3})
    EXPECT_TRUE(choose(form, index).isEmpty()) << index;
}

}  // namespace

#include "form1_test.moc"
