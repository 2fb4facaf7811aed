// How fast the lookups are on the committed dictionaries: loading, one query, and the
// batch conversion of a million-character text.

#include <benchmark/benchmark.h>

#include "batch.h"
#include "code_book.h"
#include "cp936.h"
#include "query.h"
#include "sample_text.h"

namespace zhavik {
namespace {

const DictionaryTexts& loaded_texts() {
  static const DictionaryTexts texts = load_dictionary_texts(ZHAVIK_SOURCE_DIR);
  return texts;
}

std::u16string benchmark_text(std::size_t length) {
  return sample_text(loaded_texts().pinyin_data, length, u"\r\n");
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
    benchmark::DoNotOptimize(convert_text(book, text, kind_text(kind)));
  }
  state.SetLabel(std::string(kind == Kind::pinyin   ? "pinyin"
                             : kind == Kind::wubi86 ? "wubi86"
                             : kind == Kind::wubi98 ? "wubi98"
                                                    : "quwei"));
}
BENCHMARK(ConvertMillionCharacters)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zhavik
