#pragma once

#include <filesystem>

namespace zhavik {

// The folder that holds the running program, where img/ stands beside it.
std::filesystem::path program_folder(const char* argv0);

}  // namespace zhavik
