#pragma once

#include <string>
#include <vector>

namespace zhavik {

// The program's arguments as UTF-8, without the program's name. On Windows they come from
// the wide command line: argv holds them in the ANSI code page, which writes most Chinese
// characters, and the file names made of them, as "?".
std::vector<std::string> utf8_arguments(int argc, char** argv);

}  // namespace zhavik
