#include "core/word_conversion.h"

#include <cstdint>
#include <map>

#include "core/batch.h"
#include "core/context_readings.h"
#include "core/cp936.h"
#include "core/text.h"
#include "core/tone_marks.h"
#include "core/tone_sandhi.h"

namespace zhavik {
namespace {

constexpr std::u16string_view kLineEnd = u"\r\n";

// The lines of a text as the plain conversion sees them, with a line end after each.
template <class EachLine>
std::u16string convert_lines(std::u16string_view text, EachLine each_line) {
  std::u16string out;
  out.reserve(text.size() * 4 + 4);
  bool has_line_end = false;
  for (std::size_t begin = 0;;) {
    const std::size_t end = text.find(kLineEnd, begin);
    each_line(out, text.substr(begin, end == std::u16string_view::npos ? end : end - begin));
    if (end == std::u16string_view::npos) break;
    out += kLineEnd;
    has_line_end = true;
    begin = end + kLineEnd.size();
  }
  out += kLineEnd;
  if (!has_line_end) out += kLineEnd;
  return out;
}

// The items of one line as they are written, kept for the tone sandhi when it is asked for.
class ItemLog {
 public:
  explicit ItemLog(bool wanted) : wanted_(wanted) {}
  bool wanted() const { return wanted_; }
  void clear() { items_.clear(); }
  // The item just written to out[offset..], for the character at `at`.
  void add(const std::u16string& out, std::size_t offset, std::size_t at, bool ends_word) {
    if (wanted_ && out.size() > offset)
      items_.push_back({offset, out.size() - offset - 1, at, ends_word});
  }
  void apply(std::u16string& out, std::u16string_view line, const CodeBook& book) const {
    if (wanted_) apply_tone_sandhi(out, line, items_, book);
  }

 private:
  bool wanted_;
  std::vector<LineItem> items_;
};

// The item of a character that no word reads, followed by its blank; nothing for the
// blank U+0020.
void append_character(std::u16string& out, const CodeBook& book, std::u16string_view line,
                      std::size_t at, std::u16string& scratch) {
  if (line[at] == u' ') return;
  if (cp936_double_byte(code_point_at(line, at)) == 0) {
    out += u"### ";
    return;
  }
  // Every character with a two-byte code is a single code unit.
  std::u16string_view item = reading_in_context(line, at);
  if (item.empty()) {
    item = book.first_word(Kind::pinyin, line[at], scratch);
    item = item.substr(0, item.find(u' '));
  }
  out += item;
  out += u' ';
}

class LineConverter {
 public:
  LineConverter(const CodeBook& book, const WordTable& words, bool tone_sandhi)
      : book_(book), words_(words), log_(tone_sandhi) {}

  void append(std::u16string& out, std::u16string_view line) {
    log_.clear();
    for (std::size_t i = 0; i < line.size();) {
      std::size_t end = i;
      while (end < line.size() && words_.in_some_word(line[end]))
        ++end;
      if (end > i) {
        append_stretch(out, line, i, end);
      } else {
        end = i + character_length(line, i);
        const std::size_t offset = out.size();
        append_character(out, book_, line, i, scratch_);
        log_.add(out, offset, i, false);
      }
      i = end;
    }
    log_.apply(out, line, book_);
  }

 private:
  // The best cut of the rest of a stretch from one place on: its cost, how many pieces,
  // and the first.
  struct Step {
    std::uint64_t cost;
    std::uint32_t pieces;
    std::uint32_t length;
    std::u16string_view items;
  };

  // A stretch line[begin, end) of units that all occur in words; nothing outside it can
  // change its best cut, which is found from its end backwards.
  void append_stretch(std::u16string& out, std::u16string_view line, std::size_t begin,
                      std::size_t end) {
    const std::u16string_view stretch = line.substr(begin, end - begin);
    steps_.assign(stretch.size() + 1, Step{0, 0, 0, {}});
    for (std::size_t i = stretch.size(); i-- > 0;) {
      const Step& after = steps_[i + 1];
      Step best{after.cost + words_.character_cost(stretch[i]), after.pieces + 1, 1, {}};
      // Shortest first, so that a longer word wins a tie.
      words_.for_each_word_at(stretch.substr(i), [&](const WordTable::Match& word) {
        const Step& rest = steps_[i + word.length];
        const std::uint64_t cost = rest.cost + word.cost;
        if (cost < best.cost || (cost == best.cost && rest.pieces + 1 <= best.pieces)) {
          best = Step{cost, rest.pieces + 1, static_cast<std::uint32_t>(word.length), word.items};
        }
      });
      steps_[i] = best;
    }
    for (std::size_t i = 0; i < stretch.size(); i += steps_[i].length) {
      const Step& step = steps_[i];
      std::u16string_view items = step.items;
      // Bit n: the piece's first n units are a word (统一 in 统一战线).
      std::uint64_t word_ends = 0;
      if (log_.wanted() && step.length > 1) {
        words_.for_each_word_at(stretch.substr(i, step.length), [&](const WordTable::Match& word) {
          word_ends |= 1ull << word.length;
        });
      }
      for (std::size_t k = 0; k < step.length; ++k) {
        const std::size_t offset = out.size();
        if (items.empty()) {
          append_character(out, book_, line, begin + i + k, scratch_);
        } else {
          const std::size_t blank = items.find(u' ');
          out += items.substr(0, blank + 1);
          items.remove_prefix(blank + 1);
        }
        log_.add(out, offset, begin + i + k, (word_ends >> (k + 1) & 1) != 0);
      }
    }
  }

