#include "core/word_table.h"

#include <algorithm>
#include <unordered_map>

#include "core/cp936.h"
#include "core/dictionary_texts.h"
#include "core/files.h"
#include "core/text.h"
#include "core/tone_marks.h"

namespace zhavik {
namespace {

bool is_numbered_syllable(std::u16string_view syllable) {
  if (syllable.size() < 2 || syllable.back() < u'1' || syllable.back() > u'5') return false;
  return std::all_of(syllable.begin(), syllable.end() - 1,
                     [](char16_t unit) { return (unit >= u'a' && unit <= u'z') || unit == u'ü'; });
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

}  // namespace

bool fits_word_rules(const WordReading& entry) {
  // A unit with a two-byte code is a whole character: surrogates have none.
  const bool two_byte_units = std::all_of(entry.word.begin(), entry.word.end(), [](char16_t unit) {
    return cp936_double_byte(unit) != 0;
  });
  if (entry.word.size() < 2 || entry.word.size() > 32 || !two_byte_units) return false;
  const std::vector<std::u16string_view> syllables = syllables_of(entry.readings);
  return syllables.size() == entry.word.size() &&
         std::all_of(syllables.begin(), syllables.end(), is_numbered_syllable);
}

WordList parse_word_pinyin(std::string_view file_bytes) {
  WordList list;
  for (std::size_t begin = 0; begin < file_bytes.size();) {
    const std::size_t end = std::min(file_bytes.find('\n', begin), file_bytes.size());
    std::string_view line = file_bytes.substr(begin, end - begin);
    begin = end + 1;
    if (line.ends_with('\r')) line.remove_suffix(1);
    const std::optional<std::u16string> text = utf8_to_utf16(line);
    const std::size_t tab = text ? text->find(u'\t') : std::u16string::npos;
    if (tab == std::u16string::npos) {
      ++list.malformed_lines;
      continue;
    }
    WordReading entry{text->substr(0, tab), text->substr(tab + 1)};
    if (fits_word_rules(entry)) {
      list.words.push_back(std::move(entry));
    } else {
      ++list.malformed_lines;
    }
  }
  return list;
}

std::optional<WordList> read_word_pinyin_file(const std::filesystem::path& path) {
  const std::optional<std::string> bytes = read_regular_file(path, kMaxDictionaryFileBytes);
  if (!bytes) return std::nullopt;
  return parse_word_pinyin(*bytes);
}

// The table's words in code-unit order, each word once.
struct WordTable::Sorted {
  std::vector<const WordReading*> words;
  std::unordered_map<std::u16string_view, std::u16string> rendered;  // syllable -> marked
};

WordTable::WordTable(const std::vector<WordReading>& words) {
  Sorted sorted;
  for (const WordReading& entry : words) {
    if (fits_word_rules(entry)) sorted.words.push_back(&entry);
  }
  const auto by_word = [](const WordReading* a, const WordReading* b) { return a->word < b->word; };
  // A stable sort keeps a repeated word's lines in file order, so unique keeps the first.
  std::stable_sort(sorted.words.begin(), sorted.words.end(), by_word);
  sorted.words.erase(
      std::unique(sorted.words.begin(), sorted.words.end(),
                  [](const WordReading* a, const WordReading* b) { return a->word == b->word; }),
      sorted.words.end());
  size_ = sorted.words.size();

  for (std::size_t begin = 0; begin < sorted.words.size();) {
    const char16_t unit = sorted.words[begin]->word[0];
    std::size_t end = begin;
    while (end < sorted.words.size() && sorted.words[end]->word[0] == unit)
      ++end;
    nodes_.push_back(Node{});
    units_ += unit;
    first_node_[unit] = static_cast<std::uint32_t>(nodes_.size());
    add_children(static_cast<std::uint32_t>(nodes_.size() - 1), sorted, begin, end, 1);
    begin = end;
  }
}

// The words [begin, end) share their first `depth` units, which lead to node `parent`.
void WordTable::add_children(std::uint32_t parent, Sorted& sorted, std::size_t begin,
                             std::size_t end, std::size_t depth) {
  if (sorted.words[begin]->word.size() == depth) {
    // Sorted, so the word that ends here comes first.
    nodes_[parent].items_offset = static_cast<std::uint32_t>(items_.size());
    for (const std::u16string_view syllable : syllables_of(sorted.words[begin]->readings)) {
      auto [place, is_new] = sorted.rendered.try_emplace(syllable, std::u16string());
      if (is_new) place->second = zhuanhuan_py(syllable);
      items_ += place->second;
      items_ += u' ';
    }
    nodes_[parent].items_length =
        static_cast<std::uint32_t>(items_.size() - nodes_[parent].items_offset);
    ++begin;
  }
  std::vector<std::size_t> group_starts;
  for (std::size_t i = begin; i < end; ++i) {
    if (i == begin || sorted.words[i]->word[depth] != sorted.words[i - 1]->word[depth]) {
      group_starts.push_back(i);
    }
  }
  group_starts.push_back(end);
  const auto first_child = static_cast<std::uint32_t>(nodes_.size());
  nodes_[parent].first_child = first_child;
  nodes_[parent].child_count = static_cast<std::uint32_t>(group_starts.size() - 1);
  for (std::size_t g = 0; g + 1 < group_starts.size(); ++g) {
    const char16_t unit = sorted.words[group_starts[g]]->word[depth];
    nodes_.push_back(Node{});
    units_ += unit;
    later_[unit] = true;
  }
  for (std::size_t g = 0; g + 1 < group_starts.size(); ++g) {
    add_children(first_child + static_cast<std::uint32_t>(g), sorted, group_starts[g],
                 group_starts[g + 1], depth + 1);
  }
}

const WordTable::Node* WordTable::child(const Node& parent, char16_t unit) const {
  const auto begin = units_.begin() + parent.first_child;
  const auto end = begin + parent.child_count;
  const auto found = std::lower_bound(begin, end, unit);
  return found != end && *found == unit ? &nodes_[static_cast<std::size_t>(found - units_.begin())]
                                        : nullptr;
}

}  // namespace zhavik
