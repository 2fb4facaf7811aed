#include "cli/arguments.h"

#include <utility>

#include "core/text/text.h"

namespace zhavik {
namespace {

// Paths in and out as UTF-8, whatever the platform's own path encoding.
std::filesystem::path path_from_utf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::u16string operand_text(const std::string& argument) {
  std::size_t offset = 0;
  std::optional<std::u16string> text = utf8_to_utf16(argument, &offset);
  if (!text) {
    throw UsageError("argument is not valid UTF-8 (byte offset " + std::to_string(offset) +
                     "): " + escaped_for_terminal(argument));
  }
  return *text;
}

// "a, b or c" with " or " as `last`.
std::string listed(const std::vector<std::string>& words, const char* last) {
  std::string list;
  for (std::size_t i = 0; i < words.size(); ++i)
    list += (i == 0 ? "" : i + 1 == words.size() ? last : ", ") + words[i];
  return list;
}

std::vector<std::string> kind_texts() {
  std::vector<std::string> texts;
  for (const KindRow& row : kKinds)
    texts.push_back(utf16_to_utf8(row.text));
  return texts;
}

std::vector<std::string> kind_names() {
  std::vector<std::string> names;
  for (const KindRow& row : kKinds)
    names.emplace_back(row.name);
  return names;
}

Kind parse_kind(const std::string& name) {
  if (std::optional<Kind> kind = kind_from_name(name)) return *kind;
  if (std::optional<std::u16string> text = utf8_to_utf16(name)) {
    if (std::optional<Kind> kind = kind_from_text(*text)) return *kind;
  }
  std::vector<std::string> all = kind_texts();
  for (std::string& kind_name : kind_names())
    all.push_back(std::move(kind_name));
  throw UsageError("unknown kind '" + escaped_for_terminal(name) + "': use " + listed(all, " or "));
}

template <class Choice>
Choice parse_choice(const std::string& option, const std::string& value,
                    std::initializer_list<std::pair<const char*, Choice>> choices) {
  std::string names;
  for (const auto& [name, choice] : choices) {
    if (value == name) return choice;
    names += names.empty() ? name : std::string(", ") + name;
  }
  throw UsageError(option + " takes one of " + names + ", not '" + escaped_for_terminal(value) +
                   "'");
}

PinyinStyle parse_style(const std::string& name) {
  if (std::optional<PinyinStyle> style = pinyin_style_named(name)) return *style;
  throw UsageError("unknown style '" + escaped_for_terminal(name) + "': use " +
                   pinyin_style_names());
}

std::string style_name(PinyinStyle style) {
  for (const PinyinStyleName& entry : kPinyinStyleNames) {
    if (entry.style == style) return std::string(entry.name);
  }
  return {};
}

// --style and --v shape the pinyin a run writes. Where it writes none, or none that the
// style can shape, they are refused rather than ignored.
void check_pinyin_format(const Request& request) {
  if (request.umlaut == UmlautSpelling::v && !spells_umlaut(request.style)) {
    throw UsageError("--v writes ü as v in --style numbers or none, not in --style " +
                     style_name(request.style));
  }
  if (request.style == PinyinStyle::marks) return;
  const std::string style = "--style " + style_name(request.style);
  const auto refuse_other_kinds = [&](const char* option, const char* instead) {
    if (shape_of(*request.kind) == AnswerShape::readings) return;
    throw UsageError(style + " writes pinyin, and " + option + " " +
                     std::string(row_of(*request.kind).name) + " writes none: use " + option +
                     " pinyin" + instead);
  };
  switch (request.mode) {
    case Mode::kind:
      return refuse_other_kinds("--kind", " or TEXT, which shows every kind");
    case Mode::convert:
      return refuse_other_kinds("--convert", "");
    case Mode::from:
      if (!request.json) refuse_other_kinds("--from", ", or --json, which shows every kind");
      return;
    case Mode::tones:
      throw UsageError("--tones writes tone marks only, not " + style);
    case Mode::syllables:
      // The syllables are listed without tones, and many share an initial or a letter.
      if (request.style == PinyinStyle::none || request.style == PinyinStyle::zhuyin) return;
      throw UsageError(
          "--syllables lists syllables without tones: use --style none or zhuyin, "
          "not " +
          style_name(request.style));
    default:
      return;
  }
}

// How many operands each mode takes: exactly one, except TEXT... (at least one) and
// --convert (files instead).
void check_operands(const Request& request) {
  switch (request.mode) {
    case Mode::describe:
      if (request.operands.empty()) throw UsageError("nothing to look up");
      return;
    case Mode::convert:
    case Mode::help:
    case Mode::version:
      return;
    default:
      if (request.operands.size() != 1) throw UsageError("wrong number of arguments");
  }
  if (request.mode == Mode::syllables && request.operands[0].size() != 1) {
    throw UsageError("--syllables takes one letter");
  }
  // The lookup answers for one character, as the window asks it. A longer text would be
  // searched as a whole by the plain scan, whose work grows with every place it is found.
  if (request.mode == Mode::kind &&
      first_character(request.operands[0]).size() != request.operands[0].size()) {
    throw UsageError("--kind takes one character");
  }
  if (request.mode == Mode::from && request.operands[0].empty()) {
    throw UsageError("--from needs a code");
  }
}

}  // namespace

Request parse_arguments(const std::vector<std::string>& arguments) {
  Request request;
  bool mode_given = false;
  bool options_ended = false;
  std::vector<std::string> positional;
  const auto set_mode = [&](Mode mode, const std::string& option) {
    if (mode_given) throw UsageError("only one of the modes can be given: " + option);
    request.mode = mode;
    mode_given = true;
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const auto value = [&]() -> const std::string& {
      if (i + 1 >= arguments.size()) throw UsageError(argument + " needs a value");
      return arguments[++i];
    };
    if (options_ended || argument.size() < 2 || argument[0] != '-') {
      positional.push_back(argument);
    } else if (argument == "--") {
      options_ended = true;
    } else if (argument == "--help" || argument == "-h") {
      set_mode(Mode::help, argument);
    } else if (argument == "--version") {
      set_mode(Mode::version, argument);
    } else if (argument == "--data") {
      request.data = path_from_utf8(value());
    } else if (argument == "--kind" || argument == "--convert" || argument == "--from") {
      set_mode(argument == "--kind"      ? Mode::kind
               : argument == "--convert" ? Mode::convert
                                         : Mode::from,
               argument);
      request.kind = parse_kind(value());
    } else if (argument == "--query") {
      set_mode(Mode::query, argument);
    } else if (argument == "--tones") {
      set_mode(Mode::tones, argument);
    } else if (argument == "--syllables") {
      set_mode(Mode::syllables, argument);
    } else if (argument == "--characters") {
      set_mode(Mode::characters, argument);
    } else if (argument == "--style") {
      request.style = parse_style(value());
    } else if (argument == "--v") {
      request.umlaut = UmlautSpelling::v;
    } else if (argument == "--encoding") {
      request.encoding = parse_choice<InputEncoding>(
          argument, value(), {{"utf-8", InputEncoding::utf8}, {"gbk", InputEncoding::gbk}});
    } else if (argument == "--json") {
      request.json = true;
    } else if (argument == "--prefix") {
      request.prefix = true;
    } else if (argument == "--as-window") {
      request.as_window = true;
    } else if (argument == "--keep") {
      request.keep = true;
    } else if (argument == "--html") {
      request.html = true;
    } else if (argument == "--words") {
      request.words = true;
    } else if (argument == "--sandhi") {
      request.sandhi = true;
    } else if (argument == "--line-buffered") {
      request.line_buffered = true;
    } else {
      throw UsageError("unknown option " + escaped_for_terminal(argument));
    }
  }
  // File names are bytes to the system; every other operand is text.
  for (const std::string& argument : positional) {
    if (request.mode == Mode::convert) {
      request.files.push_back(path_from_utf8(argument));
    } else {
      request.operands.push_back(operand_text(argument));
    }
  }
  // Options that only make sense beside one mode are refused elsewhere rather than ignored.
  const bool converting = request.mode == Mode::convert;
  if ((request.as_window || request.keep || request.html || request.line_buffered ||
       request.encoding != InputEncoding::automatic) &&
      !converting) {
    throw UsageError(
        "--as-window, --keep, --html, --encoding and --line-buffered go with --convert");
  }
  if (request.as_window && (request.keep || request.html)) {
    throw UsageError("--as-window writes what the window writes: not with --keep or --html");
  }
  if (request.html && request.kind != Kind::pinyin) {
    throw UsageError("--html goes with --convert pinyin only");
  }
  if (request.as_window && request.style != PinyinStyle::marks) {
    throw UsageError("--as-window writes what the window writes, in tone marks");
  }
  if (request.words && (!converting || request.kind != Kind::pinyin)) {
    throw UsageError("--words goes with --convert pinyin");
  }
  if (request.words && request.as_window) {
    throw UsageError("--words reads words line by line: not with --as-window");
  }
  if (request.sandhi && !request.words) throw UsageError("--sandhi goes with --words");
  if (request.prefix && request.mode != Mode::from) throw UsageError("--prefix goes with --from");
  if (request.json && request.mode != Mode::describe && request.mode != Mode::query &&
      request.mode != Mode::from) {
    throw UsageError("--json goes with TEXT, --query or --from");
  }
  check_pinyin_format(request);
  check_operands(request);
  return request;
}

std::string escaped_for_terminal(const std::string& text) {
  static const char* const kHex = "0123456789abcdef";
  const auto hex = [](unsigned char byte) {
    return std::string("\\x") + kHex[byte >> 4] + kHex[byte & 0xF];
  };
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const std::size_t length = byte < 0x80 ? 1 : byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
    const std::string_view piece = std::string_view(text).substr(i, length);
    const std::optional<std::u16string> character = utf8_to_utf16(piece);
    if (!character || piece.size() != length) {
      out += hex(byte);  // not UTF-8
      ++i;
      continue;
    }
    const char32_t code_point = code_point_at(*character, 0);
    if (code_point == U'\n') {
      out += "\\n";
    } else if (code_point == U'\t') {
      out += "\\t";
    } else if (code_point == U'\\') {
      out += "\\\\";
    } else if (code_point < 0x20 || code_point == 0x7F ||
               (code_point >= 0x80 && code_point < 0xA0)) {
      out += hex(static_cast<unsigned char>(code_point));  // C0 and C1 controls, DEL
    } else {
      out += piece;
    }
    i += length;
  }
  return out;
}

