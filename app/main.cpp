// Zhavik: the pinyin, Wubi and area/position codes of Chinese characters.

#include "app/run_zhavik.h"

int main(int argc, char** argv) {
  return zhavik::run_zhavik(argc, argv);
}
