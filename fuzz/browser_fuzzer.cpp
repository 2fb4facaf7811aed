// The pinyin browser's two computations over a fuzzed pinyin text, with any letter,
// syllable and capacity.

#include <algorithm>
#include <cstdint>

#include "core/dictionary/browser.h"
#include "core/dictionary/dictionary_texts.h"
#include "fuzz/fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::size_t capacity = input.ConsumeIntegralInRange<std::size_t>(0, 120);
  const std::u16string letter = zhavik::fuzz::telling_text(input, 2);
  const std::u16string syllable = zhavik::fuzz::telling_text(input, 8);
  const std::u16string pinyin_data =
      zhavik::pinyin_data_from(zhavik::fuzz::telling_text(input, 200));

  const std::vector<std::u16string> syllables =
      zhavik::syllables_of_letter(pinyin_data, letter, capacity);
  FUZZ_REQUIRE(syllables.size() <= capacity);
  for (std::size_t i = 0; i < syllables.size(); ++i) {
    FUZZ_REQUIRE(!syllables[i].empty() && syllables[i].starts_with(letter));
    FUZZ_REQUIRE(std::find(syllables.begin(), syllables.begin() + i, syllables[i]) ==
                 syllables.begin() + i);
  }

  // The syllable typed, and each one listed, as the syllable buttons pass them on.
  std::vector<std::u16string> asked = syllables;
  asked.push_back(syllable);
  for (const std::u16string& each : asked) {
    const auto characters = zhavik::characters_of_syllable(pinyin_data, each, capacity);
    FUZZ_REQUIRE(characters.size() <= capacity);
    int tone = 1;
    for (const zhavik::SyllableCharacter& entry : characters) {
      FUZZ_REQUIRE(entry.tone >= tone && entry.tone <= 5);
      tone = entry.tone;
      FUZZ_REQUIRE(!entry.character.empty() && entry.character.size() <= 2 &&
                   entry.character != u" ");
    }
  }
  return 0;
}
