// How fast the lookups are on the committed dictionaries: loading, one query, and the
// batch conversion of a million-character text, plain and reading words.

#include <benchmark/benchmark.h>

#include <fstream>

#include "bench/sample_text.h"
#include "core/conversion/batch.h"
#include "core/conversion/word_conversion.h"
#include "core/dictionary/code_book.h"
#include "core/dictionary/query.h"
#include "core/pinyin/word_loading.h"
#include "core/text/cp936.h"
#include "core/text/text.h"

namespace zhavik {
namespace {

const DictionaryTexts& loaded_texts() {
  static const DictionaryTexts texts = load_dictionary_texts(ZHAVIK_SOURCE_DIR);
  return texts;
}

std::u16string benchmark_text(std::size_t length) {
  return sample_text(loaded_texts()[Kind::pinyin], length, u"\r\n");
}

void LoadFiles(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(load_dictionary_texts(ZHAVIK_SOURCE_DIR));
  }
}
BENCHMARK(LoadFiles)->Unit(benchmark::kMillisecond);

void LoadFilesAndIndex(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(CodeBook(load_dictionary_texts(ZHAVIK_SOURCE_DIR)));
  }
}
BENCHMARK(LoadFilesAndIndex)->Unit(benchmark::kMillisecond);

void QueryFourAnswers(benchmark::State& state) {
  const CodeBook book(loaded_texts());
  const std::u16string characters = benchmark_text(4096);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(run_query(book, std::u16string_view(characters).substr(i, 1)));
    i = (i + 1) % characters.size();
  }
}
BENCHMARK(QueryFourAnswers)->Unit(benchmark::kMicrosecond);

// From freshly loaded texts: each round builds the index anew before converting.
void ConvertMillionCharacters(benchmark::State& state) {
  const Kind kind = kAllKinds[static_cast<std::size_t>(state.range(0))];
  const std::u16string text = benchmark_text(1'000'000);
  for (auto _ : state) {
    const CodeBook book(loaded_texts());
    benchmark::DoNotOptimize(convert_text(book, text, kind));
  }
  state.SetLabel(std::string(row_of(kind).name));
}
BENCHMARK(ConvertMillionCharacters)->DenseRange(0, kKindCount - 1)->Unit(benchmark::kMillisecond);

// The word table of the build folder, where the build compiled it.
const WordTable& loaded_words() {
  static const LoadedWords loaded = load_word_table(
      std::filesystem::path(ZHAVIK_BUILD_DIR) / kWordPinyinFile, loaded_texts()[Kind::pinyin]);
  return *loaded.table;
}

// Real prose, where words matter: the accuracy text repeated to a million characters, with
// the CR LF line ends the window hands over.
std::u16string prose_text(std::size_t length) {
  std::ifstream file(std::filesystem::path(ZHAVIK_SOURCE_DIR) / "bench/accuracy/handbook_zh_cn.txt",
                     std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  std::u16string prose;
  for (const char16_t unit : utf8_to_utf16_lossy(bytes)) {
    if (unit == u'\n') prose += u'\r';
    prose += unit;
  }
  std::u16string text;
  while (text.size() < length)
    text += prose;
  text.resize(length);
  return text;
}

// What the window spends on the first use of the words: reading the files and building the
// table from them (0: the texts alone, as in a folder without the compiled table), or
// taking the compiled table after checking that it was made from those files (1).
void LoadWordTable(benchmark::State& state) {
  const bool compiled = state.range(0) == 1;
  const std::filesystem::path folder = compiled ? ZHAVIK_BUILD_DIR : ZHAVIK_SOURCE_DIR;
  for (auto _ : state) {
    const LoadedWords loaded =
        load_word_table(folder / kWordPinyinFile, loaded_texts()[Kind::pinyin]);
    if (loaded.compiled != compiled) state.SkipWithError("not loaded the way measured");
    benchmark::DoNotOptimize(loaded.table.get());
  }
  state.SetLabel(compiled ? "compiled" : "from the texts");
}
BENCHMARK(LoadWordTable)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

// The same million characters of prose converted to pinyin plainly (0) and reading words
// (1), with the dictionaries and the words ready, as they are after the first use.
void ConvertMillionCharactersOfProse(benchmark::State& state) {
  const bool by_words = state.range(0) == 1;
  const CodeBook book(loaded_texts());
  const WordTable& words = loaded_words();
  const std::u16string text = prose_text(1'000'000);
  for (auto _ : state) {
    benchmark::DoNotOptimize(by_words ? convert_text_by_words(book, words, text)
                                      : convert_text(book, text, Kind::pinyin));
  }
  state.SetLabel(by_words ? "pinyin by words" : "pinyin");
}
BENCHMARK(ConvertMillionCharactersOfProse)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zhavik
