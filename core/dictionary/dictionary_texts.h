#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/dictionary/kind.h"

namespace zhavik {

// The dictionaries, one for each kind that reads a file (kKinds names the files), each kept
// as one text of records, every record preceded by "^".
//
// The files (plain text in code page 936 despite the extension) separate lines with CR LF;
// a lone CR or LF is an ordinary character. Each text is "^" + the file's text with every
// CR LF turned into "^", and a text in the pinyin format gets a closing "^" as well. A file
// with no CR LF at all but LF (saved on a system that ends lines so) has its lines read at
// LF instead; one that mixes the two keeps to CR LF.
//
//   Wubi line:   the character, then its codes separated by blanks     好 vb vbg
//                (a "*" inside a code is part of the code; the window shows it as a blank)
//   Pinyin line: syllable, one tone digit 1-5 (5 neutral), "=", the characters read that
//                way, one after another (blanks ignored)               hao3=好郝
//
// A missing or unreadable file gives an empty text; an empty file a text without records.
class DictionaryTexts {
 public:
  DictionaryTexts() = default;
  // The texts given, the others empty.
  DictionaryTexts(std::initializer_list<std::pair<Kind, std::u16string>> texts) {
    for (const auto& [kind, text] : texts)
      (*this)[kind] = text;
  }

  std::u16string& operator[](Kind kind) { return texts_[index_of(kind)]; }
  const std::u16string& operator[](Kind kind) const { return texts_[index_of(kind)]; }

 private:
  std::array<std::u16string, kKindCount> texts_;  // empty for a kind without a file
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

// The text of a kind's dictionary file, from the file's bytes. With `only`, just the lines
// that hold one of those two-byte codes are kept (dictionary_excerpt.h): the lookups of those
// characters answer as from the whole file, and a run that looks up a few characters starts
// at once.
std::u16string dictionary_text(Kind kind, std::string_view file_bytes,
                               const std::vector<std::uint16_t>* only = nullptr);

// The largest dictionary file read, far above the real ones (a few hundred KB): a larger
// file is no dictionary, and reading it would only cost memory and start-up time.
inline constexpr std::uintmax_t kMaxDictionaryFileBytes = 16 * 1024 * 1024;

// What loading found wrong with the files.
struct LoadReport {
  // Missing, unreadable, or no regular file of at most kMaxDictionaryFileBytes: their texts
  // stay empty.
  std::vector<std::filesystem::path> unreadable;
  // Read at LF, since their lines end in LF alone.
  std::vector<std::filesystem::path> read_at_lf;
};

// Loads the files of `kinds` from the folder that holds img/, in the order of their names
// (img/1.jpg, img/2.jpg, img/3.jpg), with `only` as above.
DictionaryTexts load_dictionary_texts(const std::filesystem::path& folder,
                                      LoadReport* report = nullptr,
                                      std::span<const Kind> kinds = kAllKinds,
                                      const std::vector<std::uint16_t>* only = nullptr);

}  // namespace zhavik
