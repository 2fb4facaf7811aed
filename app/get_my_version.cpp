#include "get_my_version.h"

#include "program_version.h"
#include "version_text.h"

QString GetMyVersion() {
  using namespace zhavik::program_version;
  static const QString text =
      QString::fromStdString(zhavik::version_text(kMajor, kMinor, kRevision));
  return text;
}
