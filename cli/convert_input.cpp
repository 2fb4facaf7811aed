#include "cli/convert_input.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include "cli/file_calls.h"
#include "cli/open_file.h"
#include "core/conversion/conversion.h"
#include "core/conversion/ruby_layout.h"
#include "core/conversion/word_conversion.h"
#include "core/dictionary/code_book.h"
#include "core/dictionary/first_words.h"
#include "core/pinyin/word_loading.h"
#include "core/text/stream_decoder.h"
#include "core/text/text.h"

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

// The conversion the request asks for: each character's first reading or code, or, with
// --words, the readings of the words the characters stand in. Nothing when the word table
// cannot be read (said on standard error).
std::unique_ptr<CharacterConversion> conversion_of(const Request& request,
                                                   const DictionaryTexts& texts,
                                                   const std::filesystem::path& folder) {
  const PinyinFormat format = request.format();
  if (!request.words) {
    auto first_words = std::make_shared<FirstWords>(texts, *request.kind, format);
    auto first_word_of = [first_words](char16_t unit, std::uint16_t code) {
      return first_words->of(unit, code);
    };
    return std::make_unique<CharacterByCharacter<decltype(first_word_of)>>(first_word_of);
  }
  const std::filesystem::path path = folder / kWordPinyinFile;
  LoadedWords loaded = load_word_table(path, texts[Kind::pinyin]);
  if (!loaded.table) {
    write_error_line("cannot read the word table " + display_name(&path) +
                     ", which --words needs: " + refusal_text(*loaded.refusal));
    return nullptr;
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
  // The conversion keeps references to what it reads; they live as long as it does.
  struct Owned final : CharacterConversion {
    Owned(const DictionaryTexts& texts, std::shared_ptr<const WordTable> table, bool sandhi,
          PinyinFormat format)
        : book(texts), table(std::move(table)), words(book, *this->table, sandhi, format) {}
    void convert(std::u16string_view line, ConversionLayout& layout) override {
      words.convert(line, layout);
    }
    CodeBook book;
    std::shared_ptr<const WordTable> table;
    WordConversion words;
  };
  return std::make_unique<Owned>(texts, std::move(loaded.table), request.sandhi, format);
}

// The page's title: the first file's name, or 拼音注音 ("pinyin annotation") for standard input.
std::u16string page_title(const Request& request) {
  const std::u8string name =
      request.files.empty() ? std::u8string() : request.files.front().filename().u8string();
  if (name.empty()) return u"拼音注音";
  return utf8_to_utf16_lossy(std::string(name.begin(), name.end()));
}

TextLayout layout_of(const Request& request) {
  if (request.as_window) return TextLayout::window;
  return request.keep ? TextLayout::keep : TextLayout::command_line;
}

}  // namespace

int convert_input(const Request& request, const DictionaryTexts& texts,
                  const std::filesystem::path& folder, Output& out) {
  const std::unique_ptr<CharacterConversion> conversion = conversion_of(request, texts, folder);
  if (!conversion) return 1;
  std::u16string text, converted;
  std::string page;
  std::unique_ptr<ConversionLayout> layout;
  RubyPageLayout* page_layout = nullptr;
  if (request.html) {
    auto made = std::make_unique<RubyPageLayout>(page_title(request), false, page);
    page_layout = made.get();
    layout = std::move(made);
  } else {
    layout = std::make_unique<TextLayoutWriter>(layout_of(request), converted);
  }
  // The window's text is one whole, whose lines may run on from one file into the next; each
  // character of it converts alone, so it goes out as it comes.
  std::optional<ConversionPipeline> window;
  if (request.as_window) window.emplace(*conversion, *layout, 0);
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
    std::optional<ConversionPipeline> own;
    ConversionPipeline& pipeline = window ? *window : own.emplace(*conversion, *layout);
    const auto pass_on = [&](bool final) {
      pipeline.feed(text);
      if (final && !window) pipeline.finish();
      out.write(converted);
      out.write(page);
      text.clear();
      converted.clear();
      page.clear();
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
    window->finish();
    out.write(converted);
  }
  if (page_layout) {
    page_layout->end_page();
    out.write(page);
  }
  return status;
}

}  // namespace zhavik
