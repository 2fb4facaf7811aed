#include "core/pinyin_style.h"

#include "core/text.h"
#include "core/tone_marks.h"

namespace zhavik {
namespace {

bool is_tone_digit(char16_t unit) {
  return unit >= u'1' && unit <= u'5';
}

struct MarkedLetter {
  char16_t marked;
  char16_t plain;
  int tone;
};

// Precomposed letters with a tone mark; the combining marks below cover the rest (m̄, ň̄…).
constexpr MarkedLetter kMarkedLetters[] = {
    {u'ā', u'a', 1}, {u'á', u'a', 2}, {u'ǎ', u'a', 3}, {u'à', u'a', 4}, {u'ō', u'o', 1},
    {u'ó', u'o', 2}, {u'ǒ', u'o', 3}, {u'ò', u'o', 4}, {u'ē', u'e', 1}, {u'é', u'e', 2},
    {u'ě', u'e', 3}, {u'è', u'e', 4}, {u'ī', u'i', 1}, {u'í', u'i', 2}, {u'ǐ', u'i', 3},
    {u'ì', u'i', 4}, {u'ū', u'u', 1}, {u'ú', u'u', 2}, {u'ǔ', u'u', 3}, {u'ù', u'u', 4},
    {u'ǖ', u'ü', 1}, {u'ǘ', u'ü', 2}, {u'ǚ', u'ü', 3}, {u'ǜ', u'ü', 4}, {u'ḿ', u'm', 2},
    {u'ń', u'n', 2}, {u'ň', u'n', 3}, {u'ǹ', u'n', 4}};

int combining_mark_tone(char16_t unit) {
  switch (unit) {
    case u'\x0304':
      return 1;
    case u'\x0301':
      return 2;
    case u'\x030C':
      return 3;
    case u'\x0300':
      return 4;
    default:
      return 0;
  }
}

char16_t pinyin_lower_case(char16_t unit) {
  return unit == u'Ü' ? u'ü' : ascii_lower(unit);
}

}  // namespace

std::u16string pinyin_lower_case(std::u16string_view text) {
  std::u16string lower(text);
  for (char16_t& unit : lower)
    unit = pinyin_lower_case(unit);
  return lower;
}

std::u16string styled_reading(std::u16string_view numbered_key, PinyinStyle style) {
  switch (style) {
    case PinyinStyle::marks:
      return zhuanhuan_py(numbered_key);
    case PinyinStyle::numbers:
      return std::u16string(numbered_key);
    case PinyinStyle::none:
      if (!numbered_key.empty() && is_tone_digit(numbered_key.back())) {
        numbered_key.remove_suffix(1);
      }
      return std::u16string(numbered_key);
  }
  return {};
}

std::optional<WrittenSyllable> read_written_syllable(std::u16string_view text) {
  WrittenSyllable written;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = pinyin_lower_case(text[i]);
    int tone = combining_mark_tone(unit);
    if (is_tone_digit(unit) && i + 1 == text.size()) tone = unit - u'0';
    for (const MarkedLetter& letter : kMarkedLetters) {
      if (letter.marked == unit) {
        written.syllable += letter.plain;
        tone = letter.tone;
      }
    }
    if (tone != 0) {
      if (written.tone != 0 || written.syllable.empty()) return std::nullopt;
      written.tone = tone;
    } else if (unit == u'v' || unit == u'ü') {
      written.syllable += u'ü';
    } else if (unit >= u'a' && unit <= u'z') {
      written.syllable += unit;
    } else {
      return std::nullopt;
    }
  }
  if (written.syllable.empty()) return std::nullopt;
  return written;
}

}  // namespace zhavik
