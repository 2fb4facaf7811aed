#include "core/word_conversion.h"

#include <cstdint>
#include <map>

#include "core/batch.h"
#include "core/cp936.h"
#include "core/text.h"
#include "core/tone_marks.h"

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

class LineConverter {
 public:
  LineConverter(const CodeBook& book, const WordTable& words) : book_(book), words_(words) {}

  void append(std::u16string& out, std::u16string_view line) {
    for (std::size_t i = 0; i < line.size();) {
      std::size_t end = i;
      while (end < line.size() && words_.in_some_word(line[end]))
        ++end;
      if (end > i) {
        append_stretch(out, line.substr(i, end - i));
      } else {
        end = i + character_length(line, i);
        append_character(out, line.substr(i, end - i));
      }
      i = end;
    }
  }

 private:
  // The best cut of the rest of a stretch from one place on: how many pieces, and the first.
  struct Step {
    std::uint32_t pieces;
    std::uint32_t length;
    std::u16string_view items;
  };

  // A stretch of units that all occur in words; nothing outside it can change its best cut,
  // which is found from its end backwards.
  void append_stretch(std::u16string& out, std::u16string_view stretch) {
    steps_.assign(stretch.size() + 1, Step{0, 0, {}});
    for (std::size_t i = stretch.size(); i-- > 0;) {
      Step best{steps_[i + 1].pieces + 1, 1, {}};
      // Shortest first, so that a longer word wins a tie.
      words_.for_each_word_at(stretch.substr(i), [&](const WordTable::Match& word) {
        const std::uint32_t pieces = steps_[i + word.length].pieces + 1;
        if (pieces <= best.pieces) {
          best = Step{pieces, static_cast<std::uint32_t>(word.length), word.items};
        }
      });
      steps_[i] = best;
    }
    for (std::size_t i = 0; i < stretch.size(); i += steps_[i].length) {
      if (steps_[i].length == 1) {
        append_character(out, stretch.substr(i, 1));
      } else {
        out += steps_[i].items;
      }
    }
  }

  void append_character(std::u16string& out, std::u16string_view character) {
    if (character == u" ") return;
    if (cp936_double_byte(code_point_at(character, 0)) == 0) {
      out += u"### ";
      return;
    }
    // Every character with a two-byte code is a single code unit.
    std::u16string_view answer = book_.first_word(Kind::pinyin, character[0], scratch_);
    out += answer.substr(0, answer.find(u' '));
    out += u' ';
  }

  const CodeBook& book_;
  const WordTable& words_;
  std::vector<Step> steps_;
  std::u16string scratch_;
};

}  // namespace

void append_line_by_words(std::u16string& out, const CodeBook& book, const WordTable& words,
                          std::u16string_view line) {
  LineConverter(book, words).append(out, line);
}

std::u16string convert_text_by_words(const CodeBook& book, const WordTable& words,
                                     std::u16string_view text) {
  LineConverter converter(book, words);
  return convert_lines(
      text, [&](std::u16string& out, std::u16string_view line) { converter.append(out, line); });
}

std::u16string convert_text_by_words_reference(const CodeBook& book,
                                               const std::vector<WordReading>& words,
                                               std::u16string_view text) {
  std::map<std::u16string, std::u16string, std::less<>> readings;
  std::size_t longest = 0;
  for (const WordReading& entry : words) {
    if (!fits_word_rules(entry)) continue;
    readings.emplace(entry.word, entry.readings);  // a repeated word keeps its first line
    longest = std::max(longest, entry.word.size());
  }
  return convert_lines(text, [&](std::u16string& out, std::u16string_view line) {
    // pieces[i], length[i]: the fewest pieces that cut line[i..], and the first of them.
    std::vector<std::size_t> pieces(line.size() + 1, 0);
    std::vector<std::size_t> length(line.size() + 1, 1);
    for (std::size_t i = line.size(); i-- > 0;) {
      pieces[i] = pieces[i + 1] + 1;
      for (std::size_t n = 2; n <= longest && i + n <= line.size(); ++n) {
        if (readings.contains(line.substr(i, n)) && pieces[i + n] + 1 <= pieces[i]) {
          pieces[i] = pieces[i + n] + 1;
          length[i] = n;
        }
      }
    }
    for (std::size_t i = 0; i < line.size();) {
      if (length[i] > 1) {
        const std::u16string_view numbered = readings.find(line.substr(i, length[i]))->second;
        for (std::size_t begin = 0;;) {
          const std::size_t blank = numbered.find(u' ', begin);
          out += zhuanhuan_py(numbered.substr(begin, blank - begin));
          out += u' ';
          if (blank == std::u16string_view::npos) break;
          begin = blank + 1;
        }
        i += length[i];
      } else {
        // The plain conversion of the one character, less its two line ends.
        const std::size_t n = character_length(line, i);
        const std::u16string item = convert_text(book, line.substr(i, n), Kind::pinyin);
        out += std::u16string_view(item).substr(0, item.size() - 2 * kLineEnd.size());
        i += n;
      }
    }
  });
}

}  // namespace zhavik
