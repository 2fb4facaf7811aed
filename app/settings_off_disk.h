#pragma once

namespace zhavik {

// Zhavik writes no file but gg.jl. Qt's file dialog keeps its last folder and history in the
// user's configuration folder (QtProject.conf) through QSettings; this points every settings
// file of the program at a place where no file can be made, so the dialog remembers its folder
// for the run, in memory only. Call it before any window is built.
void keep_settings_off_disk();

}  // namespace zhavik
