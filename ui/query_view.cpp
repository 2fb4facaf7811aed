// The query: the four codes of the character in the input box.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "form1.h"
#include "form_kit.h"
#include "query.h"
#include "twips.h"

namespace {

QLabel* make_label(QWidget* parent, int index, const QString& caption) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(indexed_name("Label1", index));
  label->setFont(song_font(10.5, true));
  set_colour(label, QPalette::WindowText, Qt::black);
  return label;
}

QLineEdit* make_text_box(QWidget* parent, int index, const QColor& colour) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(indexed_name("Text1", index));
  box->setFont(song_font(12));
  set_colour(box, QPalette::Text, colour);
  return box;
}

}  // namespace

void Form1::build_query_panel(QWidget* frame) {
  Label1[0] = make_label(frame, 0, QStringLiteral("请输入汉字或点击按钮选择汉字:"));
  place_in_twips(Label1[0], 0, 6720, 3495, 255);
  Text1[0] = make_text_box(frame, 0, QColor(0, 128, 0));
  place_in_twips(Text1[0], 3420, 6660, 1455, 315);

  Command4 = make_button(frame, QStringLiteral("Command4"), QStringLiteral("查 询"),
                         window_default_font(), QColor(255, 0, 0));
  place_in_twips(Command4, 5280, 6600, 1695, 375);
  connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);

  Frame1[3] = make_frame(frame, indexed_name("Frame1", 3), QStringLiteral("查询结果"));
  place_in_twips(Frame1[3], 0, 7080, 9435, 1095);

  // Each result box with its caption label; only the query writes into them, the user may
  // select and copy.
  struct Row {
    int label;
    const char16_t* caption;
    QRect label_twips;
    int box;
    QRect box_twips;
  };
  const Row rows[] = {
      {1, u"拼 音:", {120, 360, 975, 255}, 1, {960, 300, 3375, 315}},
      {2, u"86五笔:", {120, 720, 915, 255}, 2, {960, 660, 3375, 315}},
      {9, u"区位码:", {4560, 300, 975, 255}, 4, {5400, 240, 3795, 315}},
      {3, u"98五笔:", {4560, 720, 975, 255}, 3, {5400, 660, 3795, 315}},
  };
  for (const Row& row : rows) {
    Label1[row.label] = make_label(Frame1[3], row.label, QString::fromUtf16(row.caption));
    place_in_twips(Label1[row.label], row.label_twips);
    Text1[row.box] = make_text_box(Frame1[3], row.box, QColor(255, 0, 0));
    Text1[row.box]->setReadOnly(true);
    place_in_twips(Text1[row.box], row.box_twips);
  }
}

void Form1::Command4_Click() {
  const zhavik::QueryResult result = zhavik::run_query(book_, Text1[0]->text().toStdU16String());
  Text1[0]->setText(QString::fromStdU16String(result.character));
  for (int i = 1; i <= 4; ++i) {
    Text1[i]->setText(QString::fromStdU16String(result.answers[i - 1]));
    // A long answer shows from its beginning.
    Text1[i]->setCursorPosition(0);
  }
}

void Form1::Timer1_Timer() {
  Text1[0]->setFocus();
  Text1[0]->setCursorPosition(Text1[0]->text().size());
  Text1[0]->deselect();
  Timer1->stop();
}
