#include "core/conversion/word_conversion.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>

#include "core/conversion/batch.h"
#include "core/pinyin/context_readings.h"
#include "core/pinyin/tone_marks.h"
#include "core/pinyin/tone_sandhi.h"
#include "core/text/cp936.h"
#include "core/text/text.h"

namespace zhavik {
namespace {

// A reading with tone marks, as the words and the rules of context give it, in another
// format by way of its numbered key; a reading that is no syllable stays as it is.
std::u16string restyled_reading(std::u16string_view marked, PinyinFormat format) {
  const std::optional<WrittenSyllable> written = read_written_syllable(marked);
  if (!written) return std::u16string(marked);
  std::u16string key = written->syllable;
  key += static_cast<char16_t>(u'0' + (written->tone == 0 ? 5 : written->tone));
  return styled_reading(key, format);
}

// Gives `layout` the characters of a line and their items from `items`, where the word
// conversion wrote them: each followed by one blank, none for the blank U+0020. The readings
// are restyled from their tone marks when another format is asked for.
void give_items(std::u16string_view line, std::u16string_view items, PinyinFormat format,
                std::u16string& styled, ConversionLayout& layout) {
  for (std::size_t i = 0; i < line.size();) {
    ConvertedCharacter character{line.substr(i, character_length(line, i)), {}, false};
    i += character.character.size();
    if (character.character != u" ") {
      const std::size_t blank = items.find(u' ');
      character.item = items.substr(0, blank);
      items.remove_prefix(blank + 1);
      character.converted = !is_marker(character.item);
      if (character.converted && format != PinyinFormat{}) {
        styled = restyled_reading(character.item, format);
        character.item = styled;
      }
    }
    layout.add(character);
  }
}

// The items of one line as they are written, kept for the tone sandhi when it is asked for.
class ItemLog {
 public:
  explicit ItemLog(bool wanted) : wanted_(wanted) {}
  bool wanted() const { return wanted_; }
  void clear() { items_.clear(); }
  // The item written at out[offset..], up to its blank, for the character at `at`; none
  // where nothing was written (the blank U+0020).
  void add(const std::u16string& out, std::size_t offset, std::size_t at, bool ends_word) {
    if (wanted_ && out.size() > offset)
      items_.push_back({offset, out.find(u' ', offset) - offset, at, ends_word});
  }
  void apply(std::u16string& out, std::u16string_view line, const CodeBook& book) const {
    if (wanted_) apply_tone_sandhi(out, line, items_, book);
  }

 private:
  bool wanted_;
  std::vector<LineItem> items_;
};

// The item of a character that no word reads, followed by its blank; nothing for the
// blank U+0020: its reading in context, else its usual one.
void append_character(std::u16string& out, const CodeBook& book, std::u16string_view line,
                      std::size_t at, std::u16string& scratch) {
  const ConvertedCharacter character = character_item(line, at, [&](char16_t unit, std::uint16_t) {
    std::u16string_view item = reading_in_context(line, at);
    if (item.empty()) item = book.first_word(Kind::pinyin, unit, scratch);
    return item.substr(0, item.find(u' '));
  });
  if (character.character == u" ") return;
  out += character.item;
  out += u' ';
}

}  // namespace

class WordConversion::Cutter {
 public:
  Cutter(const CodeBook& book, const WordTable& words, bool tone_sandhi)
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

  // Fills steps[i] with the best cut of text[i..] for every place i, found from the end
  // backwards, over single characters and the words that begin there (only those with
  // readings, if so asked).
  void cut(std::u16string_view text, bool readings_only, std::vector<Step>& steps) const {
    steps.assign(text.size() + 1, Step{0, 0, 0, {}});
    for (std::size_t i = text.size(); i-- > 0;) {
      const Step& after = steps[i + 1];
      Step best{after.cost + words_.character_cost(text[i]), after.pieces + 1, 1, {}};
      // Shortest first, so that a longer word wins a tie.
      words_.for_each_word_at(text.substr(i), [&](const WordTable::Match& word) {
        const Step& rest = steps[i + word.length];
        const std::uint64_t cost = rest.cost + word.cost;
        if ((!readings_only || !word.items.empty()) &&
            (cost < best.cost || (cost == best.cost && rest.pieces + 1 <= best.pieces))) {
          best = Step{cost, rest.pieces + 1, static_cast<std::uint32_t>(word.length), word.items};
        }
      });
      steps[i] = best;
    }
  }

