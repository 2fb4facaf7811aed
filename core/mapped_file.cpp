#include "core/mapped_file.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <cstring>
#include <optional>
#include <string>

#include "core/dictionary_texts.h"
#endif

namespace zhavik {

#ifndef _WIN32
std::shared_ptr<const MappedFile> MappedFile::open(const std::filesystem::path& path,
                                                   std::uintmax_t max_bytes) {
  // Looked at before opening: opening a pipe waits for a writer, and opening some devices
  // has effects of its own.
  struct stat found {};
  if (::stat(path.c_str(), &found) != 0 || !S_ISREG(found.st_mode)) return nullptr;
  const int file = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (file < 0) return nullptr;
  // The name may have been given to something else between the look and the opening.
  struct stat opened {};
  const bool regular = ::fstat(file, &opened) == 0 && S_ISREG(opened.st_mode) &&
                       static_cast<std::uintmax_t>(opened.st_size) <= max_bytes;
  std::shared_ptr<MappedFile> mapped(new MappedFile);
  mapped->size_ = regular ? static_cast<std::size_t>(opened.st_size) : 0;
  void* data = regular && mapped->size_ > 0
                   ? ::mmap(nullptr, mapped->size_, PROT_READ, MAP_PRIVATE, file, 0)
                   : nullptr;
  ::close(file);  // the mapping keeps the file
  if (!regular || data == MAP_FAILED) return nullptr;
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
