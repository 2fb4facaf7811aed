#include "get_my_version.h"

#include "version_text.h"

QString GetMyVersion() {
  static const QString text = QString::fromStdString(
      zhavik::version_text(ZHAVIK_VERSION_MAJOR, ZHAVIK_VERSION_MINOR, ZHAVIK_VERSION_PATCH));
  return text;
}
