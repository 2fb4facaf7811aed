#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zhavik {

// The three dictionaries, each kept as one text of records, every record preceded by "^".
//
// The files (img/1.jpg: 86 Wubi, img/2.jpg: 98 Wubi, img/3.jpg: pinyin; plain text in
// code page 936 despite the extension) separate lines with CR LF; a lone CR or LF is an
// ordinary character. Each text is "^" + the file's text with every CR LF turned into "^",
// and the pinyin text gets a closing "^" as well. A file with no CR LF at all but LF (saved
// on a system that ends lines so) has its lines read at LF instead; one that mixes the two
// keeps to CR LF.
//
//   Wubi line:   the character, then its codes separated by blanks     好 vb vbg
//   Pinyin line: syllable, one tone digit 1-5 (5 neutral), "=", the characters read that
//                way, one after another (blanks ignored)               hao3=好郝
//
// A missing or unreadable file gives an empty text; an empty file a text without records.
struct DictionaryTexts {
  std::u16string wubi86_data;
  std::u16string wubi98_data;
  std::u16string pinyin_data;
};

// Calls visit(body) for the text of each record of a dictionary text, between one "^" and
// the next (or the end).
template <class Visit>
void for_each_record(std::u16string_view text, Visit visit) {
  constexpr auto npos = std::u16string_view::npos;
  for (std::size_t record = text.find(u'^'); record != npos;) {
    const std::size_t end = text.find(u'^', record + 1);
    visit(text.substr(record + 1, (end == npos ? text.size() : end) - record - 1));
    record = end;
  }
}

// What ends the lines of a dictionary file, told from its bytes (CR and LF are never part of
// a two-byte character in code page 936).
enum class LineEnd { crlf, lf };
LineEnd line_end_of(std::string_view file_bytes);

std::u16string wubi_data_from(std::u16string_view file_text, LineEnd line_end = LineEnd::crlf);
std::u16string pinyin_data_from(std::u16string_view file_text, LineEnd line_end = LineEnd::crlf);

// File names under the program's folder, in loading order.
inline constexpr const char* kWubi86File = "img/1.jpg";
inline constexpr const char* kWubi98File = "img/2.jpg";
inline constexpr const char* kPinyinFile = "img/3.jpg";

// The largest dictionary file read, far above the real ones (a few hundred KB): a larger
// file is no dictionary, and reading it would only cost memory and start-up time.
inline constexpr std::uintmax_t kMaxDictionaryFileBytes = 16 * 1024 * 1024;

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
// throws.
std::optional<std::string> read_regular_file(const std::filesystem::path& path,
                                             std::uintmax_t max_bytes,
                                             FileRefusal* refusal = nullptr);

// Loads the three files from the folder that holds img/. Files that could not be read, or
// that are no regular file of at most kMaxDictionaryFileBytes, count as missing: they are
// listed in `unreadable` when asked for, and their texts stay empty.
DictionaryTexts load_dictionary_texts(const std::filesystem::path& folder,
                                      std::vector<std::filesystem::path>* unreadable = nullptr);

}  // namespace zhavik
