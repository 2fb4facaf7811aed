#pragma once

#include <cstdio>
#include <filesystem>

namespace zhavik {

// fopen for a path in the platform's own form: wide on Windows, where narrow names go
// through the ANSI code page and lose what it cannot write.
inline std::FILE* open_for_reading(const std::filesystem::path& path) {
#ifdef _WIN32
  return _wfopen(path.c_str(), L"rb");
#else
  return std::fopen(path.c_str(), "rb");
#endif
}

}  // namespace zhavik
