#include "core/word_table.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>
#include <unordered_map>

#include "core/tone_marks.h"

namespace zhavik {

std::uint16_t piece_cost(std::uint64_t count, std::uint64_t total) {
  if (count >= total) return 0;
  const double cost = std::log(static_cast<double>(total) / static_cast<double>(count)) * 1024;
  return static_cast<std::uint16_t>(std::min<double>(std::round(cost), 0xFFFE));
}

namespace {

// The entries of a list that keep its rules, sorted by word, a repeated word's first
// entry alone.
template <class Entry, class Fits>
std::vector<const Entry*> sorted_once(const std::vector<Entry>& list, Fits fits) {
  std::vector<const Entry*> sorted;
  for (const Entry& entry : list) {
    if (fits(entry)) sorted.push_back(&entry);
  }
  // A stable sort keeps a repeated word's lines in file order, so unique keeps the first.
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const Entry* a, const Entry* b) { return a->word < b->word; });
  sorted.erase(std::unique(sorted.begin(), sorted.end(),
                           [](const Entry* a, const Entry* b) { return a->word == b->word; }),
               sorted.end());
  return sorted;
}

}  // namespace

// The table's words in code-unit order, each word once, with its readings (or none) and
// its cost.
struct WordTable::Sorted {
  struct Word {
    std::u16string_view word;
    const std::u16string* readings;
    std::uint16_t cost;
  };
  std::vector<Word> words;
  std::unordered_map<std::u16string_view, std::u16string> rendered;  // syllable -> marked
};

WordTable::WordTable()
    : first_node_(0x10000), later_(0x10000), character_cost_(0x10000, piece_cost(1, 1)) {}

WordTable::WordTable(const std::vector<WordReading>& words, const std::vector<WordCount>& counts)
    : WordTable() {
  const std::vector<const WordReading*> readings = sorted_once(words, fits_word_rules);
  const std::vector<const WordCount*> counted = sorted_once(counts, fits_count_rules);
  std::uint64_t total = 0;
  for (const WordCount* entry : counted)
    total += entry->count;
  total = std::max<std::uint64_t>(total, 1);
  const std::uint16_t uncounted = piece_cost(1, total);
  std::fill(character_cost_.begin(), character_cost_.end(), uncounted);

  Sorted sorted;
  // Both lists in step, as one list of words: single characters have their own costs.
  auto reading = readings.begin();
  for (auto count = counted.begin(); reading != readings.end() || count != counted.end();) {
    if (count != counted.end() && (*count)->word.size() == 1) {
      character_cost_[(*count)->word[0]] = piece_cost((*count)->count, total);
      ++count;
    } else if (count == counted.end() ||
               (reading != readings.end() && (*reading)->word < (*count)->word)) {
      sorted.words.push_back({(*reading)->word, &(*reading)->readings, uncounted});
      ++reading;
    } else {
      const bool both = reading != readings.end() && (*reading)->word == (*count)->word;
      sorted.words.push_back({(*count)->word, both ? &(*reading)->readings : nullptr,
                              piece_cost((*count)->count, total)});
      reading += both;
      ++count;
    }
  }
  size_ = readings.size();

  // The roots first, one for each unit that begins a word, so that they can be found again
  // from the nodes alone.
  std::vector<std::size_t> group_starts;
  for (std::size_t i = 0; i < sorted.words.size(); ++i) {
    if (i == 0 || sorted.words[i].word[0] != sorted.words[i - 1].word[0]) {
      group_starts.push_back(i);
      nodes_.push_back(Node{});
      units_ += sorted.words[i].word[0];
    }
  }
  group_starts.push_back(sorted.words.size());
  root_count_ = nodes_.size();
  for (std::size_t g = 0; g < root_count_; ++g) {
    add_children(static_cast<std::uint32_t>(g), sorted, group_starts[g], group_starts[g + 1], 1);
  }
  index_units();
}

// The words [begin, end) share their first `depth` units, which lead to node `parent`.
void WordTable::add_children(std::uint32_t parent, Sorted& sorted, std::size_t begin,
                             std::size_t end, std::size_t depth) {
  if (sorted.words[begin].word.size() == depth) {
    // Sorted, so the word that ends here comes first.
    const Sorted::Word& word = sorted.words[begin];
    nodes_[parent].cost = word.cost;
    if (word.readings) {
      nodes_[parent].items_offset = static_cast<std::uint32_t>(items_.size());
      for (std::size_t from = 0; from <= word.readings->size();) {
        const std::size_t blank = std::min(word.readings->find(u' ', from), word.readings->size());
        const std::u16string_view syllable =
            std::u16string_view(*word.readings).substr(from, blank - from);
        auto [place, is_new] = sorted.rendered.try_emplace(syllable, std::u16string());
        if (is_new) place->second = zhuanhuan_py(syllable);
        items_ += place->second;
        items_ += u' ';
        from = blank + 1;
      }
      nodes_[parent].items_length =
          static_cast<std::uint16_t>(items_.size() - nodes_[parent].items_offset);
    }
    ++begin;
  }
  std::vector<std::size_t> group_starts;
  for (std::size_t i = begin; i < end; ++i) {
    if (i == begin || sorted.words[i].word[depth] != sorted.words[i - 1].word[depth]) {
      group_starts.push_back(i);
    }
  }
  group_starts.push_back(end);
  const auto first_child = static_cast<std::uint32_t>(nodes_.size());
  nodes_[parent].first_child = first_child;
  nodes_[parent].child_count = static_cast<std::uint32_t>(group_starts.size() - 1);
  for (std::size_t g = 0; g + 1 < group_starts.size(); ++g) {
    nodes_.push_back(Node{});
    units_ += sorted.words[group_starts[g]].word[depth];
  }
  for (std::size_t g = 0; g + 1 < group_starts.size(); ++g) {
    add_children(first_child + static_cast<std::uint32_t>(g), sorted, group_starts[g],
                 group_starts[g + 1], depth + 1);
  }
}

