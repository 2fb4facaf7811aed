// The pinyin browser: a letter, then a syllable, then a character read that way. Each click
// fills the next row of buttons and clicks its first button, down to the query.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "kit/form_kit.h"
#include "kit/twips.h"
#include "kit/widget_maker.h"
#include "ui/browser_view.h"

namespace zhavik {

namespace {

// A button's caption as the dictionary spells it: syllables are lower case.
std::u16string lower_caption(const QPushButton* button) {
  return button->text().toLower().toStdU16String();
}

// A grid of buttons that fills rows from the left. Each step is 15 twips (one pixel) less
// than the button, so that neighbours share their edge.
struct Grid {
  int per_row;
  int left, top;
  int width, height;
};
constexpr Grid kLetterGrid{19, 120, 300, 495, 375};
constexpr Grid kSyllableGrid{10, 180, 300, 915, 435};
constexpr Grid kCharacterGrid{19, 120, 300, 495, 375};

void place_in_grid(QPushButton* button, int index, const Grid& grid) {
  place_in_twips(button, grid.left + (grid.width - 15) * (index % grid.per_row),
                 grid.top + (grid.height - 15) * (index / grid.per_row), grid.width, grid.height);
}

}  // namespace

BrowserView::BrowserView(const CodeBook& book, const WidgetMaker& maker, QWidget* parent)
    : QWidget(parent), book_(book) {
  setObjectName(QStringLiteral("browser_view"));
  QGroupBox* letter_frame =
      maker.make_frame(this, indexed_name("Frame1", 0), QStringLiteral("选择汉字拼音第一个拼音"));
  place_in_twips(letter_frame, 0, 60, 9435, 1215);
  for (int i = 0; i < static_cast<int>(letter_buttons_.size()); ++i) {
    letter_buttons_[i] =
        maker.make_button(letter_frame, indexed_name("Command1", i), QString(QChar(u'A' + i)),
                          song_font(12), QColor(192, 255, 255));
    place_in_grid(letter_buttons_[i], i, kLetterGrid);
    connect(letter_buttons_[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
  }

  QGroupBox* syllable_frame =
      maker.make_frame(this, indexed_name("Frame1", 1), QStringLiteral("选择汉字拼音"));
  place_in_twips(syllable_frame, 0, 1320, 9435, 2115);
  for (int i = 0; i < static_cast<int>(syllable_buttons_.size()); ++i) {
    syllable_buttons_[i] = maker.make_button(syllable_frame, indexed_name("Command2", i), QString(),
                                             song_font(12), QColor(255, 255, 192));
    place_in_grid(syllable_buttons_[i], i, kSyllableGrid);
    connect(syllable_buttons_[i], &QPushButton::clicked, this, [this, i] { Command2_Click(i); });
  }

  QGroupBox* character_frame =
      maker.make_frame(this, indexed_name("Frame1", 2), QStringLiteral("选择汉字"));
  place_in_twips(character_frame, 0, 3480, 9435, 3075);
  for (int i = 0; i < static_cast<int>(character_buttons_.size()); ++i) {
    character_buttons_[i] = maker.make_button(character_frame, indexed_name("Command3", i),
                                              QString(), song_font(10.5), QColor(255, 192, 192));
    place_in_grid(character_buttons_[i], i, kCharacterGrid);
    connect(character_buttons_[i], &QPushButton::clicked, this, [this, i] { Command3_Click(i); });
  }

  // The tone legend: each label, then 600 twips to its right the swatch whose colour the
  // characters of that tone take.
  struct Tone {
    const char16_t* label;
    int left;
    QColor colour;
  };
  const Tone tones[] = {{u"一声:", 780, QColor(255, 192, 192)},
                        {u"二声:", 2460, QColor(128, 255, 128)},
                        {u"三声:", 4200, QColor(128, 255, 255)},
                        {u"四声:", 5940, QColor(128, 128, 255)},
                        {u"轻声:", 7800, QColor(255, 128, 255)}};
  for (int tone = 1; tone <= 5; ++tone) {
    const Tone& legend = tones[tone - 1];
    auto* label = new QLabel(QString::fromUtf16(legend.label), character_frame);
    label->setObjectName(indexed_name("Label1", tone + 3));
    label->setFont(song_font(10.5, true));
    set_colour(label, QPalette::WindowText, Qt::black);
    place_in_twips(label, legend.left, 2700, 615, 255);

    tone_swatches_[tone] = maker.make_button(character_frame, indexed_name("Command5", tone),
                                             QString(), song_font(10.5), legend.colour);
    tone_swatches_[tone]->setFocusPolicy(Qt::NoFocus);
    place_in_twips(tone_swatches_[tone], legend.left + 600, 2580, 495, 375);
  }
}

void BrowserView::Command1_Click(int Index) {
  if (!holds_index(letter_buttons_, Index)) return;
  for (QPushButton* button : syllable_buttons_)
    button->setText(QString());
  const std::vector<std::u16string> syllables = syllables_of_letter(
      book_.texts()[Kind::pinyin], lower_caption(letter_buttons_[Index]), syllable_buttons_.size());
  for (std::size_t k = 0; k < syllables.size(); ++k) {
    syllable_buttons_[k]->setText(QString::fromStdU16String(syllables[k]));
  }
  Command2_Click(0);
}

void BrowserView::Command2_Click(int Index) {
  if (!holds_index(syllable_buttons_, Index)) return;
  for (QPushButton* button : character_buttons_) {
    button->setText(QString());
    set_button_colour(button, Qt::white);
    button->setProperty("Tag", QString());
    button->setToolTip(QString());
  }
  const std::vector<SyllableCharacter> characters =
      characters_of_syllable(book_.texts()[Kind::pinyin], lower_caption(syllable_buttons_[Index]),
                             character_buttons_.size());
  for (std::size_t k = 0; k < characters.size(); ++k) {
    const SyllableCharacter& character = characters[k];
    const QString pinyin = QString::fromStdU16String(character.pinyin);
    QPushButton* button = character_buttons_[k];
    button->setText(QString::fromStdU16String(character.character));
    button->setProperty("Tag", pinyin);
    button->setToolTip(QStringLiteral("拼音：") + pinyin + QStringLiteral("  "));
    set_button_colour(button, button_colour(tone_swatches_[character.tone]));
  }
  Command3_Click(0);
}

void BrowserView::Command3_Click(int Index) {
  if (!holds_index(character_buttons_, Index)) return;
  emit character_chosen(character_buttons_[Index]->text());
}

QList<QWidget*> BrowserView::tab_order() const {
  QList<QWidget*> order(character_buttons_.begin(), character_buttons_.end());
  order.append(QList<QWidget*>(syllable_buttons_.begin(), syllable_buttons_.end()));
  order.append(QList<QWidget*>(letter_buttons_.begin(), letter_buttons_.end()));
  return order;
}

}  // namespace zhavik
