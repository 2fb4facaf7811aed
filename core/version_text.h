#pragma once

#include <string>

namespace zhavik {

// The version as the title bar and the About box show it: major "." minor, then the
// revision written straight after the minor number (3, 9, 0 give 3.90; 1, 2, 15 give 1.215).
std::string version_text(int major, int minor, int revision);

// This build's version text, from the project's version numbers: 3.90 for 3.9.0.
std::string program_version_text();

}  // namespace zhavik
