#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zhavik {

// The lines of a dictionary file (its code page 936 bytes, lines ending in CR LF) whose
// bytes hold the two-byte code of any of `codes`, in file order, each with the CR LF that
// followed it in the file. Every record that holds one of the characters is among them, and
// a record that does not (its bytes matched across two characters) adds nothing to any
// answer; so the lookup of those characters answers from the excerpt as from the whole
// file, without decoding the whole file first. That makes a run that looks up a few
// characters start at once.
std::string dictionary_excerpt(std::string_view file_bytes,
                               const std::vector<std::uint16_t>& codes);

}  // namespace zhavik
