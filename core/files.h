#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace zhavik {

// Why read_regular_file gave nothing.
enum class FileRefusal {
  unreadable,   // missing, not allowed, or a read that failed
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

}  // namespace zhavik
