#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zhavik {

// The two text files of words beside the dictionaries, as read into lists. Both are plain
// UTF-8, one entry a line, lines ending with LF (a CR before it is ignored).
//
// The word file, img/word_pinyin.txt: the readings that words give their characters, so
// that a polyphone can be read from the word it stands in. The word, one tab, then one
// numbered reading per character, separated by single blanks and written like the pinyin
// file's keys (ü as ü, 5 the neutral tone, at most 8 units each):
//
//   银行<TAB>yin2 hang2
//   晚上<TAB>wan3 shang5
//
// A word has 2 to 32 characters (the table is built by recursion on them, and real words are
// far shorter), and code page 936 writes each of them with two bytes, so no word holds a
// blank, a line break, a one-byte character or half of a surrogate pair. A line that breaks
// any of these rules, or is not valid UTF-8, is skipped and counted. So is a line with a
// reading that the pinyin dictionary does not give its character: a syllable that the tone
// marks table cannot write (qqq1, lv4 for lü4) or that the character lacks; a neutral tone
// is allowed for any syllable the character has (上 shang5 beside shàng). Where a word has
// several lines, its first line counts.
//
// The counts file, img/word_counts.txt: how often words occur in a large corpus of modern
// Chinese, to tell the likelier of two ways to cut a sentence (问明了: 问明 + 了, not
// 问 + 明了). A word or a single character, one tab, and its count, 1 to 4,294,967,295,
// in decimal digits:
//
//   银行<TAB>7684
//   的<TAB>318825
//
// A word has 1 to 32 characters under the word file's rules; a line that breaks them, or
// whose count is not such a number, is skipped and counted. Where a word has several
// lines, its first line counts. Words here need no reading: a word known only by its count
// still keeps a cut from running across it.
inline constexpr const char* kWordPinyinFile = "img/word_pinyin.txt";
inline constexpr const char* kWordCountsFile = "img/word_counts.txt";

inline constexpr std::size_t kLongestWord = 32;

struct WordReading {
  std::u16string word;
  std::u16string readings;  // numbered, one per character: "yin2 hang2"
};

struct WordList {
  std::vector<WordReading> words;  // in file order, repeated words included
  std::size_t malformed_lines = 0;
  std::size_t unknown_readings = 0;  // lines left out for a reading their character lacks
};

struct WordCount {
  std::u16string word;
  std::uint32_t count = 0;
};

struct CountList {
  std::vector<WordCount> counts;  // in file order
  std::size_t malformed_lines = 0;
};

// The readings that the pinyin dictionary (its text as DictionaryTexts holds it) gives each
// character, less any whose syllable the tone marks table cannot write.
class CharacterReadings {
 public:
  explicit CharacterReadings(std::u16string_view pinyin_data);

  // Whether the character has the numbered reading ("hang2"), or, for a neutral tone
  // ("shang5"), that syllable in any tone.
  bool has(char16_t character, std::u16string_view numbered) const;

 private:
  std::vector<std::u16string> keys_;
  // The key numbers of each character, kept together: those of unit u stand in
  // key_numbers_[first_key_[u] .. first_key_[u + 1]).
  std::vector<std::uint32_t> first_key_;
  std::vector<std::uint32_t> key_numbers_;
};

// Whether an entry keeps the word file's rules of form (not the dictionary's readings):
// tables and conversions leave out any that does not.
bool fits_word_rules(const WordReading& entry);
bool fits_count_rules(const WordCount& entry);

WordList parse_word_pinyin(std::string_view file_bytes, const CharacterReadings& readings);
CountList parse_word_counts(std::string_view file_bytes);

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
