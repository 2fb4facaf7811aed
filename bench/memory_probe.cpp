// How much memory the window takes: Zhavik started as a user starts it, then a text of a
// million characters (about 1 MB, hanzi mostly) pasted into the batch view and converted to
// pinyin. Prints the resident set and its peak (from /proc/self/status) at both moments.
// With the argument "words" the conversion reads polyphones from their words (Check1 on),
// so the figures include the word table, loaded on that first use.

#include <QCheckBox>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cstdio>
#include <cstring>

#include "app/run_zhavik.h"
#include "bench/process_memory.h"
#include "bench/sample_text.h"
#include "core/dictionary/dictionary_texts.h"
#include "ui/form1.h"

namespace {

void report(const char* moment) {
  const zhavik::ResidentMemory memory = zhavik::resident_memory();
  std::printf("%-38s resident %7.1f MB   peak %7.1f MB\n", moment, memory.resident_mb,
              memory.peak_mb);
}

}  // namespace

int main(int argc, char** argv) {
  const bool by_words = argc > 1 && std::strcmp(argv[argc - 1], "words") == 0;
  return zhavik::run_zhavik(argc, argv, [by_words](zhavik::Form1& form) {
    form.repaint();
    report("after start-up");
    const std::filesystem::path folder(QCoreApplication::applicationDirPath().toStdU16String());
    form.piliang_Click();
    form.findChild<QPlainTextEdit*>("RichTextBox1_0")
        ->setPlainText(QString::fromStdU16String(zhavik::sample_text(
            zhavik::load_dictionary_texts(folder)[zhavik::Kind::pinyin], 1'000'000, u"\n")));
    form.findChild<QCheckBox*>("Check1")->setChecked(by_words);
    form.findChild<QPushButton*>("Command6_0")->click();
    form.repaint();
    report(by_words ? "after converting them, by words" : "after converting 1,000,000 characters");
    QCoreApplication::quit();
  });
}
