#pragma once

#include <QIcon>

// The window's icon: the application icon that the desktop shows, 32 x 32 in the title bar.
QIcon window_icon();
