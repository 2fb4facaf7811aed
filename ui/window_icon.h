#pragma once

#include <QIcon>

namespace zhavik {

// The window's icon: the application icon that the desktop shows, 32 x 32 in the title bar.
QIcon window_icon();

}  // namespace zhavik