const std::string kUsage =
    "usage: zhavik-lookup [OPTIONS] TEXT...                each character with its four codes\n"
    "       zhavik-lookup [OPTIONS] --kind KIND CHAR       one lookup, exactly as the window\n"
    "       zhavik-lookup [OPTIONS] --query TEXT           the query: character, then 4 answers\n"
    "       zhavik-lookup [OPTIONS] --convert KIND [FILE...]  convert the files (or standard\n"
    "                                                      input) line by line\n"
    "       zhavik-lookup [OPTIONS] --from KIND CODE       the characters that CODE gives\n"
    "       zhavik-lookup --tones TEXT                     numbered pinyin to tone marks\n"
    "       zhavik-lookup [OPTIONS] --syllables LETTER     the syllables of a letter\n"
    "       zhavik-lookup [OPTIONS] --characters SYLLABLE  the characters of a syllable\n"
    "       zhavik-lookup --help | --version\n"
    "options:\n"
    "  --data DIR                 the folder that holds img/ (default: the program's folder)\n"
    "  --style STYLE              how pinyin is written: marks zhōng (default), numbers zhong1,\n"
    "                             none zhong, initials zh, first z or zhuyin ㄓㄨㄥ\n"
    "  --v                        with --style numbers or none: ü as v (lv4)\n"
    "  --json                     JSON output for TEXT, --query and --from\n"
    "  --prefix                   with --from: every code that starts with CODE\n"
    "  --encoding utf-8|gbk       with --convert: the input's encoding (default: a byte-order\n"
    "                             mark, else UTF-8 if valid, else GBK)\n"
    "  --as-window                with --convert: exactly what the window's batch view writes\n"
    "  --keep                     with --convert: what is not converted stays as it stands\n"
    "                             (你好，Hi → nǐ hǎo ， Hi)\n"
    "  --html                     with --convert pinyin: one HTML page, the pinyin above the\n"
    "                             characters (<ruby>), for the screen and for print\n"
    "  --words                    with --convert pinyin: read polyphones from the words they\n"
    "                             stand in (银行 yín háng, 行走 xíng zǒu)\n"
    "  --sandhi                   with --words: 一 and 不 as spoken (一个 yí gè, 不是 bú shì)\n"
    "  --line-buffered            with --convert: write each line as soon as it is converted\n"
    "                             (always so when standard output is a terminal)\n"
    "KIND is " +
    listed(kind_texts(), " or ") + " (or " + listed(kind_names(), ", ") +
    ").\n"
    "Exit status: 0 done, 1 nothing found or a read or write error, 2 bad usage.\n";

}  // namespace zhavik
