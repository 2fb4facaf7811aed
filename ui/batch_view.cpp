// The batch view: a whole text converted to one kind of code, line by line.

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include "core/conversion/batch.h"
#include "core/conversion/ruby_layout.h"
#include "core/conversion/word_conversion.h"
#include "core/dictionary/kind.h"
#include "core/text/editor_lines.h"
#include "kit/form_kit.h"
#include "kit/twips.h"
#include "kit/widget_maker.h"
#include "ui/batch_view.h"

namespace zhavik {
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

BatchView::BatchView(const CodeBook& book, const WidgetMaker& maker, QWidget* parent)
    : QFrame(parent), book_(book) {
  setObjectName(QStringLiteral("Frame3"));
  QGroupBox* input_frame =
      maker.make_frame(this, indexed_name("Frame4", 0), QStringLiteral("请输入汉字:"));
  place_in_twips(input_frame, 60, 60, 9375, 3495);
  input_box_ = make_editor(input_frame, 0, QColor(255, 224, 192));
  input_box_->setPlainText(QStringLiteral("Zhavik"));

  const char16_t* const captions[] = {u"转换为拼音", u"转换为86五笔", u"转换为98五笔",
                                      u"转换为区位码"};
  const int lefts[] = {780, 3000, 5100, 7260};
  for (int i = 0; i < static_cast<int>(convert_buttons_.size()); ++i) {
    convert_buttons_[i] =
        maker.make_button(this, indexed_name("Command6", i), QString::fromUtf16(captions[i]),
                          window_default_font(), QColor(255, 0, 0));
    place_in_twips(convert_buttons_[i], lefts[i], 3660, 1575, 495);
    connect(convert_buttons_[i], &QPushButton::clicked, this, [this, i] { Command6_Click(i); });
  }

  output_frame_ = maker.make_frame(this, indexed_name("Frame4", 1), QStringLiteral("转换结果:"));
  place_in_twips(output_frame_, 120, 4380, 9375, 3615);
  output_box_ = make_editor(output_frame_, 1, QColor(255, 192, 192));

  const char16_t* const notes[] = {
      u"说明：1、拼音批量转换暂时不支持多音字；", u"2、五笔转换只任选其中一种；",
      u"3、“###”表示该字不是汉字，“暂缺”表示该字编码软件的数据库没有收录。"};
  const QRect places[] = {{180, 2760, 6075, 255}, {720, 3000, 5835, 255}, {720, 3240, 8415, 255}};
  for (int i = 0; i < 3; ++i) {
    auto* note = new QLabel(QString::fromUtf16(notes[i]), output_frame_);
    note->setObjectName(indexed_name("Label2", i));
    note->setFont(window_default_font());
    set_colour(note, QPalette::WindowText, QColor(64, 0, 0));
    place_in_twips(note, places[i]);
  }

  // Beside the note that the plain conversion gives one reading per character: the way to
  // read polyphones from their words instead. Off at every start.
  read_by_words_ = new QCheckBox(QStringLiteral("按词语判断多音字"), output_frame_);
  read_by_words_->setObjectName(QStringLiteral("Check1"));
  read_by_words_->setFont(window_default_font());
  place_in_twips(read_by_words_, 6600, 2745, 2655, 255);
}

void BatchView::set_word_table_file(const std::filesystem::path& path) {
  word_table_file_ = path;
  words_.reset();
  if (const std::optional<FileRefusal> refusal = word_file_refusal(path)) {
    disable_word_reading(*refusal);
  } else {
    read_by_words_->setEnabled(true);
    read_by_words_->setToolTip({});
  }
}

void BatchView::disable_word_reading(FileRefusal why) {
  const QString file = QString::fromUtf8(kWordPinyinFile);
  const QString reason = why == FileRefusal::missing ? QStringLiteral("缺少词语表文件 ") + file
                         : why == FileRefusal::not_regular
                             ? QStringLiteral("词语表 ") + file + QStringLiteral(" 不是普通文件")
                         : why == FileRefusal::too_large
                             ? QStringLiteral("词语表 ") + file + QStringLiteral(" 大于 16 MiB")
                             : QStringLiteral("无法读取词语表 ") + file;
  read_by_words_->setChecked(false);
  read_by_words_->setEnabled(false);
  read_by_words_->setToolTip(reason + QStringLiteral("，无法按词语判断多音字"));
}

const WordTable* BatchView::word_table() {
  if (!words_) {
    // Read here rather than at start-up, which would take the words' time for every run.
    LoadedWords loaded = load_word_table(word_table_file_, book_.texts()[Kind::pinyin]);
    if (!loaded.table) {
      disable_word_reading(*loaded.refusal);
      return nullptr;
    }
    words_ = std::move(loaded.table);
  }
  return words_.get();
}

std::u16string BatchView::lines_of(const QPlainTextEdit* box) {
  // The editor separates its lines with its own separators; the conversion needs CR LF.
  return editor_lines_to_crlf(box->document()->toRawText().toStdU16String());
}

std::unique_ptr<CharacterConversion> BatchView::conversion_for(Kind kind) {
  if (kind == Kind::pinyin && read_by_words_->isChecked()) {
    if (const WordTable* words = word_table())
      return std::make_unique<WordConversion>(book_, *words);
  }
  return std::make_unique<BookConversion>(FirstWordInBook(book_, kind));
}

void BatchView::Command6_Click(int Index) {
  if (!holds_index(convert_buttons_, Index)) return;
  const std::u16string converted = convert_whole_text(*conversion_for(kWindowKinds[Index]),
                                                      lines_of(input_box_), TextLayout::window);
  output_frame_->setTitle(QStringLiteral("转换结果(") + convert_buttons_[Index]->text() +
                          QStringLiteral("):"));
  // The editor takes CR LF as one line break.
  output_box_->setPlainText(QString::fromStdU16String(converted));
}

std::u16string BatchView::output_text() const {
  return lines_of(output_box_);
}

std::string BatchView::ruby_page(std::u16string_view title) {
  return zhavik::ruby_page(title, *conversion_for(Kind::pinyin), lines_of(input_box_));
}

void BatchView::set_text_colour(const QColor& colour) {
  set_colour(input_box_, QPalette::Text, colour);
  set_colour(output_box_, QPalette::Text, colour);
}

void BatchView::set_input_text(const QString& text) {
  input_box_->setPlainText(text);
}

void BatchView::focus_input() {
  input_box_->setFocus();
}

QList<QWidget*> BatchView::tab_order() const {
  QList<QWidget*> order = {input_box_, output_box_};
  order.append(QList<QWidget*>(convert_buttons_.begin(), convert_buttons_.end()));
  return order;
}

}  // namespace zhavik
