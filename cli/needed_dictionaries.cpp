#include "cli/needed_dictionaries.h"

#include <optional>
#include <string>
#include <vector>

#include "cli/output.h"
#include "cli/program_folder.h"
#include "core/text/cp936.h"
#include "core/text/text.h"

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

// The kinds whose files the request reads.
std::vector<Kind> needed_kinds(const Request& request) {
  if (request.mode == Mode::tones) return {};  // the tone marks come from the syllable
  if (request.mode == Mode::syllables || request.mode == Mode::characters) return {Kind::pinyin};
  const bool one_kind = request.mode == Mode::convert || request.mode == Mode::kind ||
                        (request.mode == Mode::from && !request.json);
  if (one_kind) return {*request.kind};
  return {kAllKinds.begin(), kAllKinds.end()};
}

std::string shown_name(const std::filesystem::path& path) {
  const std::u8string name = path.u8string();
  return escaped_for_terminal(std::string(name.begin(), name.end()));
}

}  // namespace

std::filesystem::path dictionary_folder(const Request& request, const char* argv0) {
  return request.data ? *request.data : program_folder(argv0);
}

DictionaryTexts load_needed_dictionaries(const Request& request,
                                         const std::filesystem::path& folder) {
  const std::optional<std::vector<std::uint16_t>> only = few_characters(request);
  LoadReport report;
  const DictionaryTexts texts =
      load_dictionary_texts(folder, &report, needed_kinds(request), only ? &*only : nullptr);
  for (const std::filesystem::path& path : report.unreadable) {
    write_error_line("warning: cannot read " + shown_name(path) + "; its lookups answer 暂缺");
  }
  // One warning for the run, however many files it names.
  if (!report.read_at_lf.empty()) {
    std::string warning = "warning: lines end in LF alone, not CR LF, in";
    for (std::size_t i = 0; i < report.read_at_lf.size(); ++i)
      warning += (i == 0 ? " " : ", ") + shown_name(report.read_at_lf[i]);
    write_error_line(warning + ": they were read at LF");
  }
  return texts;
}

}  // namespace zhavik
