#include "cli/command_line.h"

#ifdef _WIN32
#include <windows.h>
// windows.h first: shellapi.h builds on its types.
#include <shellapi.h>
#endif

namespace zhavik {

#ifdef _WIN32

namespace {

std::string utf8_from_wide(const wchar_t* wide) {
  const int length = static_cast<int>(wcslen(wide));
  if (length == 0) return {};
  // A lone surrogate, which a UTF-8 string cannot hold, becomes U+FFFD.
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, length, text.data(), size, nullptr, nullptr);
  return text;
}

}  // namespace

std::vector<std::string> utf8_arguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return std::vector<std::string>(argv + 1, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i)
    arguments.push_back(utf8_from_wide(wide[i]));
  LocalFree(wide);
  return arguments;
}

#else

std::vector<std::string> utf8_arguments(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

#endif

}  // namespace zhavik
