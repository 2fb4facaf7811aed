#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace zhavik {

// Why a file was not read.
enum class FileRefusal {
  missing,      // no file of that name
  unreadable,   // not allowed, or a read that failed
  not_regular,  // a folder, a pipe, a device
  too_large,    // more than the bytes asked for
};

// The bytes of the file at `path` if it is a regular file (after following links) of at
// most `max_bytes`; nothing for anything else: missing, unreadable, a folder, a pipe, a
// device or a larger file, and then `refusal`, when given, says which. Only a regular file
// is ever opened, so a pipe never makes this wait and a device is never touched. Never
// throws. Every file the program reads whole goes through here (the word file and the text
// files a user opens) or through MappedFile, which makes the same checks (the dictionaries).
std::optional<std::string> read_regular_file(const std::filesystem::path& path,
                                             std::uintmax_t max_bytes,
                                             FileRefusal* refusal = nullptr);

// What read_regular_file would refuse the file at `path` for, as far as a look tells: its
// type, its size and whether it opens (it is not read). Cheap enough for every start.
std::optional<FileRefusal> regular_file_refusal(const std::filesystem::path& path,
                                                std::uintmax_t max_bytes);

#ifndef _WIN32
// The file at `path` opened for reading under the rules of read_regular_file, with its size
// at the opening, for a caller that maps it rather than reads it; the caller closes it.
struct OpenedFile {
  int descriptor;
  std::uintmax_t size;
};
std::optional<OpenedFile> open_regular_file(const std::filesystem::path& path,
                                            std::uintmax_t max_bytes,
                                            FileRefusal* refusal = nullptr);
#endif

}  // namespace zhavik
