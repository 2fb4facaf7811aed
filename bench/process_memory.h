#pragma once

#include <fstream>
#include <string>

namespace zhavik {

// The resident set of this process and its peak (VmRSS and VmHWM in /proc/self/status), in
// MB; zero where the file or the line is missing.
struct ResidentMemory {
  double resident_mb = 0;
  double peak_mb = 0;
};

inline ResidentMemory resident_memory() {
  std::ifstream status("/proc/self/status");
  long resident = 0, peak = 0;  // kB
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmRSS:")) resident = std::stol(line.substr(6));
    if (line.starts_with("VmHWM:")) peak = std::stol(line.substr(6));
  }
  return {resident / 1024.0, peak / 1024.0};
}

}  // namespace zhavik
