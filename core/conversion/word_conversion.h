#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/conversion/conversion.h"
#include "core/dictionary/code_book.h"
#include "core/pinyin/pinyin_style.h"
#include "core/pinyin/word_table.h"

namespace zhavik {

// The pinyin conversion that reads a polyphone from the word it stands in: 银行 yín háng but
// 行走 xíng zǒu. Its items follow the rule of every conversion (character_item): "###" for a
// one-byte character, nothing for the blank U+0020.
//
// Each line is cut into words of the table and single characters: the cut whose pieces cost
// least in sum (piece_cost, single_character_cost), that is the likeliest sentence; among
// cuts of equal cost the one of fewest pieces, and among those the one whose earliest
// differing piece is the longer word. A character inside a word with readings takes the
// word's reading for it. A word known only by its count is cut again the same way, by the
// words with readings alone, and its characters read as those pieces (大儿子: 大 + 儿子).
// Every other character takes the reading the characters around it call for
// (context_readings.h), else its usual reading, exactly as in convert_text with the kind
// "拼音". Words never hold a blank, a line break or half of a surrogate pair (see
// word_table.h), so a word interrupted by any of these is not found, and the work grows with
// the length of the text only.

// The word conversion of each line, for a ConversionPipeline. With `tone_sandhi`, 一 and 不
// are written as spoken before the syllable that follows (tone_sandhi.h). The readings are
// written in `format`, each syllable of a word on its own.
class WordConversion final : public CharacterConversion {
 public:
  WordConversion(const CodeBook& book, const WordTable& words, bool tone_sandhi = false,
                 PinyinFormat format = {});
  ~WordConversion() override;

  void convert(std::u16string_view line, ConversionLayout& layout) override;

 private:
  class Cutter;
  std::unique_ptr<Cutter> cutter_;
  PinyinFormat format_;
  std::u16string items_;
  std::u16string styled_;
};

// The same conversion done plainly, as the reference that the one above must agree with:
// every stretch of every line looked up in ordered maps of the words and the counts.
class WordConversionReference final : public CharacterConversion {
 public:
  WordConversionReference(const CodeBook& book, const std::vector<WordReading>& words,
                          const std::vector<WordCount>& counts, bool tone_sandhi = false);

  void convert(std::u16string_view line, ConversionLayout& layout) override;

 private:
  const CodeBook& book_;
  std::map<std::u16string, std::u16string, std::less<>> readings_;
  std::map<std::u16string, std::uint32_t, std::less<>> counted_;
  std::size_t longest_ = 1;
  std::uint64_t total_ = 1;
  bool tone_sandhi_;
  std::u16string items_;
};

// A whole text in the window's layout (TextLayout::window), as convert_text lays it out.
std::u16string convert_text_by_words(const CodeBook& book, const WordTable& words,
                                     std::u16string_view text, bool tone_sandhi = false);

std::u16string convert_text_by_words_reference(const CodeBook& book,
                                               const std::vector<WordReading>& words,
                                               const std::vector<WordCount>& counts,
                                               std::u16string_view text, bool tone_sandhi = false);

}  // namespace zhavik
