#include "cli/convert_input.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include "cli/file_calls.h"
#include "cli/open_file.h"
#include "core/batch.h"
#include "core/first_words.h"
#include "core/line_conversion.h"
#include "core/stream_decoder.h"
#include "core/word_conversion.h"
#include "core/word_loading.h"

namespace zhavik {
namespace {

constexpr std::size_t kReadSize = 256 * 1024;

std::string display_name(const std::filesystem::path* path) {
  if (!path) return "standard input";
  const std::u8string name = path->u8string();
  return escaped_for_terminal(std::string(name.begin(), name.end()));
}

// Reads one input through `consume(bytes)`, which returns false to stop reading; each piece
// is passed on as soon as it has come. False after a read error, which it reports.
template <class Consume>
bool read_input(std::FILE* file, const std::string& name, Consume consume) {
  std::string chunk(kReadSize, '\0');
  while (true) {
    const std::ptrdiff_t got = read_available(file, chunk.data(), chunk.size());
    if (got < 0) {
      write_error_line("cannot read " + name + ": " + std::strerror(errno));
      return false;
    }
    if (got == 0 || !consume(std::string_view(chunk.data(), static_cast<std::size_t>(got)))) {
      return true;
    }
  }
}

const char* refusal_text(FileRefusal refusal) {
  switch (refusal) {
    case FileRefusal::missing:
      return "there is no such file";
    case FileRefusal::not_regular:
      return "it is not a regular file";
    case FileRefusal::too_large:
      return "it is larger than 16 MiB";
    case FileRefusal::unreadable:
      break;
  }
  return "it cannot be read";
}

// The line conversion the request asks for: each character's first reading or code, or,
// with --words, the readings of the words the characters stand in. Nothing when the word
// table cannot be read (said on standard error).
std::optional<LineConversion> line_conversion(const Request& request, const DictionaryTexts& texts,
                                              const std::filesystem::path& folder,
                                              FirstWords* words) {
  if (!request.words) {
    return [words](std::u16string_view line, std::u16string& out) {
      convert_characters(line, *words, out);
    };
  }
  const std::filesystem::path path = folder / kWordPinyinFile;
  LoadedWords loaded = load_word_table(path, texts[Kind::pinyin]);
  if (!loaded.table) {
    write_error_line("cannot read the word table " + display_name(&path) +
                     ", which --words needs: " + refusal_text(*loaded.refusal));
    return std::nullopt;
  }
  if (loaded.malformed_lines != 0) {
    write_error_line("warning: " + std::to_string(loaded.malformed_lines) +
                     " lines of the word table are not words and were left out");
  }
  if (loaded.unknown_readings != 0) {
    write_error_line("warning: " + std::to_string(loaded.unknown_readings) +
                     " words of the word table give a character a reading that the pinyin"
                     " dictionary does not have and were left out");
  }
  if (!loaded.counts_read) {
    const std::filesystem::path counts = folder / kWordCountsFile;
    write_error_line("warning: cannot read the word counts " + display_name(&counts) +
                     ": lines are cut into as few words as possible");
  } else if (loaded.malformed_count_lines != 0) {
    write_error_line("warning: " + std::to_string(loaded.malformed_count_lines) +
                     " lines of the word counts are not counts and were left out");
  }
  auto book = std::make_shared<const CodeBook>(texts);
  std::shared_ptr<const WordTable> table = std::move(loaded.table);
  return [book, table, sandhi = request.sandhi](std::u16string_view line, std::u16string& out) {
    // The word conversion writes a blank after every item; a line's items only go between.
    const std::size_t before = out.size();
    append_line_by_words(out, *book, *table, line, sandhi);
    if (out.size() > before) out.pop_back();
  };
}

}  // namespace

int convert_input(const Request& request, const DictionaryTexts& texts,
                  const std::filesystem::path& folder, Output& out) {
  // The word conversion reads the whole code book instead, and never goes with --as-window.
  std::unique_ptr<FirstWords> words;
  if (!request.words) words = std::make_unique<FirstWords>(texts, *request.kind, request.format());
  const std::optional<LineConversion> conversion =
      line_conversion(request, texts, folder, words.get());
  if (!conversion) return 1;
  // What the window's batch view writes, for a text that arrives in pieces.
  const auto first_word_of = [&words](char16_t unit, std::uint16_t code) {
    return words->of(unit, code);
  };
  std::optional<BatchLayout<decltype(first_word_of)>> window;
  if (request.as_window) window.emplace(first_word_of);
  std::u16string text, converted;
  int status = 0;

  std::vector<const std::filesystem::path*> inputs;
  for (const std::filesystem::path& file : request.files)
    inputs.push_back(&file);
  if (inputs.empty()) inputs.push_back(nullptr);

  for (const std::filesystem::path* path : inputs) {
    if (out.failed()) return 1;
    const std::string name = display_name(path);
    errno = 0;
    std::FILE* file = path ? open_for_reading(*path) : stdin;
    if (!file) {
      write_error_line("cannot open " + name + ": " + std::strerror(errno));
      status = 1;
      continue;
    }
    // Lines written out one by one are awaited one by one too, unless the input is a file.
    StreamDecoder decoder(request.encoding, out.line_buffered() && !is_regular_file(file));
    LineConverter lines(*conversion);
    const auto pass_on = [&](bool final) {
      if (window) {
        window->feed(text, converted);
      } else {
        lines.feed(text, converted);
        if (final) lines.finish(converted);
      }
      out.write(converted);
      text.clear();
      converted.clear();
    };
    const bool read = read_input(file, name, [&](std::string_view bytes) {
      decoder.feed(bytes, text);
      pass_on(false);
      return !out.failed();
    });
    if (path) std::fclose(file);
    // Output that cannot be written ends the run, whatever is left to read.
    if (out.failed()) return 1;
    decoder.finish(text);
    pass_on(true);
    if (!read) status = 1;
    if (const std::optional<std::uint64_t> offset = decoder.first_bad_byte()) {
      write_error_line("warning: " + name +
                       ": bytes that fit no encoding became U+FFFD (the first at byte offset " +
                       std::to_string(*offset) + ")");
    }
  }
  if (window) {
    window->finish(converted);
    out.write(converted);
  }
  return status;
}

}  // namespace zhavik
