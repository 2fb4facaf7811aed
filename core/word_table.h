#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zhavik {

// The word file, img/word_pinyin.txt beside the three dictionaries: the readings that words
// give their characters, so that a polyphone can be read from the word it stands in.
//
// Plain UTF-8, one word a line, lines ending with LF (a CR before it is ignored): the word,
// one tab, then one numbered reading per character, separated by single blanks and written
// like the pinyin file's keys (ü as ü, 5 the neutral tone):
//
//   银行<TAB>yin2 hang2
//   晚上<TAB>wan3 shang5
//
// A word has 2 to 32 characters (the table is built by recursion on them, and real words are
// far shorter), and code page 936 writes each of them with two bytes,
// so no word holds a blank, a line break, a one-byte character or half of a surrogate pair.
// A line that breaks any of these rules, or is not valid UTF-8, is skipped and counted.
// Where a word has several lines, its first line counts.
inline constexpr const char* kWordPinyinFile = "img/word_pinyin.txt";

struct WordReading {
  std::u16string word;
  std::u16string readings;  // numbered, one per character: "yin2 hang2"
};

struct WordList {
  std::vector<WordReading> words;  // in file order, repeated words included
  std::size_t malformed_lines = 0;
};

WordList parse_word_pinyin(std::string_view file_bytes);

// Whether an entry keeps the rules above: tables and conversions leave out any that does not.
bool fits_word_rules(const WordReading& entry);

// Nothing when the file is missing, unreadable, not a regular file or larger than any
// dictionary file may be (kMaxDictionaryFileBytes).
std::optional<WordList> read_word_pinyin_file(const std::filesystem::path& path);

// The words made ready for matching at any place of a text: a tree of their code units,
// with the first unit looked up directly, and every word's readings rendered with tone marks
// once, when the table is built.
class WordTable {
 public:
  WordTable() = default;
  explicit WordTable(const std::vector<WordReading>& words);

  // A word that begins a text: its length in code units and its readings with tone marks,
  // each followed by one blank ("yín háng ").
  struct Match {
    std::size_t length;
    std::u16string_view items;
  };

  // Calls found(match) for every word of the table that begins `text`, shortest first.
  template <class Found>
  void for_each_word_at(std::u16string_view text, Found found) const;

  // Whether the code unit occurs in any word; a text splits into independent stretches at
  // every unit that does not.
  bool in_some_word(char16_t unit) const { return first_node_[unit] != 0 || later_[unit]; }

  std::size_t size() const { return size_; }

 private:
  struct Node {
    std::uint32_t first_child = 0;  // children stand together, sorted by unit
    std::uint32_t child_count = 0;
    std::uint32_t items_offset = 0;
    std::uint32_t items_length = 0;  // 0: no word ends here
  };
  struct Sorted;
  void add_children(std::uint32_t parent, Sorted& sorted, std::size_t begin, std::size_t end,
                    std::size_t depth);
  const Node* child(const Node& parent, char16_t unit) const;

  // first_node_[unit]: 1 + the node of the words beginning with that unit, or 0.
  std::vector<std::uint32_t> first_node_ = std::vector<std::uint32_t>(0x10000);
  std::vector<bool> later_ = std::vector<bool>(0x10000);  // unit found after a word's start
  std::vector<Node> nodes_;
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
    if (node->items_length != 0) {
      found(Match{length,
                  std::u16string_view(items_).substr(node->items_offset, node->items_length)});
    }
    if (length == text.size()) return;
    node = child(*node, text[length]);
    if (node == nullptr) return;
  }
}

}  // namespace zhavik
