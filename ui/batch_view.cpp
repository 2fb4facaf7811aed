// The batch view: a whole text converted to one kind of code, line by line.

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include "batch.h"
#include "editor_lines.h"
#include "form1.h"
#include "form_kit.h"
#include "kind.h"
#include "twips.h"

namespace {

QPlainTextEdit* make_editor(QWidget* parent, int index, const QColor& background) {
  auto* editor = new QPlainTextEdit(parent);
  editor->setObjectName(indexed_name("RichTextBox1", index));
  editor->setFont(song_font(10.5));
  set_colour(editor, QPalette::Base, background);
  place_in_twips(editor, 120, 300, 9135, index == 0 ? 3075 : 2355);
  return editor;
}

}  // namespace

void Form1::build_batch_view(QWidget* frame) {
  Frame4[0] = make_frame(frame, indexed_name("Frame4", 0), QStringLiteral("请输入汉字:"));
  place_in_twips(Frame4[0], 60, 60, 9375, 3495);
  RichTextBox1[0] = make_editor(Frame4[0], 0, QColor(255, 224, 192));
  RichTextBox1[0]->setPlainText(QStringLiteral("Zhavik"));

  const char16_t* const captions[] = {u"转换为拼音", u"转换为86五笔", u"转换为98五笔",
                                      u"转换为区位码"};
  const int lefts[] = {780, 3000, 5100, 7260};
  for (int i = 0; i < static_cast<int>(Command6.size()); ++i) {
    Command6[i] = make_button(frame, indexed_name("Command6", i), QString::fromUtf16(captions[i]),
                              window_default_font(), QColor(255, 0, 0));
    place_in_twips(Command6[i], lefts[i], 3660, 1575, 495);
    connect(Command6[i], &QPushButton::clicked, this, [this, i] { Command6_Click(i); });
  }

  Frame4[1] = make_frame(frame, indexed_name("Frame4", 1), QStringLiteral("转换结果:"));
  place_in_twips(Frame4[1], 120, 4380, 9375, 3615);
  RichTextBox1[1] = make_editor(Frame4[1], 1, QColor(255, 192, 192));

  const char16_t* const notes[] = {
      u"说明：1、拼音批量转换暂时不支持多音字；", u"2、五笔转换只任选其中一种；",
      u"3、“###”表示该字不是汉字，“暂缺”表示该字编码软件的数据库没有收录。"};
  const QRect places[] = {{180, 2760, 6075, 255}, {720, 3000, 5835, 255}, {720, 3240, 8415, 255}};
  for (int i = 0; i < static_cast<int>(Label2.size()); ++i) {
    Label2[i] = new QLabel(QString::fromUtf16(notes[i]), Frame4[1]);
    Label2[i]->setObjectName(indexed_name("Label2", i));
    Label2[i]->setFont(window_default_font());
    set_colour(Label2[i], QPalette::WindowText, QColor(64, 0, 0));
    place_in_twips(Label2[i], places[i]);
  }
}

void Form1::Command6_Click(int Index) {
  if (!holds_index(Command6, Index)) return;
  // The editor separates its lines with its own separators; the conversion needs CR LF.
  const std::u16string text =
      zhavik::editor_lines_to_crlf(RichTextBox1[0]->document()->toRawText().toStdU16String());
  const std::u16string converted =
      zhavik::convert_text(book_, text, zhavik::kind_text(zhavik::kAllKinds[Index]));
  Frame4[1]->setTitle(QStringLiteral("转换结果(") + Command6[Index]->text() + QStringLiteral("):"));
  // The editor takes CR LF as one line break.
  RichTextBox1[1]->setPlainText(QString::fromStdU16String(converted));
}
