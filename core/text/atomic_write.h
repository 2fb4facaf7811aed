#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace zhavik {

// Makes `bytes` the whole content of the file at `path`, or changes nothing at all: a file
// is never left half written, whatever fails (a full disk, a folder that may not be written,
// a rename refused). The bytes go into a new file of a name of its own in the same folder
// (so that the rename stays on one file system), are flushed to the disk, and only then is
// that file renamed over `path`, in one step. On any failure the new file is removed, and a
// file that stood at `path` keeps its content. A file that exists but may not be written is
// refused, as writing it in place would be, rather than replaced; a replaced file keeps its
// permissions. Gives the error, or none when the file is written. Never throws.
std::error_code write_file_atomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace zhavik
