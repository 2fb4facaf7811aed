#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/word_lists.h"

namespace zhavik {

// What a piece of a cut costs: -ln(count / total) in 1/1024 of a unit, where the total is
// the sum of the counts of all words and characters (at least 1), so that the cut whose
// pieces cost least in sum is the likeliest, and sums are exact. A word or character
// without a count counts 1; a cost is at most 65,534.
std::uint16_t piece_cost(std::uint64_t count, std::uint64_t total);

// The words of the word file and of the counts file made ready for cutting a text at any
// place: a tree of their code units, with the first unit looked up directly, every word's
// cost, and the readings of those that have them rendered with tone marks once, when the
// table is built. Single characters have a cost of their own.
class WordTable {
 public:
  WordTable();
  WordTable(const std::vector<WordReading>& words, const std::vector<WordCount>& counts);

  // A word that begins a text: its length in code units, its cost, and its readings with
  // tone marks, each followed by one blank ("yín háng "), or nothing for a word known only
  // by its count.
  struct Match {
    std::size_t length;
    std::uint16_t cost;
    std::u16string_view items;
  };

  // Calls found(match) for every word of the table that begins `text`, shortest first.
  template <class Found>
  void for_each_word_at(std::u16string_view text, Found found) const;

  // Whether the code unit occurs in any word; a text splits into independent stretches at
  // every unit that does not.
  bool in_some_word(char16_t unit) const { return first_node_[unit] != 0 || later_[unit]; }

  std::uint16_t character_cost(char16_t unit) const { return character_cost_[unit]; }

  // How many words have readings.
  std::size_t size() const { return size_; }

  // The compiled form: the table as it stands in memory, behind a header that names the
  // form and carries `key` (what the table was built from) and `notes` (anything the
  // builder wants kept with it). from_bytes takes only what to_bytes wrote for the same
  // key: nothing for any other bytes, however they were damaged.
  static constexpr std::size_t kNotes = 4;
  std::string to_bytes(std::uint64_t key, const std::array<std::uint64_t, kNotes>& notes) const;
  static std::optional<WordTable> from_bytes(std::string_view bytes, std::uint64_t key,
                                             std::array<std::uint64_t, kNotes>& notes);

 private:
  static constexpr std::uint16_t kNoWord = 0xFFFF;
  struct Node {
    std::uint32_t first_child = 0;  // children stand together, sorted by unit
    std::uint32_t child_count = 0;
    std::uint32_t items_offset = 0;
    std::uint16_t items_length = 0;  // 0: the word here has no readings
    std::uint16_t cost = kNoWord;    // kNoWord: no word ends here
  };
  struct Sorted;
  void add_children(std::uint32_t parent, Sorted& sorted, std::size_t begin, std::size_t end,
                    std::size_t depth);
  const Node* child(const Node& parent, char16_t unit) const;
  // first_node_ and later_ from the nodes, whose first root_count_ are the roots.
  void index_units();

  // first_node_[unit]: 1 + the node of the words beginning with that unit, or 0.
  std::vector<std::uint32_t> first_node_;
  std::vector<bool> later_;  // unit found after a word's start
  std::vector<std::uint16_t> character_cost_;
  std::vector<Node> nodes_;
  std::size_t root_count_ = 0;
  // units_[n]: the unit that leads to node n, apart from the nodes so that a search among
  // many children reads few cache lines.
  std::u16string units_;
  std::u16string items_;
  std::size_t size_ = 0;
};

template <class Found>
void WordTable::for_each_word_at(std::u16string_view text, Found found) const {
  if (text.empty() || first_node_[text[0]] == 0) return;
  const Node* node = &nodes_[first_node_[text[0]] - 1];
  for (std::size_t length = 1;; ++length) {
    if (node->cost != kNoWord) {
      found(Match{length, node->cost,
                  std::u16string_view(items_).substr(node->items_offset, node->items_length)});
    }
    if (length == text.size()) return;
    node = child(*node, text[length]);
    if (node == nullptr) return;
  }
}

}  // namespace zhavik
