// Start-up on the real dictionaries, and without any.

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "browser.h"
#include "form1.h"
#include "form_kit.h"
#include "form_load.h"
#include "get_my_version.h"
#include "query.h"
#include "window_test.h"

namespace {

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
  EXPECT_EQ(GetMyVersion(), GetMyVersion());
  EXPECT_TRUE(child<QWidget>(form, "Frame3")->isHidden());
  EXPECT_FALSE(child<QAction>(form, "wenjian1_0")->isEnabled());
  EXPECT_FALSE(child<QAction>(form, "danzi")->isEnabled());
  EXPECT_TRUE(child<QAction>(form, "piliang")->isEnabled());

  const zhavik::CodeBook book(zhavik::load_dictionary_texts(ZHAVIK_SOURCE_DIR));
  const auto syllables = zhavik::syllables_of_letter(book.texts().pinyin_data, u"a", 40);
  ASSERT_GT(syllables.size(), 1u);
  for (std::size_t i = 0; i < syllables.size(); ++i) {
    EXPECT_EQ(child<QPushButton>(form, indexed_name("Command2", i))->text(), qs(syllables[i]));
  }
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

}  // namespace
