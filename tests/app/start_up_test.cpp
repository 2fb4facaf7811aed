// Start-up on the real dictionaries and without any, and the settings Qt would write.

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QDirIterator>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/form_load.h"
#include "app/settings_off_disk.h"
#include "tests/ui/window_test.h"

namespace {

// The window opens on letter A in the single-character view, with the first syllable's
// first character asked and the keys in the input box, whether or not there are
// dictionaries to ask.
TEST(StartUp, OpensOnLetterAInTheSingleCharacterView) {
  QTemporaryDir empty;
  // 啊, the first character of GB2312, heads the first syllable of A.
  const std::tuple<std::string, QString, QStringList, bool> starts[] = {
      {ZHAVIK_SOURCE_DIR,
       "ai",
       {"啊", "a  ā  á  ǎ  à  ", "kb kbs kbsk ", "kb kbs kbsk ", "1601"},
       true},
      {empty.path().toStdString(), "", {"", "", "", "", ""}, false}};
  for (const auto& [folder, second_syllable, boxes, reads_words] : starts) {
    SCOPED_TRACE(folder);
    zhavik::Form1 form;
    zhavik::Form_Load(form, folder);
    EXPECT_EQ(form.windowTitle(), "Zhavik 3.90");
    EXPECT_TRUE(child<QWidget>(form, "Frame3")->isHidden());
    EXPECT_EQ(child<QPushButton>(form, "Command2_1")->text(), second_syllable);
    EXPECT_EQ(query_boxes(form), boxes);
    EXPECT_EQ(child<QCheckBox>(form, "Check1")->isEnabled(), reads_words);
    for (const char* editor : {"RichTextBox1_0", "RichTextBox1_1"})
      EXPECT_EQ(child<QPlainTextEdit>(form, editor)->palette().color(QPalette::Text), Qt::blue);
    // Timer1 puts the keys into the input box, after what it holds, and then stops.
    form.show();
    QApplication::setActiveWindow(&form);
    QLineEdit* input = child<QLineEdit>(form, "Text1_0");
    input->setText("啊啊");
    input->setCursorPosition(0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !child<QTimer>(form, "Timer1")->isActive(); }));
    EXPECT_EQ(QApplication::focusWidget(), input);
    EXPECT_EQ(input->cursorPosition(), 2);
  }
}

// The file dialog remembers its folder through QSettings, which would write QtProject.conf
// into the user's configuration folder when the dialog goes.
TEST(StartUp, TheFileDialogLeavesNoSettingsFile) {
  QTemporaryDir config;
  const QByteArray user_config = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  zhavik::keep_settings_off_disk();
  {
    zhavik::Form1 form;
    form.piliang_Click();
    open_through_dialog(form, config.filePath("missing.txt"));
  }
  qputenv("XDG_CONFIG_HOME", user_config);
  QDirIterator written(config.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  EXPECT_FALSE(written.hasNext()) << written.next().toStdString();
}

}  // namespace
