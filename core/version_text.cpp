#include "core/version_text.h"

#include "program_version.h"

namespace zhavik {

std::string version_text(int major, int minor, int revision) {
  return std::to_string(major) + "." + std::to_string(minor) + std::to_string(revision);
}

std::string program_version_text() {
  using namespace program_version;
  return version_text(kMajor, kMinor, kRevision);
}

}  // namespace zhavik
