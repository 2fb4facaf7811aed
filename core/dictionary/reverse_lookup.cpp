#include "core/dictionary/reverse_lookup.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include "core/dictionary/dictionary_texts.h"
#include "core/dictionary/quwei.h"
#include "core/text/cp936.h"
#include "core/text/text.h"

namespace zhavik {
namespace {

constexpr auto npos = std::u16string_view::npos;

std::vector<std::u16string_view> blank_separated(std::u16string_view text) {
  std::vector<std::u16string_view> words;
  for (std::size_t begin = 0; begin < text.size();) {
    std::size_t end = text.find(u' ', begin);
    if (end == npos) end = text.size();
    if (end > begin) words.push_back(text.substr(begin, end - begin));
    begin = end + 1;
  }
  return words;
}

bool matches(std::u16string_view candidate, std::u16string_view asked, bool prefix) {
  return prefix ? candidate.starts_with(asked) : candidate == asked;
}

}  // namespace

std::vector<ReverseEntry> characters_of_wubi_code(std::u16string_view wubi_data,
                                                  std::u16string_view code, bool prefix) {
  struct Listed {
    std::vector<ReverseEntry> entries;
    bool short_code_seen = false;
  };
  std::map<std::u16string, Listed> by_code;
  for_each_record(wubi_data, [&](std::u16string_view body) {
    const std::u16string_view character = first_character(body);
    const std::vector<std::u16string_view> codes = blank_separated(body.substr(character.size()));
    std::size_t longest = 0;
    for (const std::u16string_view candidate : codes)
      longest = std::max(longest, candidate.size());
    for (const std::u16string_view candidate : codes) {
      if (!matches(candidate, code, prefix)) continue;
      Listed& listed = by_code[std::u16string(candidate)];
      const bool is_short = candidate.size() < longest;
      const auto same = [&](const ReverseEntry& entry) { return entry.character == character; };
      if (std::any_of(listed.entries.begin(), listed.entries.end(), same)) continue;
      listed.entries.push_back({std::u16string(candidate), std::u16string(character), is_short});
      listed.short_code_seen |= is_short;
    }
  });
  std::vector<ReverseEntry> result;
  for (auto& [listed_code, listed] : by_code) {
    if (!listed.short_code_seen) listed.entries.front().typed_first = true;
    result.insert(result.end(), listed.entries.begin(), listed.entries.end());
  }
  return result;
}

std::vector<ReverseEntry> characters_of_quwei(std::u16string_view code, bool prefix) {
  std::vector<ReverseEntry> result;
  if (code.size() > 4 || (!prefix && code.size() != 4) ||
      !std::all_of(code.begin(), code.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; })) {
    return result;
  }
  for (int area = 1; area <= 94; ++area) {
    for (int position = 1; position <= 94; ++position) {
      const auto double_byte = static_cast<std::uint16_t>((area + 0xA0) << 8 | (position + 0xA0));
      const std::u16string digits = quwei_code(double_byte);
      if (!digits.starts_with(code)) continue;
      const char bytes[] = {static_cast<char>(double_byte >> 8), static_cast<char>(double_byte)};
      const std::u16string character = cp936_decode(std::string_view(bytes, 2));
      // Places of the table that hold no character decode to nothing valid.
      if (character.size() != 1 || character[0] == u'\xFFFD' ||
          cp936_double_byte(character[0]) != double_byte) {
        continue;
      }
      result.push_back({digits, character, false});
    }
  }
  return result;
}

std::vector<ReverseEntry> characters_of_reading(std::u16string_view pinyin_data,
                                                const WrittenSyllable& reading, bool prefix,
                                                PinyinFormat format) {
  struct Found {
    std::size_t syllable_rank;
    int tone;
    std::size_t order;
    std::u16string key;
    std::u16string character;
  };
  std::vector<Found> found;
  std::vector<std::u16string> syllables;                       // in order of first appearance
  std::set<std::pair<std::u16string, std::u16string>> listed;  // key and character
  for_each_record(pinyin_data, [&](std::u16string_view body) {
    const std::size_t equals = body.find(u'=');
    if (equals == npos || equals < 2) return;
    const std::u16string_view key = body.substr(0, equals);
    const char16_t digit = key.back();
    if (digit < u'1' || digit > u'5') return;
    const std::u16string_view syllable = key.substr(0, key.size() - 1);
    const int tone = digit - u'0';
    if (!matches(syllable, reading.syllable, prefix) ||
        (reading.tone != 0 && tone != reading.tone)) {
      return;
    }
    auto place = std::find(syllables.begin(), syllables.end(), syllable);
    if (place == syllables.end()) place = syllables.insert(place, std::u16string(syllable));
    const std::u16string_view characters = body.substr(equals + 1);
    for (std::size_t i = 0; i < characters.size(); i += character_length(characters, i)) {
      const std::u16string_view character = characters.substr(i, character_length(characters, i));
      if (character == u" ") continue;
      if (!listed.emplace(key, character).second) continue;
      found.push_back({static_cast<std::size_t>(place - syllables.begin()), tone, found.size(),
                       std::u16string(key), std::u16string(character)});
    }
  });
  std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
    return std::tie(a.syllable_rank, a.tone, a.order) < std::tie(b.syllable_rank, b.tone, b.order);
  });
  std::vector<ReverseEntry> result;
  for (const Found& entry : found) {
    result.push_back({styled_reading(entry.key, format), entry.character, false});
  }
  return result;
}

}  // namespace zhavik
