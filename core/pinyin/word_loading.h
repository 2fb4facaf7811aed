#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/pinyin/word_table.h"
#include "core/text/files.h"

namespace zhavik {

// The word table as the programs load it, on first use: from the word file, the counts
// file beside it (see word_table.h; without it every piece of a cut counts alike, so a line
// is cut into as few pieces as possible) and the pinyin dictionary, which says what
// readings each character has.
//
// Building the table from the texts takes a few hundred milliseconds for the full files,
// so the build compiles it beforehand into img/word_table.bin, beside them (see
// WordTable::to_bytes). Its header carries a hash of the word file, the counts file and
// the pinyin dictionary it was made from; a compiled table whose hash differs from that of
// the files found now (one of them was edited or replaced), or that is damaged, is passed
// over and the table is built from the texts, with the same result.
inline constexpr const char* kWordTableFile = "img/word_table.bin";

// Whether the word file can be used, as far as a look at it tells: its type, its size (at
// most kMaxDictionaryFileBytes, 16 MiB) and whether it opens. Cheap enough for every start.
std::optional<FileRefusal> word_file_refusal(const std::filesystem::path& word_file);

struct LoadedWords {
  std::unique_ptr<const WordTable> table;  // null when refused
  std::optional<FileRefusal> refusal;
  std::size_t malformed_lines = 0;   // of the word file
  std::size_t unknown_readings = 0;  // lines of the word file with a reading no character has
  std::size_t malformed_count_lines = 0;
  bool counts_read = false;  // whether the counts file was there and could be read
  bool compiled = false;     // whether the table came from its compiled form
};

// Loads the table for the word file at `word_file` (img/word_pinyin.txt of a program
// folder), with the counts file and the compiled form of the same folder.
LoadedWords load_word_table(const std::filesystem::path& word_file,
                            std::u16string_view pinyin_data);

// The compiled form of the table that load_word_table would build from these files: what
// the build writes to kWordTableFile. Nothing when the word file is refused.
std::optional<std::string> compile_word_table(const std::filesystem::path& word_file,
                                              std::u16string_view pinyin_data);

}  // namespace zhavik
