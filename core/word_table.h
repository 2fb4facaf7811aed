#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
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

// What a single character costs as a piece of its own: its piece_cost and 1.5 units more
// (as if it were 4.5 times rarer). The counts see a character alone wherever their corpus
// had it alone, but in a text it is often a part of a word that the counts lack (三更,
// 新正, 股分); without the extra cost such words lost to the characters they are made of
// more often than they won, on the prose of bench/accuracy/.
std::uint16_t single_character_cost(std::uint64_t count, std::uint64_t total);

// The words of the word file and of the counts file made ready for cutting a text at any
// place: a tree of their code units, with the first unit looked up directly, every word's
// cost, and the readings of those that have them rendered with tone marks once, when the
// table is built. Single characters have a cost of their own. Copies share the same arrays.
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
  bool in_some_word(char16_t unit) const {
    return first_node_[unit] != 0 || (later_[unit / 64] >> unit % 64 & 1) != 0;
  }

  std::uint16_t character_cost(char16_t unit) const { return character_cost_[unit]; }

  // A value for each of the 65,536 code units, kept in pages of 256: only the pages that
  // hold a value other than the usual one exist, so that a table of few words stays small.
  template <class T>
  struct UnitPages {
    const std::uint16_t* page_of = nullptr;  // 256: 1 + the page of the units, or 0
    const T* values = nullptr;
    std::size_t page_count = 0;
    T usual{};
    T operator[](char16_t unit) const {
      const std::size_t page = page_of[unit >> 8];
      return page == 0 || page > page_count ? usual : values[(page - 1) * 256 + (unit & 0xFF)];
    }
  };

  // How many words have readings.
  std::size_t size() const { return size_; }

  // The compiled form: the table's arrays as they stand in memory, behind a header that
  // names the form and carries `key` (what the table was built from) and `notes` (anything
  // the builder wants kept with it).
  static constexpr std::size_t kNotes = 4;
  std::string to_bytes(std::uint64_t key, const std::array<std::uint64_t, kNotes>& notes) const;

  // The table of a compiled form written by to_bytes for the same key, used where it lies:
  // `bytes` (aligned for any plain number) stays alive as long as `owner` and the table's
  // copies hold it. Nothing for bytes of another key or form or size. The arrays are not
  // checked through on loading, which would read every page of them: each step of a search
  // checks that it stays inside them instead, so that damaged bytes give wrong words at worst.
  static std::optional<WordTable> from_compiled(std::string_view bytes,
                                                std::shared_ptr<const void> owner,
                                                std::uint64_t key,
                                                std::array<std::uint64_t, kNotes>& notes);
  // The same from bytes anywhere, which it copies.
  static std::optional<WordTable> from_bytes(std::string_view bytes, std::uint64_t key,
                                             std::array<std::uint64_t, kNotes>& notes);

 private:
  static constexpr std::uint16_t kNoWord = 0xFFFF;
  struct Node {
    std::uint32_t first_child;  // children stand together, sorted by unit
    std::uint32_t child_count;
    std::uint32_t items_offset;
    std::uint16_t items_length;  // 0: the word here has no readings
    std::uint16_t cost;          // kNoWord: no word ends here
  };
  struct Built;
  struct Sorted;
  struct Unset {};
  explicit WordTable(Unset) {}
  void add_children(Built& built, std::uint32_t parent, Sorted& sorted, std::size_t begin,
                    std::size_t end, std::size_t depth);
  void point_into(const Built& built);
  const Node* node(std::uint32_t number) const {
    return number < node_count_ ? &nodes_[number] : nullptr;
  }
  const Node* child(const Node& parent, char16_t unit) const;

  // What the views below point into: the arrays of a built table, or a compiled form.
  std::shared_ptr<const void> owner_;
  // first_node_[unit]: 1 + the node of the words beginning with that unit, or 0.
  UnitPages<std::uint32_t> first_node_;
  const std::uint64_t* later_ = nullptr;  // bit unit: the unit is found after a word's start
  UnitPages<std::uint16_t> character_cost_;
  const Node* nodes_ = nullptr;
  std::size_t node_count_ = 0;
  // units_[n]: the unit that leads to node n, apart from the nodes so that a search among
  // many children reads few cache lines.
  const char16_t* units_ = nullptr;
  const char16_t* items_ = nullptr;
  std::size_t items_length_ = 0;
  std::size_t size_ = 0;
};

template <class Found>
void WordTable::for_each_word_at(std::u16string_view text, Found found) const {
  if (text.empty()) return;
  const Node* at = node(first_node_[text[0]] - 1);  // 0 wraps to no node
  for (std::size_t length = 1; at != nullptr; ++length) {
    if (at->cost != kNoWord) {
      const bool inside =
          at->items_offset <= items_length_ && at->items_length <= items_length_ - at->items_offset;
      found(Match{length, at->cost,
                  inside ? std::u16string_view(items_ + at->items_offset, at->items_length)
                         : std::u16string_view()});
    }
    if (length == text.size()) return;
    at = child(*at, text[length]);
  }
}

}  // namespace zhavik
