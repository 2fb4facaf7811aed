#pragma once

#include <cstddef>
#include <cstdint>
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

}  // namespace zhavik
