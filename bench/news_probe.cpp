// Usage: news_probe ADDRESS [TIME_LIMIT_MS [WATCH_MS]]
// The news strip's page view loading one page, as the window loads it: shown at the size it
// takes in the window, with the load's time limit given (30 s by default). Once the load has
// ended it keeps the view on screen, the marquee scrolling, for WATCH_MS more (3 s by
// default). A timer asks the event loop every 20 ms whether it still answers. Prints one
// line of figures: how long the load took, the CPU time spent during the load and during the
// watch after it, the longest the event loop kept the timer waiting, and the resident
// memory now and at its peak. bench/news_hostile.py runs it against hostile pages.

#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

#include "bench/process_memory.h"
#include "news/page_view.h"

namespace {

double cpu_seconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: news_probe ADDRESS [TIME_LIMIT_MS [WATCH_MS]]\n");
    return 2;
  }
  const int time_limit = argc > 2 ? std::atoi(argv[2]) : 30'000;
  const int watch = argc > 3 ? std::atoi(argv[3]) : 3'000;

  zhavik::news::PageView view;
  view.set_time_limit_ms(time_limit);
  view.resize(713, 108);  // the page view's size in the fitted strip
  view.show();

  // The event loop's answer time: how late the 20 ms ticks come.
  QElapsedTimer since_tick;
  qint64 worst_wait = 0;
  QTimer ticker;
  ticker.setInterval(20);
  QObject::connect(&ticker, &QTimer::timeout,
                   [&] { worst_wait = qMax(worst_wait, since_tick.restart()); });

  QElapsedTimer clock;
  const double cpu_start = cpu_seconds();
  clock.start();
  since_tick.start();
  ticker.start();
  view.navigate(argv[1]);
  double load_ms = 0, cpu_load = 0;
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (view.busy()) return;
    poll.stop();
    load_ms = static_cast<double>(clock.elapsed());
    cpu_load = cpu_seconds() - cpu_start;
    view.repaint();
    QTimer::singleShot(watch, &app, &QApplication::quit);
  });
  poll.start();
  app.exec();

  const zhavik::ResidentMemory memory = zhavik::resident_memory();
  std::printf(
      "load %.0f ms  cpu during load %.2f s  cpu in %.1f s after %.2f s  "
      "longest wait %lld ms  resident %.1f MB  peak %.1f MB\n",
      load_ms, cpu_load, watch / 1000.0, cpu_seconds() - cpu_start - cpu_load,
      static_cast<long long>(worst_wait), memory.resident_mb, memory.peak_mb);
  return 0;
}
