#pragma once

#include <functional>

namespace zhavik {

class Form1;

// Runs Zhavik: builds the window, starts it up from the program's folder and shows it.
// `on_shown`, when given, runs once the window is on screen with its first query done.
int run_zhavik(int& argc, char** argv, const std::function<void(Form1&)>& on_shown = {});

}  // namespace zhavik
