#include "core/dictionary/code_book.h"

#include <algorithm>
#include <unordered_set>

#include "core/dictionary/quwei.h"
#include "core/pinyin/tone_marks.h"
#include "core/text/cp936.h"
#include "core/text/text.h"

namespace zhavik {
namespace {

// Only characters above ASCII can have a two-byte code, so only they are indexed.
bool may_be_chinese(char16_t unit) {
  return unit >= 0x80;
}

}  // namespace

CodeBook::Index::Index(std::vector<std::pair<char16_t, Piece>> pieces) {
  std::stable_sort(pieces.begin(), pieces.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  pieces_.reserve(pieces.size());
  std::size_t page_count = 0;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    pieces_.push_back(pieces[i].second);
    if (i == 0 || pieces[i].first / kPageSize != pieces[i - 1].first / kPageSize) ++page_count;
  }
  pages_.reserve(page_count);
  for (std::size_t begin = 0; begin < pieces.size();) {
    const char16_t unit = pieces[begin].first;
    std::size_t end = begin;
    while (end < pieces.size() && pieces[end].first == unit)
      ++end;
    std::uint16_t& page = page_number_[unit / kPageSize];
    if (page == 0) {
      pages_.emplace_back();
      page = static_cast<std::uint16_t>(pages_.size());
    }
    pages_[page - 1][unit % kPageSize] = Entry{begin, end};
    begin = end;
  }
}

std::span<const CodeBook::Piece> CodeBook::Index::pieces(char16_t character) const {
  const std::uint16_t page = page_number_[character / kPageSize];
  if (page == 0) return {};
  const Entry& entry = pages_[page - 1][character % kPageSize];
  return std::span<const Piece>(pieces_).subspan(entry.first_piece,
                                                 entry.end_piece - entry.first_piece);
}

// A character in the characters of a record (after the record's first "=") has the
// record's reading. A character standing before the text's first "^" ends its own scan
// before anything is found, so it has no reading at all.
CodeBook::Index CodeBook::index_readings(std::u16string_view text, std::u16string& readings) {
  std::vector<std::pair<char16_t, Piece>> pieces;
  std::unordered_set<char16_t> before_first_record;
  std::size_t record = std::u16string_view::npos;
  bool has_reading = false;
  Piece reading{};
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit == u'^') {
      record = i;
      has_reading = false;
      continue;
    }
    if (record == std::u16string_view::npos) {
      before_first_record.insert(unit);
      continue;
    }
    if (!has_reading && unit == u'=') {
      reading.offset = readings.size();
      readings += zhuanhuan_py(text.substr(record + 1, i - record - 1));
      reading.length = reading.first_length = readings.size() - reading.offset;
      has_reading = true;
    }
    if (has_reading && may_be_chinese(unit) && !before_first_record.contains(unit)) {
      pieces.emplace_back(unit, reading);
    }
  }
  return Index(std::move(pieces));
}

// A character has as codes the rest of the record it stands in, up to the next "^" or the
// end of the text, without the blanks at either end.
//
// Every character of a record shares the record's end, so the record's trailing blanks are
// found once; leading blanks and the first code are found by searches that only move
// forward. A record of many characters followed by a long run of blanks thus costs its
// length, not its length times its characters.
CodeBook::Index CodeBook::index_codes(std::u16string_view text) {
  constexpr auto npos = std::u16string_view::npos;
  std::vector<std::pair<char16_t, Piece>> pieces;
  std::size_t record_end = 0;
  std::size_t codes_end = 0;  // just after the record's last non-blank
  std::size_t next_blank = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!may_be_chinese(text[i])) continue;
    if (record_end <= i) {
      record_end = std::min(text.find(u'^', i + 1), text.size());
      // Stops at text[i] at the latest, which is no blank.
      codes_end = text.find_last_not_of(u' ', record_end - 1) + 1;
    }
    if (codes_end <= i + 1) continue;
    // Stops before codes_end at the latest, since text[codes_end - 1] is no blank.
    const std::size_t start = text.find_first_not_of(u' ', i + 1);
    if (next_blank < start) next_blank = text.find(u' ', start);
    const std::size_t first_end = next_blank == npos ? codes_end : std::min(next_blank, codes_end);
    pieces.emplace_back(text[i], Piece{start, codes_end - start, first_end - start});
  }
  return Index(std::move(pieces));
}

