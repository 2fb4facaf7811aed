#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

namespace zhavik {

// The bytes of a regular file, mapped into memory where the system allows it: only the
// pages that are read are ever loaded, and those come straight from the system's file
// cache, so that a large table costs nothing to open and a search touches a few pages of it.
// Elsewhere (Windows) the file is read whole. The bytes start at an address aligned for any
// plain number. A mapped file must not shrink while it is mapped, which holds for files that
// are replaced by renaming a new one over them, as builds and package managers do.
class MappedFile {
 public:
  // Nothing for anything but a regular file (after following links) of at most `max_bytes`
  // that can be read: missing, a folder, a pipe, a device or a larger file. Only a regular
  // file is ever opened. Never throws.
  static std::shared_ptr<const MappedFile> open(const std::filesystem::path& path,
                                                std::uintmax_t max_bytes);

  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  ~MappedFile();

  std::string_view bytes() const { return {data_, size_}; }

 private:
  MappedFile() = default;

  const char* data_ = nullptr;
  std::size_t size_ = 0;
  bool mapped_ = false;
  std::vector<std::uint64_t> read_;  // the bytes, where the file is read instead
};

}  // namespace zhavik
