#pragma once

#include <QString>

namespace zhavik {

// The program's version as the title bar and the About box show it: 3.90 for 3.9.0.
QString GetMyVersion();

}  // namespace zhavik
