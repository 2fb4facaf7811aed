// How fast the window answers, on the committed dictionaries:
// start-up from process start to the window shown, a letter click's whole cascade, the
// first conversion of a line by words (the word table read on that use), and the batch
// conversion of a million-character text into the result box, plainly and by words.

#include <QApplication>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/form_load.h"
#include "bench/sample_text.h"
#include "core/dictionary/dictionary_texts.h"
#include "ui/browser_view.h"
#include "ui/form1.h"

namespace {

using Clock = std::chrono::steady_clock;

double milliseconds(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

void report(const char* what, std::vector<double> times) {
  std::sort(times.begin(), times.end());
  std::printf("%-48s median %8.2f ms   min %8.2f ms   max %8.2f ms   (%zu runs)\n", what,
              times[times.size() / 2], times.front(), times.back(), times.size());
}

std::vector<double> start_up_times(int runs) {
  std::vector<double> times;
  const QString probe = QCoreApplication::applicationDirPath() + "/startup_probe";
  for (int i = 0; i < runs; ++i) {
    QProcess process;
    const Clock::time_point start = Clock::now();
    process.start(probe, {});
    if (!process.waitForFinished(10000)) continue;
    const long long shown = process.readAllStandardOutput().trimmed().toLongLong();
    times.push_back(milliseconds(Clock::time_point(std::chrono::nanoseconds(shown)) - start));
  }
  return times;
}

std::vector<double> time_each(int rounds, int count, const std::function<void(int)>& action) {
  std::vector<double> times;
  for (int round = 0; round < rounds; ++round) {
    for (int i = 0; i < count; ++i) {
      const Clock::time_point start = Clock::now();
      action(i);
      times.push_back(milliseconds(Clock::now() - start));
    }
  }
  return times;
}

}  // namespace

int main(int argc, char** argv) {
  // On a display (xvfb-run included) the figures are the display's; otherwise offscreen.
  if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const std::filesystem::path folder(QCoreApplication::applicationDirPath().toStdU16String());

  report("start-up: process start to window shown", start_up_times(20));

  zhavik::Form1 form;
  zhavik::Form_Load(form, folder);
  auto* browser = form.findChild<zhavik::BrowserView*>();
  form.show();
  QCoreApplication::processEvents();
  report("letter click, whole cascade",
         time_each(5, 26, [&](int i) { browser->Command1_Click(i); }));
  report("letter click, whole cascade and repaint", time_each(5, 26, [&](int i) {
           browser->Command1_Click(i);
           form.repaint();
         }));

  form.piliang_Click();
  auto* input = form.findChild<QPlainTextEdit*>("RichTextBox1_0");
  auto* by_words = form.findChild<QCheckBox*>("Check1");
  const auto convert = [&](int kind) {
    form.findChild<QPushButton*>(QStringLiteral("Command6_%1").arg(kind))->click();
    form.repaint();
  };
  // The word table is read on this first use, which the figure includes.
  input->setPlainText(QStringLiteral("我去银行取钱"));
  by_words->setChecked(true);
  report("first conversion of a line by words", time_each(1, 1, convert));
  by_words->setChecked(false);
  // The editor takes "\n" as its line break, as when a user pastes text.
  input->setPlainText(QString::fromStdU16String(zhavik::sample_text(
      zhavik::load_dictionary_texts(folder)[zhavik::Kind::pinyin], 1'000'000, u"\n")));
  report("convert 1,000,000 characters into the result box", time_each(1, 4, convert));
  by_words->setChecked(true);
  report("the same by words", time_each(1, 1, convert));
  return 0;
}
