#include "core/text/mapped_file.h"

#include <optional>

#include "core/text/files.h"

#ifndef _WIN32
#include <sys/mman.h>
#include <unistd.h>
#else
#include <cstring>
#include <string>
#endif

namespace zhavik {

#ifndef _WIN32
std::shared_ptr<const MappedFile> MappedFile::open(const std::filesystem::path& path,
                                                   std::uintmax_t max_bytes) {
  const std::optional<OpenedFile> file = open_regular_file(path, max_bytes);
  if (!file) return nullptr;
  std::shared_ptr<MappedFile> mapped(new MappedFile);
  mapped->size_ = static_cast<std::size_t>(file->size);
  void* data = mapped->size_ > 0
                   ? ::mmap(nullptr, mapped->size_, PROT_READ, MAP_PRIVATE, file->descriptor, 0)
                   : nullptr;
  ::close(file->descriptor);  // the mapping keeps the file
  if (data == MAP_FAILED) return nullptr;
  mapped->data_ = data ? static_cast<const char*>(data) : "";
  mapped->mapped_ = data != nullptr;
  return mapped;
}

MappedFile::~MappedFile() {
  if (mapped_) ::munmap(const_cast<char*>(data_), size_);
}
#else
std::shared_ptr<const MappedFile> MappedFile::open(const std::filesystem::path& path,
                                                   std::uintmax_t max_bytes) {
  const std::optional<std::string> bytes = read_regular_file(path, max_bytes);
  if (!bytes) return nullptr;
  std::shared_ptr<MappedFile> read(new MappedFile);
  read->read_.resize(bytes->size() / 8 + 1);
  std::memcpy(read->read_.data(), bytes->data(), bytes->size());
  read->data_ = reinterpret_cast<const char*>(read->read_.data());
  read->size_ = bytes->size();
  return read;
}

MappedFile::~MappedFile() = default;
#endif

}  // namespace zhavik
