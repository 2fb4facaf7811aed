#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/dictionary_texts.h"
#include "core/kind.h"
#include "core/lookup_scan.h"

namespace zhavik {

// The dictionary texts with an index that answers the character code lookup without
// scanning. The texts never change after loading, so every answer is worked out once, in
// one pass over each text, and stays identical to the plain scan of huoqu_scan, with the
// same bound on the length of an answer.
class CodeBook {
 public:
  CodeBook() : CodeBook(DictionaryTexts{}) {}
  explicit CodeBook(DictionaryTexts texts, std::size_t max_answer = kMaxAnswerUnits);

  const DictionaryTexts& texts() const { return texts_; }

  // The character code lookup; the same answer as
  // huoqu_scan(texts(), kind, character, max_answer).
  std::u16string huoqu(std::u16string_view kind, std::u16string_view character) const;

  // The answer for one character that code page 936 writes with two bytes (all of them lie
  // in the Basic Multilingual Plane). The view points into the book, or into `scratch`,
  // which the call may overwrite.
  std::u16string_view answer(Kind kind, char16_t character, std::u16string& scratch) const;

  // The answer's text before its first blank (the first reading or code, or the marker),
  // which is all the batch conversion keeps. It comes from the first place the character is
  // found, so it costs the same however long the whole answer would be.
  std::u16string_view first_word(Kind kind, char16_t character, std::u16string& scratch) const;

 private:
  // Where in a source text the parts of one character's answer stand, and how long the
  // first word of each is (up to its first blank).
  struct Piece {
    std::size_t offset;
    std::size_t length;
    std::size_t first_length;
  };
  using Rule = void (*)(std::u16string& out, std::u16string_view source, const Piece* begin,
                        const Piece* end, std::size_t max_answer);

  // The pieces of every code unit's answer, grouped by code unit in text order, and the
  // answers made from them. An answer is made in advance unless its pieces are so long that
  // making all of them could take memory quadratic in the text (a file whose line breaks
  // are not CR LF is one long record); such an answer is made anew on each call.
  class Index {
   public:
    Index() = default;
    Index(std::vector<std::pair<char16_t, Piece>> pieces, std::u16string_view source, Rule rule,
          std::size_t max_answer);
    std::u16string_view answer(char16_t character, std::u16string_view source, Rule rule,
                               std::size_t max_answer, std::u16string& scratch) const;
    // The first piece of the character's answer; null when the character has none.
    const Piece* first_piece(char16_t character) const;

   private:
    // One code unit's pieces, and its answer in made_ (empty when made anew on each call).
    struct Entry {
      std::size_t first_piece = 0;
      std::size_t end_piece = 0;
      std::size_t made_offset = 0;
      std::size_t made_length = 0;
    };
    // The entry of a code unit that has pieces, else null.
    const Entry* entry(char16_t character) const;

    // Entries are kept in pages of 64 code units, and only the pages that hold a unit with
    // pieces exist: page_number_[unit / 64] is 1 + the page's place in pages_, or 0. Small
    // dictionaries thus make small indexes.
    static constexpr std::size_t kPageSize = 64;
    std::array<std::uint16_t, 0x10000 / kPageSize> page_number_{};
    std::vector<std::array<Entry, kPageSize>> pages_;
    std::vector<Piece> pieces_;
    std::u16string made_;
  };

  static Index index_pinyin(std::u16string_view text, std::u16string& readings,
                            std::size_t max_answer);
  static Index index_wubi(std::u16string_view text, std::size_t max_answer);
  static void join_readings(std::u16string& out, std::u16string_view source, const Piece* begin,
                            const Piece* end, std::size_t max_answer);
  static void list_codes(std::u16string& out, std::u16string_view source, const Piece* begin,
                         const Piece* end, std::size_t max_answer);

  DictionaryTexts texts_;
  std::size_t max_answer_;
  // Each pinyin record's reading with tone marks and its two blanks, written once.
  std::u16string readings_;
  Index pinyin_;
  Index wubi86_;
  Index wubi98_;
};

}  // namespace zhavik