  // A stretch line[begin, end) of units that all occur in words; nothing outside it can
  // change its best cut.
  void append_stretch(std::u16string& out, std::u16string_view line, std::size_t begin,
                      std::size_t end) {
    const std::u16string_view stretch = line.substr(begin, end - begin);
    cut(stretch, false, steps_);
    for (std::size_t i = 0; i < stretch.size(); i += steps_[i].length) {
      const Step& step = steps_[i];
      const std::u16string_view piece = stretch.substr(i, step.length);
      // Bit n: the piece's first n units are a word (统一 in 统一战线).
      std::uint64_t word_ends = 0;
      if (log_.wanted() && piece.size() > 1) {
        words_.for_each_word_at(
            piece, [&](const WordTable::Match& word) { word_ends |= 1ull << word.length; });
      }
      const std::size_t first = out.size();
      if (!step.items.empty() || piece.size() == 1) {
        append_piece(out, line, begin + i, piece.size(), step.items);
      } else {
        // A word known only by its count: its characters read as the words with readings
        // inside it cut it (大儿子: 大 + 儿子 ér zi), each other one alone.
        cut(piece, true, inner_steps_);
        for (std::size_t k = 0; k < piece.size(); k += inner_steps_[k].length)
          append_piece(out, line, begin + i + k, inner_steps_[k].length, inner_steps_[k].items);
      }
      if (log_.wanted()) {
        for (std::size_t k = 0, offset = first; k < piece.size(); ++k) {
          // The piece splits after this character into two words, or ends with it.
          const bool ends_word = k + 1 == piece.size() ? piece.size() > 1
                                                       : (word_ends >> (k + 1) & 1) != 0 &&
                                                             is_word(piece.substr(k + 1));
          log_.add(out, offset, begin + i + k, ends_word);
          offset = out.find(u' ', offset) + 1;
        }
      }
    }
  }

  // Whether the text is a word of the table, of two or more units.
  bool is_word(std::u16string_view text) const {
    bool found = false;
    words_.for_each_word_at(text, [&](const WordTable::Match& word) {
      found = found || (word.length == text.size() && word.length > 1);
    });
    return found;
  }

  // The items of line[at, at + length): the readings of a word, or of each character alone.
  void append_piece(std::u16string& out, std::u16string_view line, std::size_t at,
                    std::size_t length, std::u16string_view items) {
    if (!items.empty()) {
      const std::size_t first = out.size();
      out += items;
      // A rule of the context outranks the few words it names (一行 in 最后一行).
      const std::u16string_view word = line.substr(at, length);
      for (std::size_t k = 0, offset = first; k < length; ++k) {
        const std::size_t blank = out.find(u' ', offset);
        const std::u16string_view ruled = reading_in_context(line, at + k, word);
        if (!ruled.empty()) out.replace(offset, blank - offset, ruled);
        offset = out.find(u' ', offset) + 1;
      }
      return;
    }
    for (std::size_t k = 0; k < length; ++k)
      append_character(out, book_, line, at + k, scratch_);
  }

