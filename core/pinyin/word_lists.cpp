#include "core/pinyin/word_table.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "core/dictionary/dictionary_texts.h"
#include "core/pinyin/tone_marks.h"
#include "core/text/cp936.h"
#include "core/text/text.h"

namespace zhavik {
namespace {

// Letters and a tone digit, at most 8 units: the longest syllable (zhuang1) has 7, and the
// bound keeps the readings of a word short.
bool is_numbered_syllable(std::u16string_view syllable) {
  if (syllable.size() < 2 || syllable.size() > 8 || syllable.back() < u'1' ||
      syllable.back() > u'5')
    return false;
  return std::all_of(syllable.begin(), syllable.end() - 1,
                     [](char16_t unit) { return (unit >= u'a' && unit <= u'z') || unit == u'ü'; });
}

// Whether the tone marks table writes the whole numbered syllable: none of its digit is
// left over.
bool has_tone_marks(std::u16string_view numbered) {
  const std::u16string marked = zhuanhuan_py(numbered);
  return std::none_of(marked.begin(), marked.end(),
                      [](char16_t unit) { return unit >= u'0' && unit <= u'9'; });
}

// The readings split at single blanks.
std::vector<std::u16string_view> syllables_of(std::u16string_view readings) {
  std::vector<std::u16string_view> syllables;
  for (std::size_t begin = 0;;) {
    const std::size_t end = std::min(readings.find(u' ', begin), readings.size());
    syllables.push_back(readings.substr(begin, end - begin));
    if (end == readings.size()) return syllables;
    begin = end + 1;
  }
}

bool is_word_of(std::u16string_view word, std::size_t shortest) {
  // A unit with a two-byte code is a whole character: surrogates have none.
  return word.size() >= shortest && word.size() <= kLongestWord &&
         std::all_of(word.begin(), word.end(),
                     [](char16_t unit) { return cp936_double_byte(unit) != 0; });
}

// Calls each_line(text) for every line of a file, as UTF-16, or with nothing for a line
// that is not UTF-8.
template <class EachLine>
void for_each_line(std::string_view file_bytes, EachLine each_line) {
  for (std::size_t begin = 0; begin < file_bytes.size();) {
    const std::size_t end = std::min(file_bytes.find('\n', begin), file_bytes.size());
    std::string_view line = file_bytes.substr(begin, end - begin);
    begin = end + 1;
    if (line.ends_with('\r')) line.remove_suffix(1);
    each_line(utf8_to_utf16(line));
  }
}

std::optional<std::uint32_t> count_of(std::u16string_view digits) {
  if (digits.empty() || digits.size() > 10) return std::nullopt;
  std::uint64_t count = 0;
  for (const char16_t unit : digits) {
    if (unit < u'0' || unit > u'9') return std::nullopt;
    count = count * 10 + (unit - u'0');
  }
  if (count == 0 || count > UINT32_MAX) return std::nullopt;
  return static_cast<std::uint32_t>(count);
}

}  // namespace

CharacterReadings::CharacterReadings(std::u16string_view pinyin_data) {
  std::vector<std::pair<char16_t, std::uint32_t>> pairs;
  for_each_record(pinyin_data, [&](std::u16string_view record) {
    const std::size_t equals = record.find(u'=');
    if (equals == std::u16string_view::npos) return;
    const std::u16string_view key = record.substr(0, equals);
    if (!is_numbered_syllable(key) || !has_tone_marks(key)) return;
    const auto number = static_cast<std::uint32_t>(keys_.size());
    keys_.emplace_back(key);
    for (const char16_t unit : record.substr(equals + 1))
      pairs.emplace_back(unit, number);
  });
  std::sort(pairs.begin(), pairs.end());
  pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
  first_key_.assign(0x10001, 0);
  for (const auto& [unit, number] : pairs) {
    ++first_key_[unit + 1];
    key_numbers_.push_back(number);
  }
  for (std::size_t unit = 0; unit < 0x10000; ++unit)
    first_key_[unit + 1] += first_key_[unit];
}

bool CharacterReadings::has(char16_t character, std::u16string_view numbered) const {
  const bool neutral = numbered.ends_with(u'5');
  for (std::uint32_t i = first_key_[character]; i < first_key_[character + 1]; ++i) {
    const std::u16string_view key = keys_[key_numbers_[i]];
    if (key == numbered) return true;
    if (neutral && key.size() == numbered.size() &&
        key.substr(0, key.size() - 1) == numbered.substr(0, numbered.size() - 1)) {
      return true;
    }
  }
  return false;
}

bool fits_word_rules(const WordReading& entry) {
  if (!is_word_of(entry.word, 2)) return false;
  const std::vector<std::u16string_view> syllables = syllables_of(entry.readings);
  return syllables.size() == entry.word.size() &&
         std::all_of(syllables.begin(), syllables.end(), is_numbered_syllable);
}

bool fits_count_rules(const WordCount& entry) {
  return entry.count != 0 && is_word_of(entry.word, 1);
}

WordList parse_word_pinyin(std::string_view file_bytes, const CharacterReadings& readings) {
  WordList list;
  for_each_line(file_bytes, [&](const std::optional<std::u16string>& text) {
    const std::size_t tab = text ? text->find(u'\t') : std::u16string::npos;
    if (tab == std::u16string::npos) {
      ++list.malformed_lines;
      return;
    }
    WordReading entry{text->substr(0, tab), text->substr(tab + 1)};
    if (!fits_word_rules(entry)) {
      ++list.malformed_lines;
      return;
    }
    const std::vector<std::u16string_view> syllables = syllables_of(entry.readings);
    for (std::size_t i = 0; i < syllables.size(); ++i) {
      if (!readings.has(entry.word[i], syllables[i])) {
        ++list.unknown_readings;
        return;
      }
    }
    list.words.push_back(std::move(entry));
  });
  return list;
}

CountList parse_word_counts(std::string_view file_bytes) {
  CountList list;
  for_each_line(file_bytes, [&](const std::optional<std::u16string>& text) {
    const std::size_t tab = text ? text->find(u'\t') : std::u16string::npos;
    const std::optional<std::uint32_t> count =
        tab == std::u16string::npos ? std::nullopt
                                    : count_of(std::u16string_view(*text).substr(tab + 1));
    WordCount entry{count ? text->substr(0, tab) : std::u16string(), count.value_or(0)};
    if (fits_count_rules(entry)) {
      list.counts.push_back(std::move(entry));
    } else {
      ++list.malformed_lines;
    }
  });
  return list;
}

}  // namespace zhavik
