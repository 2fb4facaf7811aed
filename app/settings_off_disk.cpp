#include "app/settings_off_disk.h"

#include <QSettings>

namespace zhavik {

void keep_settings_off_disk() {
  // A path below a device, not a folder: nothing can be created there, and QSettings takes a
  // failed write silently.
#ifdef _WIN32
  const QString nowhere = QStringLiteral("NUL:");
  // The registry is the native format on Windows; the file format can be pointed elsewhere.
  QSettings::setDefaultFormat(QSettings::IniFormat);
#else
  const QString nowhere = QStringLiteral("/dev/null");
#endif
  for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
    QSettings::setPath(format, QSettings::UserScope, nowhere);
    QSettings::setPath(format, QSettings::SystemScope, nowhere);
  }
}

}  // namespace zhavik
