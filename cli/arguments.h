#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/dictionary/kind.h"
#include "core/pinyin/pinyin_style.h"
#include "core/text/stream_decoder.h"

namespace zhavik {

// A command line that cannot be carried out; the message says why (already escaped for a
// terminal).
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

enum class Mode {
  describe,    // TEXT...: each character with its four answers
  kind,        // --kind KIND CHAR
  query,       // --query TEXT
  convert,     // --convert KIND [FILE...]
  from,        // --from KIND CODE
  tones,       // --tones TEXT
  syllables,   // --syllables LETTER
  characters,  // --characters SYLLABLE
  help,
  version,
};

struct Request {
  Mode mode = Mode::describe;
  std::optional<std::filesystem::path> data;
  std::optional<Kind> kind;
  std::vector<std::u16string> operands;      // texts, in UTF-16
  std::vector<std::filesystem::path> files;  // --convert's input files
  PinyinStyle style = PinyinStyle::marks;
  UmlautSpelling umlaut = UmlautSpelling::u_umlaut;  // --v
  InputEncoding encoding = InputEncoding::automatic;
  bool json = false;
  bool prefix = false;
  bool as_window = false;
  bool keep = false;           // --convert writes what it does not convert as it stands
  bool html = false;           // --convert pinyin writes a page, the readings above the text
  bool words = false;          // --convert pinyin reads polyphones from their words
  bool sandhi = false;         // --words writes 一 and 不 as spoken
  bool line_buffered = false;  // --convert writes each line out as soon as it is converted

  PinyinFormat format() const { return {style, umlaut}; }
};

// Reads the arguments after the program name. Throws UsageError.
Request parse_arguments(const std::vector<std::string>& arguments);

// A text as it may be shown on a terminal: control characters, and bytes that are not
// UTF-8, written as escapes (\n, \x1b), so that an argument cannot drive the terminal.
std::string escaped_for_terminal(const std::string& text);

extern const std::string kUsage;

}  // namespace zhavik
