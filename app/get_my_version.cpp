#include "app/get_my_version.h"

#include "core/version_text.h"

namespace zhavik {

QString GetMyVersion() {
  static const QString text = QString::fromStdString(program_version_text());
  return text;
}

}  // namespace zhavik