  const CodeBook& book_;
  const WordTable& words_;
  ItemLog log_;
  std::vector<Step> steps_;
  std::vector<Step> inner_steps_;
  std::u16string scratch_;
};

WordConversion::WordConversion(const CodeBook& book, const WordTable& words, bool tone_sandhi,
                               PinyinFormat format)
    : cutter_(std::make_unique<Cutter>(book, words, tone_sandhi)), format_(format) {}

WordConversion::~WordConversion() = default;

void WordConversion::convert(std::u16string_view line, ConversionLayout& layout) {
  items_.clear();
  cutter_->append(items_, line);
  give_items(line, items_, format_, styled_, layout);
}

std::u16string convert_text_by_words(const CodeBook& book, const WordTable& words,
                                     std::u16string_view text, bool tone_sandhi) {
  WordConversion conversion(book, words, tone_sandhi);
  return convert_whole_text(conversion, text, TextLayout::window);
}

WordConversionReference::WordConversionReference(const CodeBook& book,
                                                 const std::vector<WordReading>& words,
                                                 const std::vector<WordCount>& counts,
                                                 bool tone_sandhi)
    : book_(book), tone_sandhi_(tone_sandhi) {
  for (const WordReading& entry : words) {
    if (!fits_word_rules(entry)) continue;
    readings_.emplace(entry.word, entry.readings);  // a repeated word keeps its first line
    longest_ = std::max(longest_, entry.word.size());
  }
  for (const WordCount& entry : counts) {
    if (!fits_count_rules(entry)) continue;
    counted_.emplace(entry.word, entry.count);
    longest_ = std::max(longest_, entry.word.size());
  }
  std::uint64_t total = 0;
  for (const auto& [word, count] : counted_)
    total += count;
  total_ = std::max<std::uint64_t>(total, 1);
}

void WordConversionReference::convert(std::u16string_view line, ConversionLayout& layout) {
  const CodeBook& book = book_;
  const auto& readings = readings_;
  const auto& counted = counted_;
  const std::size_t longest = longest_;
  const std::uint64_t total = total_;
  std::u16string& out = items_;
  out.clear();
  // The cost of a piece; nothing when it is neither a word nor a single unit.
  const auto cost_of = [&](std::u16string_view piece) -> std::optional<std::uint16_t> {
    const auto count = counted.find(piece);
    const std::uint64_t n = count != counted.end() ? count->second : 1;
    if (piece.size() == 1) return single_character_cost(n, total);
    if (count != counted.end() || readings.contains(piece)) return piece_cost(n, total);
    return std::nullopt;
  };
  const auto is_word = [&](std::u16string_view piece) {
    return piece.size() > 1 && (readings.contains(piece) || counted.contains(piece));
  };
  // The lengths of the pieces of the best cut of a text: the cheapest, then the fewest
  // pieces, then the longest first piece; over all words or those with readings only.
  const auto cut = [&](std::u16string_view text, bool readings_only) {
    std::vector<std::uint64_t> cost(text.size() + 1, 0);
    std::vector<std::size_t> pieces(text.size() + 1, 0);
    std::vector<std::size_t> length(text.size() + 1, 1);
    for (std::size_t i = text.size(); i-- > 0;) {
      cost[i] = UINT64_MAX;
      for (std::size_t n = 1; n <= longest && i + n <= text.size(); ++n) {
        const std::u16string_view piece = text.substr(i, n);
        const std::optional<std::uint16_t> piece_cost = cost_of(piece);
        if (!piece_cost || (readings_only && n > 1 && !readings.contains(piece))) continue;
        const std::uint64_t total_cost = cost[i + n] + *piece_cost;
        if (total_cost < cost[i] || (total_cost == cost[i] && pieces[i + n] + 1 <= pieces[i])) {
          cost[i] = total_cost;
          pieces[i] = pieces[i + n] + 1;
          length[i] = n;
        }
      }
    }
    std::vector<std::size_t> lengths;
    for (std::size_t i = 0; i < text.size(); i += length[i])
      lengths.push_back(length[i]);
    return lengths;
  };
  ItemLog log(tone_sandhi_);
  std::vector<std::size_t> piece_ends;  // where each piece of the cut of the line ends
  // Whether the piece that starts at `start` splits after line[at] into two words, or
  // ends with it.
  const auto ends_word = [&](std::size_t start, std::size_t at) {
    const std::size_t end = *std::upper_bound(piece_ends.begin(), piece_ends.end(), at);
    if (at + 1 == end) return end - start > 1;
    return is_word(line.substr(start, at + 1 - start)) &&
           is_word(line.substr(at + 1, end - at - 1));
  };
  // Writes line[at, at + n) as a word with readings, or else each character alone: a rule
  // of the context, else the plain conversion of the one character, less its two line
  // ends. A piece of one unit may be half of a surrogate pair, which converts whole.
  const auto write = [&](std::size_t word_start, std::size_t at, std::size_t n) {
    const auto word = n > 1 ? readings.find(line.substr(at, n)) : readings.end();
    std::u16string_view numbered;
    if (word != readings.end()) numbered = word->second;
    const std::size_t end = at + std::max(n, character_length(line, at));
    for (std::size_t k = at; k < end; k += character_length(line, k)) {
      const std::size_t offset = out.size();
      const std::u16string_view in_context =
          reading_in_context(line, k, word != readings.end() ? line.substr(at, n) : u"");
      if (word != readings.end()) {
        const std::size_t blank = std::min(numbered.find(u' '), numbered.size());
        out += in_context.empty() ? zhuanhuan_py(numbered.substr(0, blank))
                                  : std::u16string(in_context);
        out += u' ';
        numbered.remove_prefix(std::min(blank + 1, numbered.size()));
      } else if (!in_context.empty()) {
        out += in_context;
        out += u' ';
      } else {
        const std::u16string item =
            convert_text(book, line.substr(k, character_length(line, k)), Kind::pinyin);
        out += std::u16string_view(item).substr(0, item.size() - 4);
      }
      log.add(out, offset, k, ends_word(word_start, k));
    }
    return end;
  };
  const std::vector<std::size_t> pieces = cut(line, false);
  for (std::size_t end = 0; const std::size_t n : pieces)
    piece_ends.push_back(end += n);
  std::size_t next = 0;
  std::size_t done = 0;  // the end of what is written, past a piece of a surrogate pair
  for (const std::size_t n : pieces) {
    const std::size_t at = next;
    next += n;
    if (at < done) continue;  // the second half of a pair, written with the first
    const std::u16string_view piece = line.substr(at, n);
    if (n == 1 || readings.contains(piece)) {
      done = write(at, at, n);
    } else {
      // A word known only by its count: cut again by the words with readings.
      for (std::size_t k = at; const std::size_t inner : cut(piece, true))
        k = write(at, k, inner);
    }
  }
  log.apply(out, line, book);
  std::u16string styled;
  give_items(line, out, PinyinFormat{}, styled, layout);
}

std::u16string convert_text_by_words_reference(const CodeBook& book,
                                               const std::vector<WordReading>& words,
                                               const std::vector<WordCount>& counts,
                                               std::u16string_view text, bool tone_sandhi) {
  WordConversionReference conversion(book, words, counts, tone_sandhi);
  return convert_whole_text(conversion, text, TextLayout::window);
}

}  // namespace zhavik
