#include "cli/program_folder.h"

#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace zhavik {

std::filesystem::path program_folder(const char* argv0) {
#ifdef _WIN32
  wchar_t buffer[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 4);
  if (length > 0 && length < MAX_PATH * 4) {
    return std::filesystem::path(std::wstring(buffer, length)).parent_path();
  }
#else
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) return self.parent_path();
#endif
  std::error_code ignored;
  return std::filesystem::absolute(argv0 ? argv0 : "", ignored).parent_path();
}

}  // namespace zhavik
