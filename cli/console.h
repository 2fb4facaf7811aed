#pragma once

#include <cstdio>
#include <optional>
#include <string_view>

namespace zhavik {

// A Windows console shows bytes in its own code page, so UTF-8 written there as it is turns
// into mojibake. Text for a console goes through WriteConsoleW instead; text for a file or a
// pipe stays the UTF-8 bytes it is, as everywhere else.

// Puts standard input and output in binary mode (no CR added before LF or taken away) and
// sends std::cerr through the console when standard error is one. Does nothing elsewhere
// than Windows.
void prepare_standard_streams();

// Writes UTF-8 text to `file` through the console when `file` is one: whether that
// worked, or nothing when `file` is not a console (always, elsewhere than Windows).
std::optional<bool> write_to_console(std::FILE* file, std::string_view utf8);

}  // namespace zhavik
