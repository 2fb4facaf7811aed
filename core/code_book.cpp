#include "core/code_book.h"

#include <algorithm>
#include <unordered_set>

#include "core/cp936.h"
#include "core/lookup_scan.h"
#include "core/quwei.h"
#include "core/text.h"
#include "core/tone_marks.h"

namespace zhavik {
namespace {

// Real answers are a few dozen units; this only keeps degenerate files from taking
// memory quadratic in their size.
constexpr std::size_t kMadeInAdvanceLimit = 4096;

// Only characters above ASCII can have a two-byte code, so only they are indexed.
bool may_be_chinese(char16_t unit) {
  return unit >= 0x80;
}

}  // namespace

CodeBook::Index::Index(std::vector<std::pair<char16_t, Piece>> pieces, std::u16string_view source,
                       Rule rule, std::size_t max_answer) {
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
    std::size_t length = 0;
    for (; end < pieces.size() && pieces[end].first == unit; ++end)
      length += pieces[end].second.length;

    std::uint16_t& page = page_number_[unit / kPageSize];
    if (page == 0) {
      pages_.emplace_back();
      page = static_cast<std::uint16_t>(pages_.size());
    }
    Entry& entry = pages_[page - 1][unit % kPageSize];
    entry.first_piece = begin;
    entry.end_piece = end;
    entry.made_offset = made_.size();
    if (length <= kMadeInAdvanceLimit) {
      rule(made_, source, pieces_.data() + begin, pieces_.data() + end, max_answer);
    }
    entry.made_length = made_.size() - entry.made_offset;
    begin = end;
  }
}

const CodeBook::Index::Entry* CodeBook::Index::entry(char16_t character) const {
  const std::uint16_t page = page_number_[character / kPageSize];
  if (page == 0) return nullptr;
  const Entry& entry = pages_[page - 1][character % kPageSize];
  return entry.first_piece == entry.end_piece ? nullptr : &entry;
}

std::u16string_view CodeBook::Index::answer(char16_t character, std::u16string_view source,
                                            Rule rule, std::size_t max_answer,
                                            std::u16string& scratch) const {
  const Entry* found = entry(character);
  if (!found) return kMissing;
  if (found->made_length != 0) {
    return std::u16string_view(made_).substr(found->made_offset, found->made_length);
  }
  scratch.clear();
  rule(scratch, source, pieces_.data() + found->first_piece, pieces_.data() + found->end_piece,
       max_answer);
  // Nothing fitted.
  return scratch.empty() ? kMissing : scratch;
}

const CodeBook::Piece* CodeBook::Index::first_piece(char16_t character) const {
  const Entry* found = entry(character);
  return found ? &pieces_[found->first_piece] : nullptr;
}

// A character in the characters of a record (after the record's first "=") has the
// record's reading. A character standing before the text's first "^" ends its own scan
// before anything is found, so it has no reading at all.
CodeBook::Index CodeBook::index_pinyin(std::u16string_view text, std::u16string& readings,
                                       std::size_t max_answer) {
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
      readings += u"  ";
      reading.length = readings.size() - reading.offset;
      reading.first_length = readings.find(u' ', reading.offset) - reading.offset;
      has_reading = true;
    }
    if (has_reading && may_be_chinese(unit) && !before_first_record.contains(unit)) {
      pieces.emplace_back(unit, reading);
    }
  }
  return Index(std::move(pieces), readings, join_readings, max_answer);
}

// A character has as codes the rest of the record it stands in, up to the next "^" or the
// end of the text, without the blanks at either end.
//
// Every character of a record shares the record's end, so the record's trailing blanks are
// found once; leading blanks and the first word are found by searches that only move
// forward. A record of many characters followed by a long run of blanks thus costs its
// length, not its length times its characters.
CodeBook::Index CodeBook::index_wubi(std::u16string_view text, std::size_t max_answer) {
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
  return Index(std::move(pieces), text, list_codes, max_answer);
}

void CodeBook::join_readings(std::u16string& out, std::u16string_view source, const Piece* begin,
                             const Piece* end, std::size_t max_answer) {
  std::size_t length = 0;
  for (const Piece* piece = begin; piece != end; ++piece) {
    if (length + piece->length > max_answer) return;
    out += source.substr(piece->offset, piece->length);
    length += piece->length;
  }
}

