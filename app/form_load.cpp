#include "app/form_load.h"

#include <QPlainTextEdit>

#include "app/get_my_version.h"
#include "core/dictionary_texts.h"
#include "core/word_table.h"
#include "kit/form_kit.h"
#include "ui/browser_view.h"
#include "ui/form1.h"

namespace zhavik {

void Form_Load(Form1& form, const std::filesystem::path& program_folder) {
  form.setWindowTitle(QStringLiteral("Zhavik ") + GetMyVersion());
  for (int i = 0; i < 2; ++i) {
    set_colour(form.findChild<QPlainTextEdit*>(indexed_name("RichTextBox1", i)), QPalette::Text,
               QColor(0, 0, 255));
  }
  form.set_code_book(CodeBook(load_dictionary_texts(program_folder)));
  form.set_word_table_file(program_folder / kWordPinyinFile);
  form.findChild<BrowserView*>()->Command1_Click(0);
  form.danzi_Click();
}

}  // namespace zhavik
