#include "core/pinyin/word_table.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <type_traits>
#include <unordered_map>

#include "core/pinyin/tone_marks.h"

namespace zhavik {

std::uint16_t piece_cost(std::uint64_t count, std::uint64_t total) {
  if (count >= total) return 0;
  const double cost = std::log(static_cast<double>(total) / static_cast<double>(count)) * 1024;
  return static_cast<std::uint16_t>(std::min<double>(std::round(cost), 0xFFFE));
}

std::uint16_t single_character_cost(std::uint64_t count, std::uint64_t total) {
  return static_cast<std::uint16_t>(std::min(piece_cost(count, total) + 1536, 0xFFFE));
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

namespace {

// The pages of a UnitPages as they are built.
template <class T>
struct BuiltPages {
  std::vector<std::uint16_t> page_of = std::vector<std::uint16_t>(256);
  std::vector<T> values;
  T usual{};

  void set(char16_t unit, T value) {
    std::uint16_t& page = page_of[unit >> 8];
    if (page == 0) {
      values.resize(values.size() + 256, usual);
      page = static_cast<std::uint16_t>(values.size() / 256);
    }
    values[(page - 1) * 256 + (unit & 0xFF)] = value;
  }
  WordTable::UnitPages<T> view() const {
    return {page_of.data(), values.data(), values.size() / 256, usual};
  }
};

}  // namespace

// The arrays of a table built from lists.
struct WordTable::Built {
  BuiltPages<std::uint32_t> first_node;
  std::vector<std::uint64_t> later = std::vector<std::uint64_t>(0x10000 / 64);
  BuiltPages<std::uint16_t> character_cost;
  std::vector<Node> nodes;
  std::u16string units;
  std::u16string items;
};

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

WordTable::WordTable() {
  const auto built = std::make_shared<Built>();
  point_into(*built);
  owner_ = built;
}

WordTable::WordTable(const std::vector<WordReading>& words, const std::vector<WordCount>& counts) {
  const auto built = std::make_shared<Built>();
  const std::vector<const WordReading*> readings = sorted_once(words, fits_word_rules);
  const std::vector<const WordCount*> counted = sorted_once(counts, fits_count_rules);
  std::uint64_t total = 0;
  for (const WordCount* entry : counted)
    total += entry->count;
  total = std::max<std::uint64_t>(total, 1);
  const std::uint16_t uncounted = piece_cost(1, total);
  built->character_cost.usual = single_character_cost(1, total);

  Sorted sorted;
  // Both lists in step, as one list of words: single characters have their own costs.
  auto reading = readings.begin();
  for (auto count = counted.begin(); reading != readings.end() || count != counted.end();) {
    if (count != counted.end() && (*count)->word.size() == 1) {
      built->character_cost.set((*count)->word[0], single_character_cost((*count)->count, total));
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

  // The roots first, one for each unit that begins a word.
  std::vector<std::size_t> group_starts;
  for (std::size_t i = 0; i < sorted.words.size(); ++i) {
    if (i == 0 || sorted.words[i].word[0] != sorted.words[i - 1].word[0]) {
      group_starts.push_back(i);
      built->first_node.set(sorted.words[i].word[0],
                            static_cast<std::uint32_t>(group_starts.size()));
      built->nodes.push_back(Node{0, 0, 0, 0, kNoWord});
      built->units += sorted.words[i].word[0];
    }
  }
  group_starts.push_back(sorted.words.size());
  for (std::size_t g = 0; g + 1 < group_starts.size(); ++g) {
    add_children(*built, static_cast<std::uint32_t>(g), sorted, group_starts[g],
                 group_starts[g + 1], 1);
  }
  size_ = readings.size();
  point_into(*built);
  owner_ = built;
}

// The words [begin, end) share their first `depth` units, which lead to node `parent`.
void WordTable::add_children(Built& built, std::uint32_t parent, Sorted& sorted, std::size_t begin,
                             std::size_t end, std::size_t depth) {
  if (sorted.words[begin].word.size() == depth) {
    // Sorted, so the word that ends here comes first.
    const Sorted::Word& word = sorted.words[begin];
    built.nodes[parent].cost = word.cost;
    if (word.readings) {
      built.nodes[parent].items_offset = static_cast<std::uint32_t>(built.items.size());
      for (std::size_t from = 0; from <= word.readings->size();) {
        const std::size_t blank = std::min(word.readings->find(u' ', from), word.readings->size());
        const std::u16string_view syllable =
            std::u16string_view(*word.readings).substr(from, blank - from);
        auto [place, is_new] = sorted.rendered.try_emplace(syllable, std::u16string());
        if (is_new) place->second = zhuanhuan_py(syllable);
        built.items += place->second;
        built.items += u' ';
        from = blank + 1;
      }
      built.nodes[parent].items_length =
          static_cast<std::uint16_t>(built.items.size() - built.nodes[parent].items_offset);
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
  const auto first_child = static_cast<std::uint32_t>(built.nodes.size());
  built.nodes[parent].first_child = first_child;
  built.nodes[parent].child_count = static_cast<std::uint32_t>(group_starts.size() - 1);
  for (std::size_t g = 0; g + 1 < group_starts.size(); ++g) {
    const char16_t unit = sorted.words[group_starts[g]].word[depth];
    built.nodes.push_back(Node{0, 0, 0, 0, kNoWord});
    built.units += unit;
    built.later[unit / 64] |= std::uint64_t{1} << unit % 64;
  }
  for (std::size_t g = 0; g + 1 < group_starts.size(); ++g) {
    add_children(built, first_child + static_cast<std::uint32_t>(g), sorted, group_starts[g],
                 group_starts[g + 1], depth + 1);
  }
}

void WordTable::point_into(const Built& built) {
  first_node_ = built.first_node.view();
  later_ = built.later.data();
  character_cost_ = built.character_cost.view();
  nodes_ = built.nodes.data();
  node_count_ = built.nodes.size();
  units_ = built.units.data();
  items_ = built.items.data();
  items_length_ = built.items.size();
}

const WordTable::Node* WordTable::child(const Node& parent, char16_t unit) const {
  if (parent.first_child > node_count_ || parent.child_count > node_count_ - parent.first_child) {
    return nullptr;  // a damaged compiled table
  }
  const char16_t* begin = units_ + parent.first_child;
  const char16_t* end = begin + parent.child_count;
  const char16_t* found = std::lower_bound(begin, end, unit);
  return found != end && *found == unit ? &nodes_[found - units_] : nullptr;
}

// --- The compiled form ---------------------------------------------------------------------
//
// The header below, then the arrays one after another in the machine's own byte order, each
// at a multiple of 8 bytes from the start: the pages of character_cost_ (256 page numbers,
// then 256 values a page), those of first_node_, later_ (1,024), nodes_, units_ (one unit
// per node) and items_. A machine of the other byte order reads a key that does not match
// and builds the table anew.

namespace {

constexpr char kMagic[8] = {'Z', 'h', 'W', 'o', 'r', 'd', 's', '4'};

struct Header {
  char magic[8];
  std::uint64_t key;
  std::uint64_t notes[WordTable::kNotes];
  std::uint64_t size;
  std::uint64_t cost_pages;
  std::uint64_t usual_cost;
  std::uint64_t node_pages;
  std::uint64_t node_count;
  std::uint64_t items_length;
};

template <class T>
void append_array(std::string& out, const T* data, std::size_t count) {
  static_assert(std::is_trivially_copyable_v<T>);
  if (count > 0) out.append(reinterpret_cast<const char*>(data), count * sizeof(T));
}

template <class T>
void append_pages(std::string& out, const WordTable::UnitPages<T>& pages) {
  append_array(out, pages.page_of, 256);
  append_array(out, pages.values, pages.page_count * 256);
}

// The array of `count` elements at the front of `bytes`, which then lose them.
template <class T>
const T* take_array(std::string_view& bytes, std::uint64_t count) {
  const T* array = reinterpret_cast<const T*>(bytes.data());
  bytes.remove_prefix(static_cast<std::size_t>(count * sizeof(T)));
  return array;
}

template <class T>
WordTable::UnitPages<T> take_pages(std::string_view& bytes, std::uint64_t page_count, T usual) {
  const std::uint16_t* page_of = take_array<std::uint16_t>(bytes, 256);
  return {page_of, take_array<T>(bytes, page_count * 256), static_cast<std::size_t>(page_count),
          usual};
}

}  // namespace

std::string WordTable::to_bytes(std::uint64_t key,
                                const std::array<std::uint64_t, kNotes>& notes) const {
  static_assert(sizeof(Node) == 16 && std::is_trivially_copyable_v<Node>);
  static_assert(sizeof(Header) % 8 == 0);
  Header header{};
  std::memcpy(header.magic, kMagic, sizeof kMagic);
  header.key = key;
  std::copy(notes.begin(), notes.end(), header.notes);
  header.size = size_;
  header.cost_pages = character_cost_.page_count;
  header.usual_cost = character_cost_.usual;
  header.node_pages = first_node_.page_count;
  header.node_count = node_count_;
  header.items_length = items_length_;
  std::string out;
  out.reserve(sizeof header + (2 + first_node_.page_count) * 1024 + 8192 +
              node_count_ * (sizeof(Node) + 2) + items_length_ * 2);
  append_array(out, &header, 1);
  append_pages(out, character_cost_);
  append_pages(out, first_node_);
  append_array(out, later_, 0x10000 / 64);
  append_array(out, nodes_, node_count_);
  append_array(out, units_, node_count_);
  append_array(out, items_, items_length_);
  return out;
}

std::optional<WordTable> WordTable::from_compiled(std::string_view bytes,
                                                  std::shared_ptr<const void> owner,
                                                  std::uint64_t key,
                                                  std::array<std::uint64_t, kNotes>& notes) {
  Header header{};
  if (bytes.size() < sizeof header || reinterpret_cast<std::uintptr_t>(bytes.data()) % 8 != 0) {
    return std::nullopt;
  }
  std::memcpy(&header, bytes.data(), sizeof header);
  bytes.remove_prefix(sizeof header);
  if (std::memcmp(header.magic, kMagic, sizeof kMagic) != 0 || header.key != key ||
      header.cost_pages > 256 || header.usual_cost > 0xFFFF || header.node_pages > 256 ||
      header.node_count > UINT32_MAX || header.items_length > UINT32_MAX ||
      bytes.size() != 2 * 256 * 2 + header.cost_pages * 256 * 2 + header.node_pages * 256 * 4 +
                          0x10000 / 8 + header.node_count * (sizeof(Node) + 2) +
                          header.items_length * 2) {
    return std::nullopt;
  }
  WordTable table{Unset{}};
  table.character_cost_ = take_pages<std::uint16_t>(bytes, header.cost_pages,
                                                    static_cast<std::uint16_t>(header.usual_cost));
  table.first_node_ = take_pages<std::uint32_t>(bytes, header.node_pages, 0);
  table.later_ = take_array<std::uint64_t>(bytes, 0x10000 / 64);
  table.nodes_ = take_array<Node>(bytes, header.node_count);
  table.units_ = take_array<char16_t>(bytes, header.node_count);
  table.items_ = take_array<char16_t>(bytes, header.items_length);
  table.node_count_ = static_cast<std::size_t>(header.node_count);
  table.items_length_ = static_cast<std::size_t>(header.items_length);
  table.size_ = static_cast<std::size_t>(header.size);
  table.owner_ = std::move(owner);
  std::copy(std::begin(header.notes), std::end(header.notes), notes.begin());
  return table;
}

std::optional<WordTable> WordTable::from_bytes(std::string_view bytes, std::uint64_t key,
                                               std::array<std::uint64_t, kNotes>& notes) {
  auto copy = std::make_shared<std::vector<std::uint64_t>>(bytes.size() / 8 + 1);
  std::memcpy(copy->data(), bytes.data(), bytes.size());
  const std::string_view aligned(reinterpret_cast<const char*>(copy->data()), bytes.size());
  return from_compiled(aligned, std::move(copy), key, notes);
}

}  // namespace zhavik
