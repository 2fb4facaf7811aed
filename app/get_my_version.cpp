#include "get_my_version.h"

#include "version_text.h"

QString GetMyVersion() {
  static const QString text = QString::fromStdString(zhavik::program_version_text());
  return text;
}
