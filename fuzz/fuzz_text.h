#pragma once

// Turns fuzz bytes into the texts the core works on. Random code units almost never form
// a record, so most bytes pick from the units that give the dictionary texts their
// structure; the rest give any code unit at all, lone surrogates and U+0000 among them.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/dictionary/dictionary_texts.h"

namespace zhavik::fuzz {

inline constexpr char16_t kTelling[] = {
    u'^',      u'=', u' ', u'*',   u'\r',  u'\n',  u'\t',  u'1',   u'2',  u'3',  u'4',
    u'5',      u'0', u'6', u'a',   u'e',   u'i',   u'o',   u'u',   u'n',  u'g',  u'r',
    u'h',      u'z', u'A', u'v',   u'ü',   u'好',  u'中',  u'一',  u'啊', u'阿', u'，',
    u'\u3000', u'€', 0,    0xFFFF, 0xFFFD, 0xD800, 0xDC00, 0x2029, 0x2028};

// A text of at most `max_units` units.
inline std::u16string telling_text(FuzzedDataProvider& input, std::size_t max_units) {
  std::u16string text;
  const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, max_units);
  while (text.size() < length && input.remaining_bytes() > 0) {
    const std::uint8_t choice = input.ConsumeIntegral<std::uint8_t>();
    if (choice < 0xC0) {
      text += kTelling[choice % std::size(kTelling)];
    } else {
      text += static_cast<char16_t>(input.ConsumeIntegral<std::uint16_t>());
    }
  }
  return text;
}

// A text of at most `max_units` units for each kind that reads a file, made into records as
// the file's format asks.
inline DictionaryTexts telling_dictionaries(FuzzedDataProvider& input, std::size_t max_units) {
  DictionaryTexts texts;
  for (const KindRow& row : kKinds) {
    if (row.shape == AnswerShape::area_position) continue;
    const std::u16string file = telling_text(input, max_units);
    texts[row.kind] =
        row.shape == AnswerShape::readings ? pinyin_data_from(file) : wubi_data_from(file);
  }
  return texts;
}

// Stops the run on a finding, so that libFuzzer saves the input that caused it.
[[noreturn]] inline void finding(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: finding: %s does not hold\n", file, line, condition);
  std::abort();
}

}  // namespace zhavik::fuzz

#define FUZZ_REQUIRE(condition) \
  ((condition) ? void() : ::zhavik::fuzz::finding(#condition, __FILE__, __LINE__))
