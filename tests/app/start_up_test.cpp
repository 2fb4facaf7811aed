// Start-up on the real dictionaries, without any, and with files not in their format.

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <iterator>

#include "app/form_load.h"
#include "app/settings_off_disk.h"
#include "core/query.h"
#include "kit/form_kit.h"
#include "tests/ui/window_test.h"
#include "ui/form1.h"

namespace {

using zhavik::Form1;
using zhavik::Form_Load;

QStringList boxes(const Form1& form) {
  QStringList texts;
  for (int i = 0; i <= 4; ++i)
    texts << child<QLineEdit>(form, indexed_name("Text1", i))->text();
  return texts;
}

TEST(StartUp, OpensOnLetterAInTheSingleCharacterView) {
  Form1 form;
  Form_Load(form, ZHAVIK_SOURCE_DIR);
  EXPECT_EQ(form.windowTitle(), "Zhavik 3.90");
  EXPECT_TRUE(child<QWidget>(form, "Frame3")->isHidden());
  EXPECT_FALSE(child<QAction>(form, "wenjian1_0")->isEnabled());
  EXPECT_FALSE(child<QAction>(form, "danzi")->isEnabled());
  EXPECT_TRUE(child<QAction>(form, "piliang")->isEnabled());

  const zhavik::CodeBook book(zhavik::load_dictionary_texts(ZHAVIK_SOURCE_DIR));
  EXPECT_EQ(child<QPushButton>(form, "Command2_0")->text(), "a");
  EXPECT_EQ(child<QPushButton>(form, "Command2_1")->text(), "ai");
  // 啊, the first character of GB2312, heads the first syllable of A.
  const zhavik::QueryResult query = zhavik::run_query(book, u"啊");
  EXPECT_EQ(boxes(form), QStringList({"啊", qs(query.answers[0]), qs(query.answers[1]),
                                      qs(query.answers[2]), "1601"}));
  for (const char* editor : {"RichTextBox1_0", "RichTextBox1_1"}) {
    EXPECT_EQ(child<QPlainTextEdit>(form, editor)->palette().color(QPalette::Text), Qt::blue);
  }
}

TEST(StartUp, TimerPutsTheFocusIntoTheInputBoxOnce) {
  Form1 form;
  Form_Load(form, ZHAVIK_SOURCE_DIR);
  form.show();
  QApplication::setActiveWindow(&form);
  QLineEdit* input = child<QLineEdit>(form, "Text1_0");
  input->setText("啊啊");
  input->setCursorPosition(0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !child<QTimer>(form, "Timer1")->isActive(); }));
  EXPECT_EQ(QApplication::focusWidget(), input);
  EXPECT_EQ(input->cursorPosition(), 2);
}

TEST(StartUp, WithoutDictionariesTheWindowStillComesUpEmpty) {
  QTemporaryDir empty;
  Form1 form;
  Form_Load(form, empty.path().toStdString());
  EXPECT_EQ(form.windowTitle(), "Zhavik 3.90");
  EXPECT_TRUE(child<QWidget>(form, "Frame3")->isHidden());
  EXPECT_EQ(child<QPushButton>(form, "Command2_0")->text(), "");
  EXPECT_EQ(boxes(form), QStringList({"", "", "", "", ""}));
}

// The committed dictionaries saved with bare LF line ends: each is one record, so A has a
// single syllable a whose characters are the rest of the file, and the first is 啊.
TEST(StartUp, DictionariesWithBareLineFeedsStillOpenTheWindow) {
  QTemporaryDir folder;
  QDir(folder.path()).mkdir("img");
  for (const char* name : {"img/1.jpg", "img/2.jpg", "img/3.jpg"}) {
    std::ifstream in(std::string(ZHAVIK_SOURCE_DIR) + "/" + name, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::erase(bytes, '\r');
    std::ofstream(folder.filePath(name).toStdString(), std::ios::binary) << bytes;
  }
  Form1 form;
  Form_Load(form, folder.path().toStdString());
  EXPECT_EQ(child<QPushButton>(form, "Command2_0")->text(), "a");
  EXPECT_EQ(child<QPushButton>(form, "Command2_1")->text(), "");
  const QStringList shown = boxes(form);
  EXPECT_EQ(shown[0], "啊");
  EXPECT_TRUE(shown[1].startsWith("a  a  ")) << shown[1].left(20).toStdString();
  EXPECT_EQ(shown[4], "1601");
}

// The file dialog remembers its folder through QSettings, which would write QtProject.conf
// into the user's configuration folder when the dialog goes.
TEST(StartUp, TheFileDialogLeavesNoSettingsFile) {
  QTemporaryDir config;
  const QByteArray user_config = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  zhavik::keep_settings_off_disk();
  {
    Form1 form;
    form.piliang_Click();
    QTimer::singleShot(50, [] {
      if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
        dialog->reject();
    });
    form.wenjian1_Click(0);
  }
  qputenv("XDG_CONFIG_HOME", user_config);
  QDirIterator written(config.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  EXPECT_FALSE(written.hasNext()) << written.next().toStdString();
}

}  // namespace