// Every distinct blank-separated code in order of first appearance, each followed by one
// blank, while they fit; an asterisk inside a code is shown as a blank.
//
// Several occurrences of a character in one record give pieces that all run to the same
// record end, so a later piece repeats the earlier one's words from its first blank on: only
// its first word can be new. A file whose line breaks are not CR LF is one record, and
// without this every occurrence would go through the rest of the whole file again.
void CodeBook::list_codes(std::u16string& out, std::u16string_view source, const Piece* begin,
                          const Piece* end, std::size_t max_answer) {
  std::vector<std::u16string_view> listed;
  std::unordered_set<std::u16string_view> seen;
  std::size_t listed_length = 0;
  // Lists the new codes of `codes`; false once one does not fit.
  const auto list = [&](std::u16string_view codes) {
    for (std::size_t start = 0; start < codes.size();) {
      const std::size_t blank = std::min(codes.find(u' ', start), codes.size());
      const std::u16string_view code = codes.substr(start, blank - start);
      start = blank + 1;
      if (code.empty() || seen.contains(code)) continue;
      if (listed_length + code.size() + 1 > max_answer) return false;
      seen.insert(code);
      listed.push_back(code);
      listed_length += code.size() + 1;
    }
    return true;
  };
  std::size_t covered_end = std::u16string_view::npos;
  for (const Piece* piece = begin; piece != end; ++piece) {
    const std::size_t piece_end = piece->offset + piece->length;
    const std::size_t length = piece_end == covered_end ? piece->first_length : piece->length;
    covered_end = piece_end;
    if (!list(source.substr(piece->offset, length))) break;
  }
  for (const std::u16string_view code : listed) {
    const std::size_t at = out.size();
    out += code;
    std::replace(out.begin() + static_cast<std::ptrdiff_t>(at), out.end(), u'*', u' ');
    out += u' ';
  }
}

CodeBook::CodeBook(DictionaryTexts texts, std::size_t max_answer)
    : texts_(std::move(texts)),
      max_answer_(max_answer),
      pinyin_(index_pinyin(texts_.pinyin_data, readings_, max_answer)),
      wubi86_(index_wubi(texts_.wubi86_data, max_answer)),
      wubi98_(index_wubi(texts_.wubi98_data, max_answer)) {}

std::u16string_view CodeBook::answer(Kind kind, char16_t character, std::u16string& scratch) const {
  switch (kind) {
    case Kind::pinyin:
      return pinyin_.answer(character, readings_, join_readings, max_answer_, scratch);
    case Kind::wubi86:
      return wubi86_.answer(character, texts_.wubi86_data, list_codes, max_answer_, scratch);
    case Kind::wubi98:
      return wubi98_.answer(character, texts_.wubi98_data, list_codes, max_answer_, scratch);
    case Kind::quwei:
      break;
  }
  scratch = quwei_answer(cp936_double_byte(character));
  return scratch;
}

std::u16string_view CodeBook::first_word(Kind kind, char16_t character,
                                         std::u16string& scratch) const {
  const Piece* piece = nullptr;
  std::u16string_view source;
  switch (kind) {
    case Kind::pinyin:
      piece = pinyin_.first_piece(character);
      // The answer holds the first reading, with its two blanks, only if it fits whole.
      if (!piece || piece->length > max_answer_) return kMissing;
      return std::u16string_view(readings_).substr(piece->offset, piece->first_length);
    case Kind::wubi86:
      piece = wubi86_.first_piece(character);
      source = texts_.wubi86_data;
      break;
    case Kind::wubi98:
      piece = wubi98_.first_piece(character);
      source = texts_.wubi98_data;
      break;
    case Kind::quwei:
      scratch = quwei_answer(cp936_double_byte(character));
      return scratch;
  }
  // The first code, with its blank, only if it fits whole; the answer shows its asterisks
  // as blanks.
  if (!piece || piece->first_length + 1 > max_answer_) return kMissing;
  const std::u16string_view code = source.substr(piece->offset, piece->first_length);
  return code.substr(0, code.find(u'*'));
}

std::u16string CodeBook::huoqu(std::u16string_view kind, std::u16string_view character) const {
  if (character.empty()) return {};
  if (cp936_double_byte(code_point_at(character, 0)) == 0) return std::u16string(kNotChinese);
  const std::optional<Kind> which = kind_from_text(kind);
  if (!which) return {};
  // The index answers single characters, which is all the window and the converter ask;
  // a longer argument is searched as a whole, as the scan does.
  if (character.size() != 1) return huoqu_scan(texts_, kind, character, max_answer_);
  std::u16string scratch;
  return std::u16string(answer(*which, character[0], scratch));
}

}  // namespace zhavik