// Every record's reading, while they fit.
std::vector<std::u16string> CodeBook::readings(Kind kind, std::span<const Piece> pieces) const {
  std::vector<std::u16string> listed;
  std::size_t length = 0;
  for (const Piece& piece : pieces) {
    const std::u16string_view reading =
        std::u16string_view(readings_[index_of(kind)]).substr(piece.offset, piece.length);
    length += shown_length(AnswerShape::readings, reading);
    if (length > max_answer_) break;
    listed.emplace_back(reading);
  }
  return listed;
}

// Every distinct blank-separated code in order of first appearance, while they fit.
//
// Several occurrences of a character in one record give pieces that all run to the same
// record end, so a later piece repeats the earlier one's codes from its first blank on: only
// its first code can be new. A file whose line breaks are not CR LF is one record, and
// without this every occurrence would go through the rest of the whole file again.
std::vector<std::u16string> CodeBook::codes(Kind kind, std::span<const Piece> pieces) const {
  const std::u16string_view source = texts_[kind];
  std::vector<std::u16string> listed;
  std::unordered_set<std::u16string_view> seen;
  std::size_t length = 0;
  // Lists the new codes of `codes`; false once one does not fit.
  const auto list = [&](std::u16string_view codes) {
    for (std::size_t start = 0; start < codes.size();) {
      const std::size_t blank = std::min(codes.find(u' ', start), codes.size());
      const std::u16string_view code = codes.substr(start, blank - start);
      start = blank + 1;
      if (code.empty() || seen.contains(code)) continue;
      length += shown_length(AnswerShape::codes, code);
      if (length > max_answer_) return false;
      seen.insert(code);
      listed.emplace_back(code);
    }
    return true;
  };
  std::size_t covered_end = std::u16string_view::npos;
  for (const Piece& piece : pieces) {
    const std::size_t piece_end = piece.offset + piece.length;
    const std::size_t piece_length = piece_end == covered_end ? piece.first_length : piece.length;
    covered_end = piece_end;
    if (!list(source.substr(piece.offset, piece_length))) break;
  }
  return listed;
}

CodeBook::CodeBook(DictionaryTexts texts, std::size_t max_answer)
    : texts_(std::move(texts)), max_answer_(max_answer) {
  for (const KindRow& row : kKinds) {
    const std::size_t k = index_of(row.kind);
    switch (row.shape) {
      case AnswerShape::readings:
        indexes_[k] = index_readings(texts_[row.kind], readings_[k]);
        break;
      case AnswerShape::codes:
        indexes_[k] = index_codes(texts_[row.kind]);
        break;
      case AnswerShape::area_position:
        break;
    }
  }
}

Answer CodeBook::answer(Kind kind, std::u16string_view character) const {
  if (character.empty()) return Answer::of(Answer::Outcome::no_character);
  const std::uint16_t code = cp936_double_byte(code_point_at(character, 0));
  if (code == 0) return Answer::of(Answer::Outcome::not_chinese);
  // The index answers single characters, which is all the window and the converter ask;
  // a longer argument is searched as a whole, as the scan does.
  if (character.size() != 1) return answer_scan(texts_, kind, character, max_answer_);
  const std::span<const Piece> pieces = indexes_[index_of(kind)].pieces(character[0]);
  switch (shape_of(kind)) {
    case AnswerShape::readings:
      return Answer::listing(readings(kind, pieces));
    case AnswerShape::codes:
      return Answer::listing(codes(kind, pieces));
    case AnswerShape::area_position:
      break;
  }
  return quwei_answer(code);
}

std::u16string CodeBook::huoqu(Kind kind, std::u16string_view character) const {
  return answer_text(shape_of(kind), answer(kind, character));
}

std::u16string_view CodeBook::first_word(Kind kind, char16_t character,
                                         std::u16string& scratch) const {
  const AnswerShape shape = shape_of(kind);
  if (shape == AnswerShape::area_position) {
    scratch = quwei_code(cp936_double_byte(character));
    return scratch.empty() ? kMissing : scratch;
  }
  const std::span<const Piece> pieces = indexes_[index_of(kind)].pieces(character);
  if (pieces.empty()) return kMissing;
  // The first reading, or the first code, is in the answer only if it fits whole.
  const std::u16string_view first =
      shape == AnswerShape::readings
          ? std::u16string_view(readings_[index_of(kind)])
                .substr(pieces[0].offset, pieces[0].length)
          : std::u16string_view(texts_[kind]).substr(pieces[0].offset, pieces[0].first_length);
  if (shown_length(shape, first) > max_answer_) return kMissing;
  return zhavik::first_word(shape, first);
}

}  // namespace zhavik
