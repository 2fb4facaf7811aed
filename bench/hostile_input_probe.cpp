// What hostile dictionaries and files cost the window. Usage:
//   hostile_input_probe FOLDER [FILE]
// starts a window on the dictionaries in FOLDER/img (as Zhavik starts), queries 中 in the
// single-character view, and, when FILE is given, opens it in the batch view and converts it
// to pinyin. Prints the time of each step and the resident set and its peak after it (from
// /proc/self/status), so that a run under a memory limit shows how far it got.

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <chrono>
#include <cstdio>
#include <functional>

#include "app/form_load.h"
#include "bench/process_memory.h"
#include "ui/form1.h"

namespace {

void step(const char* what, const std::function<void()>& action) {
  const auto start = std::chrono::steady_clock::now();
  action();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const zhavik::ResidentMemory memory = zhavik::resident_memory();
  std::printf("%-28s %9.3f s   resident %8.1f MB   peak %8.1f MB\n", what, seconds,
              memory.resident_mb, memory.peak_mb);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FOLDER [FILE]\n", argv[0]);
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  zhavik::Form1 form;
  step("start-up", [&] {
    zhavik::Form_Load(form, argv[1]);
    form.show();
    QCoreApplication::processEvents();
  });
  step("query 中", [&] {
    form.findChild<QLineEdit*>("Text1_0")->setText(QStringLiteral("中"));
    form.findChild<QPushButton*>("Command4")->click();
  });
  std::printf("answer lengths: %lld %lld %lld units\n",
              static_cast<long long>(form.findChild<QLineEdit*>("Text1_1")->text().size()),
              static_cast<long long>(form.findChild<QLineEdit*>("Text1_2")->text().size()),
              static_cast<long long>(form.findChild<QLineEdit*>("Text1_3")->text().size()));
  if (argc < 3) return 0;

  form.piliang_Click();
  bool loaded = false;
  step("open the file", [&] { loaded = form.load_text_file(QString::fromLocal8Bit(argv[2])); });
  std::printf("loaded: %s, %lld characters in the box\n", loaded ? "yes" : "no",
              static_cast<long long>(
                  form.findChild<QPlainTextEdit*>("RichTextBox1_0")->document()->characterCount()));
  step("convert to pinyin", [&] {
    form.findChild<QPushButton*>("Command6_0")->click();
    form.repaint();
  });
  std::printf("%lld characters in the result box\n",
              static_cast<long long>(
                  form.findChild<QPlainTextEdit*>("RichTextBox1_1")->document()->characterCount()));
  return 0;
}
