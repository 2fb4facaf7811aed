#include "core/dictionary/browser.h"

#include <algorithm>

#include "core/pinyin/tone_marks.h"
#include "core/text/text.h"

namespace zhavik {
namespace {

constexpr auto npos = std::u16string_view::npos;

}  // namespace

std::vector<std::u16string> syllables_of_letter(std::u16string_view pinyin_data,
                                                std::u16string_view letter, std::size_t capacity) {
  std::vector<std::u16string> syllables;
  const std::u16string needle = u"^" + std::u16string(letter);
  const std::size_t first = pinyin_data.find(needle);
  const std::size_t last = pinyin_data.rfind(needle);
  if (first == npos) return syllables;
  // The "^" that ends the last record beginning with the letter.
  const std::size_t next = pinyin_data.find(u'^', last + 1);
  if (next == npos) return syllables;

  // The block may hold records of other letters between the letter's first and last
  // record; they are skipped one by one, as are records without a syllable.
  const std::u16string_view block = pinyin_data.substr(first, next - first);
  for (std::size_t begin = 0; begin <= block.size();) {
    const std::size_t end = std::min(block.find(u'^', begin), block.size());
    const std::u16string_view piece = trim_blanks(block.substr(begin, end - begin));
    begin = end + 1;
    if (first_character(piece) != letter) continue;
    const std::size_t equals = piece.find(u'=');
    if (equals == npos) continue;
    // The key without its one tone digit; a key of one character has no syllable. The
    // digit is a whole character, so a key ending in a surrogate pair loses both halves.
    const std::u16string_view key = piece.substr(0, equals);
    const std::u16string_view syllable = key.substr(0, key.size() - last_character(key).size());
    if (syllable.empty()) continue;
    if (std::find(syllables.begin(), syllables.end(), syllable) != syllables.end()) continue;
    if (syllables.size() < capacity) syllables.emplace_back(syllable);
  }
  return syllables;
}

std::vector<SyllableCharacter> characters_of_syllable(std::u16string_view pinyin_data,
                                                      std::u16string_view syllable,
                                                      std::size_t capacity) {
  std::vector<SyllableCharacter> characters;
  if (syllable.empty()) return characters;
  for (int tone = 1; tone <= 5; ++tone) {
    const std::u16string digit(1, static_cast<char16_t>(u'0' + tone));
    const std::u16string key = u"^" + std::u16string(syllable) + digit + u"=";
    const std::size_t start = pinyin_data.find(key);
    if (start == npos) continue;
    const std::size_t stop = pinyin_data.find(u'^', start + 1);
    if (stop == npos || stop <= start + key.size()) continue;
    const std::u16string_view run =
        trim_blanks(pinyin_data.substr(start + key.size(), stop - start - key.size()));
    const std::u16string pinyin = zhuanhuan_py(std::u16string(syllable) + digit);
    for (std::size_t i = 0; i < run.size() && characters.size() < capacity;) {
      const std::size_t length = character_length(run, i);
      if (run[i] != u' ') {
        characters.push_back({std::u16string(run.substr(i, length)), tone, pinyin});
      }
      i += length;
    }
  }
  return characters;
}

}  // namespace zhavik
