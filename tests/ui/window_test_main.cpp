// Runs window tests on Qt's offscreen platform: real widgets, no display needed.

#include <gtest/gtest.h>
#include <QApplication>
#include <QByteArray>

namespace {

// What Qt keeps for the user (the file dialog's folder and history in QtProject.conf) and
// anything a test starts (the desktop's opener for a help page) would land in the real home
// folder; the tests get a home of their own in the build tree instead, set before Qt or any
// library reads it.
void use_home_in_build_tree() {
  const QByteArray home = ZHAVIK_TEST_HOME;
  qputenv("HOME", home);
  qputenv("XDG_CONFIG_HOME", home + "/.config");
  qputenv("XDG_CACHE_HOME", home + "/.cache");
  qputenv("XDG_DATA_HOME", home + "/.local/share");
  qputenv("XDG_STATE_HOME", home + "/.local/state");
}

}  // namespace

int main(int argc, char** argv) {
  use_home_in_build_tree();
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
