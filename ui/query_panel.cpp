// The query: the four codes of the character in the input box.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "core/query.h"
#include "kit/form_kit.h"
#include "kit/twips.h"
#include "kit/widget_maker.h"
#include "ui/query_panel.h"

namespace zhavik {
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

QueryPanel::QueryPanel(const CodeBook& book, const WidgetMaker& maker, QWidget* parent)
    : QWidget(parent), book_(book) {
  setObjectName(QStringLiteral("query_panel"));
  QLabel* prompt = make_label(this, 0, QStringLiteral("请输入汉字或点击按钮选择汉字:"));
  place_in_twips(prompt, 0, 120, 3495, 255);
  Text1[0] = make_text_box(this, 0, QColor(0, 128, 0));
  place_in_twips(Text1[0], 3420, 60, 1455, 315);

  Command4 = maker.make_button(this, QStringLiteral("Command4"), QStringLiteral("查 询"),
                               window_default_font(), QColor(255, 0, 0));
  place_in_twips(Command4, 5280, 0, 1695, 375);
  connect(Command4, &QPushButton::clicked, this, &QueryPanel::Command4_Click);

  QGroupBox* results =
      maker.make_frame(this, indexed_name("Frame1", 3), QStringLiteral("查询结果"));
  place_in_twips(results, 0, 480, 9435, 1095);

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
    place_in_twips(make_label(results, row.label, QString::fromUtf16(row.caption)),
                   row.label_twips);
    Text1[row.box] = make_text_box(results, row.box, QColor(255, 0, 0));
    Text1[row.box]->setReadOnly(true);
    place_in_twips(Text1[row.box], row.box_twips);
  }

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(100);
  connect(Timer1, &QTimer::timeout, this, &QueryPanel::Timer1_Timer);
  Timer1->start();
}

void QueryPanel::Command4_Click() {
  const QueryResult result = run_query(book_, Text1[0]->text().toStdU16String());
  Text1[0]->setText(QString::fromStdU16String(result.character));
  for (int i = 1; i <= 4; ++i) {
    Text1[i]->setText(QString::fromStdU16String(result.answers[i - 1]));
    // A long answer shows from its beginning.
    Text1[i]->setCursorPosition(0);
  }
}

void QueryPanel::Timer1_Timer() {
  Text1[0]->setFocus();
  Text1[0]->setCursorPosition(Text1[0]->text().size());
  Text1[0]->deselect();
  Timer1->stop();
}

void QueryPanel::query(const QString& character) {
  Text1[0]->setText(character);
  Command4_Click();
}

void QueryPanel::focus_input() {
  Text1[0]->setFocus();
}

QList<QWidget*> QueryPanel::tab_order() const {
  return {Text1[4], Text1[3], Text1[2], Text1[1], Command4, Text1[0]};
}

}  // namespace zhavik
