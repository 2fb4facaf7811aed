#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/dictionary/answer.h"
#include "core/dictionary/dictionary_texts.h"
#include "core/dictionary/kind.h"
#include "core/dictionary/lookup_scan.h"

namespace zhavik {

// The dictionary texts with an index that answers the character code lookup without
// scanning. The texts never change after loading, so one pass over each text finds where
// every character's readings or codes stand; the answers are identical to those of the plain
// scan of answer_scan, with the same bound on the length of an answer.
class CodeBook {
 public:
  CodeBook() : CodeBook(DictionaryTexts{}) {}
  explicit CodeBook(DictionaryTexts texts, std::size_t max_answer = kMaxAnswerUnits);

  const DictionaryTexts& texts() const { return texts_; }

  // The character code lookup; the same answer as
  // answer_scan(texts(), kind, character, max_answer).
  Answer answer(Kind kind, std::u16string_view character) const;

  // `huoqu`: the answer as the window shows it.
  std::u16string huoqu(Kind kind, std::u16string_view character) const;

  // The answer's text before its first blank (the first reading or code, or the marker), for
  // one character that code page 936 writes with two bytes (all of them lie in the Basic
  // Multilingual Plane): all the batch conversion keeps. It comes from the first place the
  // character is found, so it costs the same however long the whole answer would be. The
  // view points into the book, or into `scratch`, which the call may overwrite.
  std::u16string_view first_word(Kind kind, char16_t character, std::u16string& scratch) const;

 private:
  // One part of a character's answer in a source text: for a pinyin-format kind one record's
  // reading, rendered with tone marks into readings_; for a Wubi-format kind the codes of one
  // record after the character, without the blanks at either end, and how long the first of
  // them is (up to its first blank).
  struct Piece {
    std::size_t offset;
    std::size_t length;
    std::size_t first_length;
  };

  // The pieces of every code unit that has any, grouped by code unit in text order.
  class Index {
   public:
    Index() = default;
    explicit Index(std::vector<std::pair<char16_t, Piece>> pieces);
    std::span<const Piece> pieces(char16_t character) const;

   private:
    struct Entry {
      std::size_t first_piece = 0;
      std::size_t end_piece = 0;
    };
    // Entries are kept in pages of 64 code units, and only the pages that hold a unit with
    // pieces exist: page_number_[unit / 64] is 1 + the page's place in pages_, or 0. Small
    // dictionaries thus make small indexes.
    static constexpr std::size_t kPageSize = 64;
    std::array<std::uint16_t, 0x10000 / kPageSize> page_number_{};
    std::vector<std::array<Entry, kPageSize>> pages_;
    std::vector<Piece> pieces_;
  };

  static Index index_readings(std::u16string_view text, std::u16string& readings);
  static Index index_codes(std::u16string_view text);
  std::vector<std::u16string> readings(Kind kind, std::span<const Piece> pieces) const;
  std::vector<std::u16string> codes(Kind kind, std::span<const Piece> pieces) const;

  DictionaryTexts texts_;
  std::size_t max_answer_;
  // Each record's reading with tone marks, written once, for the pinyin-format kinds.
  std::array<std::u16string, kKindCount> readings_;
  std::array<Index, kKindCount> indexes_;
};

}  // namespace zhavik
