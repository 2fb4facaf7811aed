#include "core/dictionary_texts.h"

#include <algorithm>
#include <new>

#ifdef _WIN32
#include <fstream>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

#include "core/cp936.h"

namespace zhavik {
namespace {

std::u16string records_of(std::u16string_view file_text, LineEnd line_end) {
  std::u16string records = u"^";
  records.reserve(file_text.size() + 2);
  for (std::size_t i = 0; i < file_text.size(); ++i) {
    if (line_end == LineEnd::lf && file_text[i] == u'\n') {
      records += u'^';
    } else if (file_text[i] == u'\r' && i + 1 < file_text.size() && file_text[i + 1] == u'\n') {
      records += u'^';
      ++i;
    } else {
      records += file_text[i];
    }
  }
  return records;
}

std::u16string load_text(const std::filesystem::path& path,
                         std::u16string (*form)(std::u16string_view, LineEnd),
                         std::vector<std::filesystem::path>* unreadable) {
  const std::optional<std::string> bytes = read_regular_file(path, kMaxDictionaryFileBytes);
  if (!bytes) {
    if (unreadable) unreadable->push_back(path);
    return {};
  }
  return form(cp936_decode(*bytes), line_end_of(*bytes));
}

std::nullopt_t refuse(FileRefusal why, FileRefusal* refusal) {
  if (refusal) *refusal = why;
  return std::nullopt;
}

}  // namespace

#ifndef _WIN32
std::optional<std::string> read_regular_file(const std::filesystem::path& path,
                                             std::uintmax_t max_bytes, FileRefusal* refusal) {
  // Looked at before opening: opening a pipe waits for a writer, and opening some devices
  // has effects of its own.
  struct stat found {};
  if (::stat(path.c_str(), &found) != 0) return refuse(FileRefusal::unreadable, refusal);
  if (!S_ISREG(found.st_mode)) return refuse(FileRefusal::not_regular, refusal);
  if (static_cast<std::uintmax_t>(found.st_size) > max_bytes) {
    return refuse(FileRefusal::too_large, refusal);
  }
  const int file = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (file < 0) return refuse(FileRefusal::unreadable, refusal);
  struct Closer {
    int file;
    ~Closer() { ::close(file); }
  } closer{file};
  // The name may have been given to something else between the look and the opening.
  struct stat opened {};
  if (::fstat(file, &opened) != 0) return refuse(FileRefusal::unreadable, refusal);
  if (!S_ISREG(opened.st_mode)) return refuse(FileRefusal::not_regular, refusal);

  // The size is only a first guess: a file may grow while it is read, and files such as
  // those of /proc tell no size at all.
  try {
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(
        std::min<std::uintmax_t>(static_cast<std::uintmax_t>(opened.st_size), max_bytes) + 1));
    std::size_t length = 0;
    for (;;) {
      if (length == bytes.size()) {
        if (length > max_bytes) return refuse(FileRefusal::too_large, refusal);
        bytes.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(length * 2, max_bytes + 1)));
      }
      const ssize_t got = ::read(file, bytes.data() + length, bytes.size() - length);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) return refuse(FileRefusal::unreadable, refusal);
      if (got == 0) break;
      length += static_cast<std::size_t>(got);
    }
    bytes.resize(length);
    return bytes;
  } catch (const std::bad_alloc&) {
    return refuse(FileRefusal::unreadable, refusal);
  }
}
#else
std::optional<std::string> read_regular_file(const std::filesystem::path& path,
                                             std::uintmax_t max_bytes, FileRefusal* refusal) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (error || !std::filesystem::exists(status)) return refuse(FileRefusal::unreadable, refusal);
  if (!std::filesystem::is_regular_file(status)) return refuse(FileRefusal::not_regular, refusal);
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return refuse(FileRefusal::unreadable, refusal);
  if (size > max_bytes) return refuse(FileRefusal::too_large, refusal);
  try {
    std::ifstream file(path, std::ios::binary);
    if (!file) return refuse(FileRefusal::unreadable, refusal);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (file.gcount() != static_cast<std::streamsize>(bytes.size())) {
      return refuse(FileRefusal::unreadable, refusal);
    }
    return bytes;
  } catch (const std::exception&) {
    return refuse(FileRefusal::unreadable, refusal);
  }
}
#endif

LineEnd line_end_of(std::string_view file_bytes) {
  const bool lf_only = file_bytes.find("\r\n") == std::string_view::npos &&
                       file_bytes.find('\n') != std::string_view::npos;
  return lf_only ? LineEnd::lf : LineEnd::crlf;
}

std::u16string wubi_data_from(std::u16string_view file_text, LineEnd line_end) {
  return records_of(file_text, line_end);
}

std::u16string pinyin_data_from(std::u16string_view file_text, LineEnd line_end) {
  return records_of(file_text, line_end) + u'^';
}

DictionaryTexts load_dictionary_texts(const std::filesystem::path& folder,
                                      std::vector<std::filesystem::path>* unreadable) {
  DictionaryTexts texts;
  texts.wubi86_data = load_text(folder / kWubi86File, wubi_data_from, unreadable);
  texts.wubi98_data = load_text(folder / kWubi98File, wubi_data_from, unreadable);
  texts.pinyin_data = load_text(folder / kPinyinFile, pinyin_data_from, unreadable);
  return texts;
}

}  // namespace zhavik
