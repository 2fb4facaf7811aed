#include "app/form_load.h"

#include <QColor>

#include "app/get_my_version.h"
#include "core/dictionary/dictionary_texts.h"
#include "core/pinyin/word_table.h"
#include "ui/form1.h"

namespace zhavik {

void Form_Load(Form1& form, const std::filesystem::path& program_folder) {
  form.setWindowTitle(QStringLiteral("Zhavik ") + GetMyVersion());
  form.set_batch_text_colour(QColor(0, 0, 255));
  form.set_code_book(CodeBook(load_dictionary_texts(program_folder)));
  form.set_word_table_file(program_folder / kWordPinyinFile);
  form.Command1_Click(0);
  form.danzi_Click();
}

}  // namespace zhavik
