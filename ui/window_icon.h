#pragma once

#include <QIcon>

// The window's icon: the character 字 on red, drawn at start so that no image file is needed.
QIcon window_icon();