  const CodeBook& book_;
  const WordTable& words_;
  ItemLog log_;
  std::vector<Step> steps_;
  std::u16string scratch_;
};

}  // namespace

void append_line_by_words(std::u16string& out, const CodeBook& book, const WordTable& words,
                          std::u16string_view line, bool tone_sandhi) {
  LineConverter(book, words, tone_sandhi).append(out, line);
}

std::u16string convert_text_by_words(const CodeBook& book, const WordTable& words,
                                     std::u16string_view text, bool tone_sandhi) {
  LineConverter converter(book, words, tone_sandhi);
  return convert_lines(
      text, [&](std::u16string& out, std::u16string_view line) { converter.append(out, line); });
}

std::u16string convert_text_by_words_reference(const CodeBook& book,
                                               const std::vector<WordReading>& words,
                                               const std::vector<WordCount>& counts,
                                               std::u16string_view text, bool tone_sandhi) {
  std::map<std::u16string, std::u16string, std::less<>> readings;
  std::map<std::u16string, std::uint32_t, std::less<>> counted;
  std::size_t longest = 1;
  for (const WordReading& entry : words) {
    if (!fits_word_rules(entry)) continue;
    readings.emplace(entry.word, entry.readings);  // a repeated word keeps its first line
    longest = std::max(longest, entry.word.size());
  }
  for (const WordCount& entry : counts) {
    if (!fits_count_rules(entry)) continue;
    counted.emplace(entry.word, entry.count);
    longest = std::max(longest, entry.word.size());
  }
  std::uint64_t total = 0;
  for (const auto& [word, count] : counted)
    total += count;
  total = std::max<std::uint64_t>(total, 1);
  // The cost of a piece; nothing when it is neither a word nor a single unit.
  const auto cost_of = [&](std::u16string_view piece) -> std::optional<std::uint16_t> {
    const auto count = counted.find(piece);
    if (count != counted.end()) return piece_cost(count->second, total);
    if (piece.size() == 1 || readings.contains(piece)) return piece_cost(1, total);
    return std::nullopt;
  };
  const auto is_word = [&](std::u16string_view piece) {
    return piece.size() > 1 && (readings.contains(piece) || counted.contains(piece));
  };
  return convert_lines(text, [&](std::u16string& out, std::u16string_view line) {
    // cost[i], pieces[i], length[i]: the cheapest cut of line[i..], then the fewest pieces,
    // then the longest first piece.
    std::vector<std::uint64_t> cost(line.size() + 1, 0);
    std::vector<std::size_t> pieces(line.size() + 1, 0);
    std::vector<std::size_t> length(line.size() + 1, 1);
    for (std::size_t i = line.size(); i-- > 0;) {
      cost[i] = UINT64_MAX;
      for (std::size_t n = 1; n <= longest && i + n <= line.size(); ++n) {
        const std::optional<std::uint16_t> piece = cost_of(line.substr(i, n));
        if (!piece) continue;
        const std::uint64_t total_cost = cost[i + n] + *piece;
        if (total_cost < cost[i] || (total_cost == cost[i] && pieces[i + n] + 1 <= pieces[i])) {
          cost[i] = total_cost;
          pieces[i] = pieces[i + n] + 1;
          length[i] = n;
        }
      }
    }
    ItemLog log(tone_sandhi);
    for (std::size_t i = 0; i < line.size();) {
      const auto word = length[i] > 1 ? readings.find(line.substr(i, length[i])) : readings.end();
      if (word == readings.end()) {
        // Each character alone: a rule of the context, else the plain conversion of the one
        // character, less its two line ends. A piece of one unit may be half of a
        // surrogate pair, which converts whole.
        const std::size_t end = i + std::max(length[i], character_length(line, i));
        for (std::size_t at = i; at < end; at += character_length(line, at)) {
          const std::size_t offset = out.size();
          const std::u16string_view in_context = reading_in_context(line, at);
          if (!in_context.empty()) {
            out += in_context;
            out += u' ';
          } else {
            const std::u16string item =
                convert_text(book, line.substr(at, character_length(line, at)), u"拼音");
            out += std::u16string_view(item).substr(0, item.size() - 2 * kLineEnd.size());
          }
          log.add(out, offset, at, is_word(line.substr(i, at + 1 - i)));
        }
        i = end;
        continue;
      }
      std::u16string_view numbered = word->second;
      for (std::size_t k = 0; k < length[i]; ++k) {
        const std::size_t offset = out.size();
        const std::size_t blank = std::min(numbered.find(u' '), numbered.size());
        out += zhuanhuan_py(numbered.substr(0, blank));
        out += u' ';
        numbered.remove_prefix(std::min(blank + 1, numbered.size()));
        log.add(out, offset, i + k, is_word(line.substr(i, k + 1)));
      }
      i += length[i];
    }
    log.apply(out, line, book);
  });
}

}  // namespace zhavik