void WordTable::index_units() {
  std::fill(first_node_.begin(), first_node_.end(), 0);
  std::fill(later_.begin(), later_.end(), false);
  for (std::size_t n = 0; n < nodes_.size(); ++n) {
    if (n < root_count_) {
      first_node_[units_[n]] = static_cast<std::uint32_t>(n + 1);
    } else {
      later_[units_[n]] = true;
    }
  }
}

const WordTable::Node* WordTable::child(const Node& parent, char16_t unit) const {
  const auto begin = units_.begin() + parent.first_child;
  const auto end = begin + parent.child_count;
  const auto found = std::lower_bound(begin, end, unit);
  return found != end && *found == unit ? &nodes_[static_cast<std::size_t>(found - units_.begin())]
                                        : nullptr;
}

// --- The compiled form ---------------------------------------------------------------------
//
// The header below, then the arrays one after another in the machine's own byte order:
// character_cost_ (65,536 units), nodes_, units_ (one unit per node) and items_. A machine
// of the other byte order reads a key that does not match and builds the table anew.

namespace {

constexpr char kMagic[8] = {'Z', 'h', 'W', 'o', 'r', 'd', 's', '1'};

struct Header {
  char magic[8];
  std::uint64_t key;
  std::uint64_t notes[WordTable::kNotes];
  std::uint64_t size;
  std::uint64_t root_count;
  std::uint64_t node_count;
  std::uint64_t items_length;
};

template <class T>
void append_array(std::string& out, const T* data, std::size_t count) {
  static_assert(std::is_trivially_copyable_v<T>);
  out.append(reinterpret_cast<const char*>(data), count * sizeof(T));
}

// Copies `count` elements from the front of `bytes` and drops them; false when too few.
template <class T>
bool take_array(std::string_view& bytes, T* data, std::uint64_t count) {
  if (count > bytes.size() / sizeof(T)) return false;
  std::memcpy(data, bytes.data(), count * sizeof(T));
  bytes.remove_prefix(count * sizeof(T));
  return true;
}

}  // namespace

std::string WordTable::to_bytes(std::uint64_t key,
                                const std::array<std::uint64_t, kNotes>& notes) const {
  static_assert(sizeof(Node) == 16 && std::is_trivially_copyable_v<Node>);
  Header header{};
  std::memcpy(header.magic, kMagic, sizeof kMagic);
  header.key = key;
  std::copy(notes.begin(), notes.end(), header.notes);
  header.size = size_;
  header.root_count = root_count_;
  header.node_count = nodes_.size();
  header.items_length = items_.size();
  std::string out;
  append_array(out, &header, 1);
  append_array(out, character_cost_.data(), character_cost_.size());
  append_array(out, nodes_.data(), nodes_.size());
  append_array(out, units_.data(), units_.size());
  append_array(out, items_.data(), items_.size());
  return out;
}

std::optional<WordTable> WordTable::from_bytes(std::string_view bytes, std::uint64_t key,
                                               std::array<std::uint64_t, kNotes>& notes) {
  Header header{};
  if (!take_array(bytes, &header, 1) || std::memcmp(header.magic, kMagic, sizeof kMagic) != 0 ||
      header.key != key || header.root_count > header.node_count ||
      header.node_count > UINT32_MAX || header.items_length > UINT32_MAX) {
    return std::nullopt;
  }
  // Sizes are checked against what is there before anything is allocated.
  const std::uint64_t rest = 0x10000 * sizeof(std::uint16_t) +
                             header.node_count * (sizeof(Node) + sizeof(char16_t)) +
                             header.items_length * sizeof(char16_t);
  if (bytes.size() != rest) return std::nullopt;
  WordTable table;
  table.nodes_.resize(header.node_count);
  table.units_.resize(header.node_count);
  table.items_.resize(header.items_length);
  take_array(bytes, table.character_cost_.data(), table.character_cost_.size());
  take_array(bytes, table.nodes_.data(), header.node_count);
  take_array(bytes, table.units_.data(), header.node_count);
  take_array(bytes, table.items_.data(), header.items_length);
  // Every place a node points to lies inside the table, so no walk can leave it.
  for (const Node& node : table.nodes_) {
    if (node.first_child > header.node_count ||
        node.child_count > header.node_count - node.first_child ||
        node.items_offset > header.items_length ||
        node.items_length > header.items_length - node.items_offset) {
      return std::nullopt;
    }
  }
  table.root_count_ = header.root_count;
  table.size_ = header.size;
  std::copy(std::begin(header.notes), std::end(header.notes), notes.begin());
  table.index_units();
  return table;
}

}  // namespace zhavik
