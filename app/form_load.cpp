#include "form_load.h"

#include <QPlainTextEdit>

#include "dictionary_texts.h"
#include "form1.h"
#include "form_kit.h"
#include "get_my_version.h"
#include "word_table.h"

void Form_Load(Form1& form, const std::filesystem::path& program_folder) {
  form.setWindowTitle(QStringLiteral("Zhavik ") + GetMyVersion());
  for (QPlainTextEdit* editor : form.RichTextBox1) {
    set_colour(editor, QPalette::Text, QColor(0, 0, 255));
  }
  form.set_code_book(zhavik::CodeBook(zhavik::load_dictionary_texts(program_folder)));
  form.set_word_table_file(program_folder / zhavik::kWordPinyinFile);
  form.Command1_Click(0);
  form.danzi_Click();
}
