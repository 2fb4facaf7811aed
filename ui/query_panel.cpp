// The query: the four codes of the character in the input box.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "core/dictionary/query.h"
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
  input_box_ = make_text_box(this, 0, QColor(0, 128, 0));
  place_in_twips(input_box_, 3420, 60, 1455, 315);

  query_button_ = maker.make_button(this, QStringLiteral("Command4"), QStringLiteral("查 询"),
                                    window_default_font(), QColor(255, 0, 0));
  place_in_twips(query_button_, 5280, 0, 1695, 375);
  connect(query_button_, &QPushButton::clicked, this, &QueryPanel::Command4_Click);

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
    QLineEdit* box = make_text_box(results, row.box, QColor(255, 0, 0));
    box->setReadOnly(true);
    place_in_twips(box, row.box_twips);
    result_boxes_[row.box - 1] = box;
  }

  focus_timer_ = new QTimer(this);
  focus_timer_->setObjectName(QStringLiteral("Timer1"));
  focus_timer_->setInterval(100);
  connect(focus_timer_, &QTimer::timeout, this, &QueryPanel::Timer1_Timer);
  focus_timer_->start();
}

void QueryPanel::Command4_Click() {
  const QueryResult result = run_query(book_, input_box_->text().toStdU16String());
  input_box_->setText(QString::fromStdU16String(result.character));
  for (std::size_t i = 0; i < result_boxes_.size(); ++i) {
    result_boxes_[i]->setText(QString::fromStdU16String(result.answers[i]));
    // A long answer shows from its beginning.
    result_boxes_[i]->setCursorPosition(0);
  }
}

void QueryPanel::Timer1_Timer() {
  input_box_->setFocus();
  input_box_->setCursorPosition(input_box_->text().size());
  input_box_->deselect();
  focus_timer_->stop();
}

void QueryPanel::query(const QString& character) {
  input_box_->setText(character);
  Command4_Click();
}

void QueryPanel::focus_input() {
  input_box_->setFocus();
}

QList<QWidget*> QueryPanel::tab_order() const {
  return {result_boxes_[3], result_boxes_[2], result_boxes_[1],
          result_boxes_[0], query_button_,    input_box_};
}

}  // namespace zhavik
