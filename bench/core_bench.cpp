// How fast the lookups are on the committed dictionaries: loading, one query, and the
// batch conversion of a million-character text.

#include <benchmark/benchmark.h>

#include <random>

#include "batch.h"
#include "code_book.h"
#include "cp936.h"
#include "query.h"

namespace zhavik {
namespace {

const DictionaryTexts& loaded_texts() {
  static const DictionaryTexts texts = load_dictionary_texts(ZHAVIK_SOURCE_DIR);
  return texts;
}

// 85 % hanzi of the pinyin dictionary, the rest punctuation, ASCII and line breaks.
std::u16string sample_text(std::size_t length) {
  std::u16string hanzi;
  for (const char16_t unit : loaded_texts().pinyin_data) {
    if (unit >= 0x4E00 && unit <= 0x9FFF) hanzi += unit;
  }
  const std::u16string others = u"，。、！？“”：；《》 abcdefghijklmnopqrstuvwxyz0123456789.,";
  std::mt19937 random(1);
  std::u16string text;
  text.reserve(length + 1);
  while (text.size() < length) {
    const unsigned roll = random() % 100;
    if (roll < 85) {
      text += hanzi[random() % hanzi.size()];
    } else if (roll < 87) {
      text += u"\r\n";
    } else {
      text += others[random() % others.size()];
    }
  }
  return text;
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
  const std::u16string characters = sample_text(4096);
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
  const std::u16string text = sample_text(1'000'000);
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
