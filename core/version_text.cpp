#include "version_text.h"

namespace zhavik {

std::string version_text(int major, int minor, int revision) {
  return std::to_string(major) + "." + std::to_string(minor) + std::to_string(revision);
}

}  // namespace zhavik
