#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "core/dictionary/answer.h"
#include "core/text/cp936.h"
#include "core/text/text.h"

namespace zhavik {

// Every conversion of a text, in the window and at the command line, goes the same way: a
// conversion tells what each character of a line becomes (its item), and a layout writes the
// items and the line ends out. ConversionPipeline cuts a text that may arrive in pieces into
// lines for them.

// One character of a line and its item.
struct ConvertedCharacter {
  std::u16string_view character;  // its code units: two for a surrogate pair
  // Nothing for the blank U+0020; else never empty, but for a syllable without an initial
  // in the initials style, whose empty item still takes its place among the items.
  std::u16string_view item;
  bool converted = false;  // the item is a reading or a code, not a marker
};

inline constexpr std::u16string_view kNotConverted = u"###";

// Whether an item is one of the two markers, "###" and "暂缺", rather than a reading or code.
inline bool is_marker(std::u16string_view item) {
  return item == kNotConverted || item == kMissing;
}

// The item of the character that begins line[at]: nothing for the blank U+0020, "###" for a
// character that code page 936 does not write with two bytes (ASCII, a control, a lone
// surrogate, anything beyond the Basic Multilingual Plane), else first_word_of(unit, code):
// its first reading or code, or "暂缺" for a character the dictionary lacks. Every character
// with a two-byte code is a single code unit.
template <class FirstWordOf>
ConvertedCharacter character_item(std::u16string_view line, std::size_t at,
                                  FirstWordOf&& first_word_of) {
  const std::u16string_view character = line.substr(at, character_length(line, at));
  if (line[at] == u' ') return {character, {}, false};
  const std::uint16_t code = cp936_double_byte(code_point_at(line, at));
  if (code == 0) return {character, kNotConverted, false};
  const std::u16string_view item = first_word_of(line[at], code);
  return {character, item, !is_marker(item)};
}

// Where the items of a conversion go: a text in one of the layouts below, or a page.
class ConversionLayout {
 public:
  virtual ~ConversionLayout() = default;
  // Whether only CR LF ends a line (the window's text, where a lone LF is a character of
  // its line); else LF does, with or without a CR before it.
  virtual bool ends_lines_at_crlf_only() const = 0;
  // The characters of a line, in order, every one of them; a line may come in pieces.
  virtual void add(const ConvertedCharacter& character) = 0;
  // The end of a line: "\r\n", or "\n" where LF alone ends lines.
  virtual void end_line(std::u16string_view line_end) = 0;
  // After the last line, which has no end_line if the text does not end with a line end.
  virtual void finish() = 0;
};

// What a conversion makes of the characters of a line.
class CharacterConversion {
 public:
  virtual ~CharacterConversion() = default;
  // Gives `layout` every character of `line` (a line or a piece of one, without its line
  // end) with its item, in order.
  virtual void convert(std::u16string_view line, ConversionLayout& layout) = 0;
};

// The conversion of each character alone: the item rule above with `first_word_of`.
template <class FirstWordOf>
class CharacterByCharacter final : public CharacterConversion {
 public:
  explicit CharacterByCharacter(FirstWordOf first_word_of)
      : first_word_of_(std::move(first_word_of)) {}

  void convert(std::u16string_view line, ConversionLayout& layout) override {
    for (std::size_t i = 0; i < line.size();) {
      const ConvertedCharacter character = character_item(line, i, first_word_of_);
      layout.add(character);
      i += character.character.size();
    }
  }

 private:
  FirstWordOf first_word_of_;
};

// Cuts a text that arrives in pieces into lines, by the layout's line ends, and converts
// them. Memory stays bounded however long a line is: a line longer than `longest_piece`
// code units is converted in pieces of about that length (a conversion that looks beyond
// one character then sees the pieces apart), never between a CR and its LF or within a
// surrogate pair. A conversion of each character alone may take 0, so that everything but
// such a last unit goes out at once.
class ConversionPipeline {
 public:
  static constexpr std::size_t kLongestPiece = 64 * 1024;
  static constexpr std::size_t kWholeLines = std::u16string_view::npos;

  ConversionPipeline(CharacterConversion& conversion, ConversionLayout& layout,
                     std::size_t longest_piece = kLongestPiece)
      : conversion_(conversion), layout_(layout), longest_piece_(longest_piece) {}

  void feed(std::u16string_view text);
  void finish();

 private:
  CharacterConversion& conversion_;
  ConversionLayout& layout_;
  std::size_t longest_piece_;
  std::u16string pending_;  // the start of a line whose end has not come yet
};

// The layouts of a converted text.
enum class TextLayout {
  // The window's batch view: each item followed by a blank, CR LF the only line end and
  // written after every line, and one more after a text without any.
  window,
  // The command line's: the items of a line separated by single blanks, each line ending
  // as the input's (LF or CR LF), a last line without an end left so.
  command_line,
  // The command line's, with every character that is not converted written as it stands:
  // each character of two bytes in code page 936 (a Chinese character, a full-width mark or
  // letter) is an item, its reading or code or, where the dictionary lacks it, itself; the
  // rest (ASCII, other symbols, the blank) is text. A blank goes between an item and whatever
  // touches it in the text, unless that is a blank, a tab or the ideographic space.
  keep,
};

// A layout that appends the converted text to `out`, which the caller may write away and
// empty between calls.
class TextLayoutWriter final : public ConversionLayout {
 public:
  TextLayoutWriter(TextLayout layout, std::u16string& out) : layout_(layout), out_(out) {}

  bool ends_lines_at_crlf_only() const override { return layout_ == TextLayout::window; }
  void add(const ConvertedCharacter& character) override;
  void end_line(std::u16string_view line_end) override;
  void finish() override;

 private:
  // What the line's output ends with so far, for the blanks between items.
  enum class Last { nothing, space, text, item };

  TextLayout layout_;
  std::u16string& out_;
  Last last_ = Last::nothing;
  bool has_line_end_ = false;
};

// A whole text converted in one layout.
std::u16string convert_whole_text(CharacterConversion& conversion, std::u16string_view text,
                                  TextLayout layout);

}  // namespace zhavik
