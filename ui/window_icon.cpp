#include "ui/window_icon.h"

namespace zhavik {

QIcon window_icon() {
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/icons/zhavik-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

}  // namespace zhavik
