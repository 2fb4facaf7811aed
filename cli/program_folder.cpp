#include "cli/program_folder.h"

#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace zhavik {

std::filesystem::path program_folder(const char* argv0) {
#ifdef _WIN32
  // The path may be longer than MAX_PATH: the buffer grows until the whole of it fits.
  std::wstring buffer(MAX_PATH, L'\0');
  while (buffer.size() <= 32768) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) break;
    if (length < buffer.size()) {
      buffer.resize(length);
      return std::filesystem::path(buffer).parent_path();
    }
    buffer.resize(buffer.size() * 2);
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
