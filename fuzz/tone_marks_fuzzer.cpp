// Tone marks on any text. Each replacement turns a numbered final into its marked form: the
// digit goes, and the vowel takes its mark in place (one unit shorter), or a vowelless
// syllable (ng, n, m) takes a combining mark where the digit stood (as long as before). So
// the text shrinks by one unit per digit taken, less the combining marks put in, and nothing
// but digits 1 to 5 is taken.

#include <algorithm>
#include <cstdint>

#include "core/pinyin/tone_marks.h"
#include "fuzz/fuzz_text.h"

namespace {

std::size_t tone_digits(std::u16string_view text) {
  return static_cast<std::size_t>(std::count_if(
      text.begin(), text.end(), [](char16_t unit) { return unit >= u'1' && unit <= u'5'; }));
}

std::size_t combining_marks(std::u16string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char16_t unit) {
    return unit == u'\u0300' || unit == u'\u0301' || unit == u'\u0304' || unit == u'\u030C';
  }));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::u16string text = zhavik::fuzz::telling_text(input, 64);
  const std::u16string marked = zhavik::zhuanhuan_py(text);
  const std::size_t taken = tone_digits(text) - tone_digits(marked);
  FUZZ_REQUIRE(tone_digits(marked) <= tone_digits(text));
  FUZZ_REQUIRE(combining_marks(marked) >= combining_marks(text));
  FUZZ_REQUIRE(marked.size() + taken ==
               text.size() + combining_marks(marked) - combining_marks(text));
  if (taken == 0) FUZZ_REQUIRE(marked == text);
  return 0;
}
