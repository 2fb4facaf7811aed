// zhavik-lookup: the lookup engine at a terminal and in scripts. UTF-8 in and out.

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "batch.h"
#include "browser.h"
#include "code_book.h"
#include "dictionary_texts.h"
#include "kind.h"
#include "program_folder.h"
#include "query.h"
#include "text.h"
#include "tone_marks.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace zhavik {
namespace {

constexpr int kUsageError = 2;
constexpr int kInputError = 1;

constexpr const char* kUsage =
    "usage: zhavik-lookup [--data DIR] TEXT...             each character with its four codes\n"
    "       zhavik-lookup [--data DIR] --kind KIND CHAR     one lookup, exactly as the window\n"
    "       zhavik-lookup [--data DIR] --query TEXT         the query: character, then 4 answers\n"
    "       zhavik-lookup [--data DIR] --convert KIND       convert standard input\n"
    "       zhavik-lookup --tones TEXT                      numbered pinyin to tone marks\n"
    "       zhavik-lookup [--data DIR] --syllables LETTER   the syllables of a letter\n"
    "       zhavik-lookup [--data DIR] --characters SYLLABLE  the characters of a syllable\n"
    "KIND is 拼音, 86五笔, 98五笔 or 区位 (or pinyin, wubi86, wubi98, quwei).\n"
    "DIR is the folder that holds img/; by default the program's own folder.\n";

struct UsageError {
  std::string message;
};

enum class Mode { describe, kind, query, convert, tones, syllables, characters };

struct Request {
  Mode mode = Mode::describe;
  std::optional<std::filesystem::path> data;
  std::optional<Kind> kind;
  std::vector<std::u16string> operands;
};

// Paths in and out as UTF-8, whatever the platform's own path encoding.
std::filesystem::path path_from_utf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string path_to_utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::u16string operand_text(const std::string& argument) {
  std::size_t offset = 0;
  std::optional<std::u16string> text = utf8_to_utf16(argument, &offset);
  if (!text) {
    throw UsageError{"argument is not valid UTF-8 (byte offset " + std::to_string(offset) +
                     "): " + argument};
  }
  return *text;
}

Kind parse_kind(const std::string& name) {
  static const std::pair<const char*, Kind> aliases[] = {{"pinyin", Kind::pinyin},
                                                         {"wubi86", Kind::wubi86},
                                                         {"wubi98", Kind::wubi98},
                                                         {"quwei", Kind::quwei}};
  for (const auto& [alias, kind] : aliases) {
    if (name == alias) return kind;
  }
  if (std::optional<std::u16string> text = utf8_to_utf16(name)) {
    if (std::optional<Kind> kind = kind_from_text(*text)) return *kind;
  }
  throw UsageError{"unknown kind '" + name +
                   "': use 拼音, 86五笔, 98五笔, 区位, pinyin, wubi86, wubi98 or quwei"};
}

Request parse_arguments(const std::vector<std::string>& arguments) {
  Request request;
  bool mode_given = false;
  bool options_ended = false;
  const auto set_mode = [&](Mode mode, const std::string& option) {
    if (mode_given) throw UsageError{"only one of the modes can be given: " + option};
    request.mode = mode;
    mode_given = true;
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const auto value = [&]() -> const std::string& {
      if (i + 1 >= arguments.size()) throw UsageError{argument + " needs a value"};
      return arguments[++i];
    };
    if (options_ended || argument.size() < 2 || argument[0] != '-') {
      request.operands.push_back(operand_text(argument));
    } else if (argument == "--") {
      options_ended = true;
    } else if (argument == "--data") {
      request.data = path_from_utf8(value());
    } else if (argument == "--kind") {
      set_mode(Mode::kind, argument);
      request.kind = parse_kind(value());
    } else if (argument == "--convert") {
      set_mode(Mode::convert, argument);
      request.kind = parse_kind(value());
    } else if (argument == "--query") {
      set_mode(Mode::query, argument);
    } else if (argument == "--tones") {
      set_mode(Mode::tones, argument);
    } else if (argument == "--syllables") {
      set_mode(Mode::syllables, argument);
    } else if (argument == "--characters") {
      set_mode(Mode::characters, argument);
    } else {
      throw UsageError{"unknown option " + argument};
    }
  }
  const std::size_t wanted = request.mode == Mode::describe  ? request.operands.size()
                             : request.mode == Mode::convert ? 0
                                                             : 1;
  if (request.operands.size() != wanted || (request.mode == Mode::describe && wanted == 0)) {
    throw UsageError{request.mode == Mode::convert ? "--convert reads standard input only"
                                                   : "wrong number of arguments"};
  }
  return request;
}

// Syllables are lower-case; the Latin-1 capitals cover Ü as well as A to Z.
std::u16string lower_case(std::u16string text) {
  for (char16_t& unit : text) {
    if ((unit >= u'A' && unit <= u'Z') || (unit >= 0xC0 && unit <= 0xDE && unit != 0xD7)) {
      unit += 0x20;
    }
  }
  return text;
}

CodeBook load_book(const Request& request, const char* argv0) {
  const std::filesystem::path folder = request.data ? *request.data : program_folder(argv0);
  std::vector<std::filesystem::path> unreadable;
  DictionaryTexts texts = load_dictionary_texts(folder, &unreadable);
  for (const std::filesystem::path& path : unreadable) {
    std::cerr << "zhavik-lookup: warning: cannot read " << path_to_utf8(path)
              << "; its lookups answer 暂缺\n";
  }
  return CodeBook(std::move(texts));
}

void print(std::u16string_view text) {
  std::cout << utf16_to_utf8(text);
}

void describe(const CodeBook& book, const std::vector<std::u16string>& texts) {
  // Labels padded to eight terminal columns; each hanzi takes two.
  static const char* const labels[] = {"拼音    ", "86五笔  ", "98五笔  ", "区位    "};
  bool first = true;
  for (const std::u16string& text : texts) {
    for (std::size_t i = 0; i < text.size(); i += character_length(text, i)) {
      const std::u16string_view character =
          std::u16string_view(text).substr(i, character_length(text, i));
      if (character == u" " || character == u"\t" || character == u"\n" || character == u"\r") {
        continue;
      }
      if (!first) std::cout << '\n';
      first = false;
      print(character);
      std::cout << '\n';
      for (std::size_t k = 0; k < kAllKinds.size(); ++k) {
        const std::u16string answer = book.huoqu(kind_text(kAllKinds[k]), character);
        std::cout << "  " << labels[k];
        print(trim_blanks(answer));
        std::cout << '\n';
      }
    }
  }
}

int convert_standard_input(const CodeBook& book, Kind kind) {
  const std::string input{std::istreambuf_iterator<char>(std::cin),
                          std::istreambuf_iterator<char>()};
  std::size_t offset = 0;
  const std::optional<std::u16string> text = utf8_to_utf16(input, &offset);
  if (!text) {
    std::cerr << "zhavik-lookup: standard input is not valid UTF-8 (byte offset " << offset
              << ")\n";
    return kInputError;
  }
  print(convert_text(book, *text, kind_text(kind)));
  return 0;
}

int run(const Request& request, const char* argv0) {
  if (request.mode == Mode::tones) {
    print(zhuanhuan_py(request.operands[0]));
    std::cout << '\n';
    return 0;
  }
  if (request.mode == Mode::syllables && request.operands[0].size() != 1) {
    throw UsageError{"--syllables takes one letter"};
  }
  // The lookup answers for one character, as the window asks it. A longer text would be
  // searched as a whole by the plain scan, whose work grows with every place it is found.
  if (request.mode == Mode::kind &&
      first_character(request.operands[0]).size() != request.operands[0].size()) {
    throw UsageError{"--kind takes one character"};
  }
  const CodeBook book = load_book(request, argv0);
  switch (request.mode) {
    case Mode::describe:
      describe(book, request.operands);
      break;
    case Mode::kind:
      print(book.huoqu(kind_text(*request.kind), request.operands[0]));
      std::cout << '\n';
      break;
    case Mode::query: {
      const QueryResult result = run_query(book, request.operands[0]);
      print(result.character);
      std::cout << '\n';
      for (const std::u16string& answer : result.answers) {
        print(answer);
        std::cout << '\n';
      }
      break;
    }
    case Mode::convert:
      return convert_standard_input(book, *request.kind);
    case Mode::syllables:
      for (const std::u16string& syllable :
           syllables_of_letter(book.texts().pinyin_data, lower_case(request.operands[0]), 40)) {
        print(syllable);
        std::cout << '\n';
      }
      break;
    case Mode::characters:
      for (const SyllableCharacter& entry :
           characters_of_syllable(book.texts().pinyin_data, lower_case(request.operands[0]), 114)) {
        print(entry.character);
        std::cout << '\t' << entry.tone << '\t';
        print(entry.pinyin);
        std::cout << '\n';
      }
      break;
    case Mode::tones:
      break;
  }
  return 0;
}

}  // namespace
}  // namespace zhavik

int main(int argc, char** argv) {
#ifdef _WIN32
  // Byte-exact output: no CR added before LF.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
#endif
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
    std::cout << zhavik::kUsage;
    return 0;
  }
  try {
    const int status = zhavik::run(zhavik::parse_arguments(arguments), argv[0]);
    std::cout.flush();
    if (!std::cout) {
      std::cerr << "zhavik-lookup: cannot write standard output\n";
      return zhavik::kInputError;
    }
    return status;
  } catch (const zhavik::UsageError& error) {
    std::cerr << "zhavik-lookup: " << error.message << "\n" << zhavik::kUsage;
    return zhavik::kUsageError;
  }
}
