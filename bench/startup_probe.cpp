// Zhavik started as a user starts it, ending as soon as the window is on screen, fully drawn
// and with its first query done. Prints that moment on the steady clock (nanoseconds), which
// ui_bench compares with the moment it started this program.

#include <QCoreApplication>
#include <chrono>
#include <cstdio>

#include "app/run_zhavik.h"
#include "ui/form1.h"

int main(int argc, char** argv) {
  return zhavik::run_zhavik(argc, argv, [](zhavik::Form1& form) {
    form.repaint();
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::printf("%lld\n", static_cast<long long>(
                              std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
    std::fflush(stdout);
    QCoreApplication::quit();
  });
}
