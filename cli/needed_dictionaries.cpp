#include "cli/needed_dictionaries.h"

#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/program_folder.h"
#include "core/cp936.h"
#include "core/dictionary_excerpt.h"
#include "core/text.h"

namespace zhavik {
namespace {

// The characters a run looks up, when they are few enough that reading only the lines
// that hold them is faster than decoding the whole files.
std::optional<std::vector<std::uint16_t>> few_characters(const Request& request) {
  constexpr std::size_t kFew = 64;
  if (request.mode != Mode::describe && request.mode != Mode::kind && request.mode != Mode::query) {
    return std::nullopt;
  }
  std::vector<std::uint16_t> codes;
  std::size_t characters = 0;
  for (const std::u16string& text : request.operands) {
    for (std::size_t i = 0; i < text.size(); i += character_length(text, i)) {
      if (++characters > kFew) return std::nullopt;
      if (const std::uint16_t code = cp936_double_byte(code_point_at(text, i))) {
        codes.push_back(code);
      }
    }
  }
  return codes;
}

std::string shown_name(const std::filesystem::path& path) {
  const std::u8string name = path.u8string();
  return escaped_for_terminal(std::string(name.begin(), name.end()));
}

// Adds the name of a file whose lines end in LF alone to `lf_files`.
std::u16string load(const std::filesystem::path& path,
                    std::u16string (*form)(std::u16string_view, LineEnd),
                    const std::optional<std::vector<std::uint16_t>>& only,
                    std::vector<std::string>& lf_files) {
  const std::optional<std::string> bytes = read_regular_file(path, kMaxDictionaryFileBytes);
  if (!bytes) {
    std::cerr << "zhavik-lookup: warning: cannot read " << shown_name(path)
              << "; its lookups answer 暂缺\n";
    return {};
  }
  // Told from the whole file: an excerpt may hold neither line end. (Such a file is one line
  // to the excerpt, which then holds all of it.)
  const LineEnd line_end = line_end_of(*bytes);
  if (line_end == LineEnd::lf) lf_files.push_back(shown_name(path));
  return form(cp936_decode(only ? dictionary_excerpt(*bytes, *only) : *bytes), line_end);
}

}  // namespace

std::filesystem::path dictionary_folder(const Request& request, const char* argv0) {
  return request.data ? *request.data : program_folder(argv0);
}

DictionaryTexts load_needed_dictionaries(const Request& request,
                                         const std::filesystem::path& folder) {
  const bool one_kind = request.mode == Mode::convert || request.mode == Mode::kind ||
                        (request.mode == Mode::from && !request.json);
  const bool browsing = request.mode == Mode::syllables || request.mode == Mode::characters;
  const auto needs = [&](Kind kind) {
    if (request.mode == Mode::tones) return false;  // the tone marks come from the syllable
    if (browsing) return kind == Kind::pinyin;
    return !one_kind || request.kind == kind;
  };
  const std::optional<std::vector<std::uint16_t>> only = few_characters(request);
  DictionaryTexts texts;
  std::vector<std::string> lf_files;
  if (needs(Kind::wubi86)) {
    texts.wubi86_data = load(folder / kWubi86File, wubi_data_from, only, lf_files);
  }
  if (needs(Kind::wubi98)) {
    texts.wubi98_data = load(folder / kWubi98File, wubi_data_from, only, lf_files);
  }
  if (needs(Kind::pinyin)) {
    texts.pinyin_data = load(folder / kPinyinFile, pinyin_data_from, only, lf_files);
  }
  // One warning for the run, however many files it names.
  if (!lf_files.empty()) {
    std::cerr << "zhavik-lookup: warning: lines end in LF alone, not CR LF, in";
    for (std::size_t i = 0; i < lf_files.size(); ++i)
      std::cerr << (i == 0 ? " " : ", ") << lf_files[i];
    std::cerr << ": they were read at LF\n";
  }
  return texts;
}

}  // namespace zhavik
