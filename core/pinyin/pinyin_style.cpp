#include "core/pinyin/pinyin_style.h"

#include "core/pinyin/tone_marks.h"
#include "core/text/text.h"

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

struct SyllableAndTone {
  std::u16string_view syllable;
  int tone;  // 1 to 5, or 0 for a key without a tone digit
};

SyllableAndTone split_tone(std::u16string_view key) {
  if (key.empty() || !is_tone_digit(key.back())) return {key, 0};
  return {key.substr(0, key.size() - 1), key.back() - u'0'};
}

std::u16string spelt(std::u16string_view letters, UmlautSpelling umlaut) {
  std::u16string result(letters);
  if (umlaut == UmlautSpelling::v) {
    for (char16_t& unit : result) {
      if (unit == u'ü') unit = u'v';
    }
  }
  return result;
}

struct Symbols {
  std::u16string_view pinyin;
  std::u16string_view zhuyin;
};

// The scheme's initials, the two-letter ones first so that zh is not read as z.
constexpr Symbols kInitials[] = {
    {u"zh", u"ㄓ"}, {u"ch", u"ㄔ"}, {u"sh", u"ㄕ"}, {u"b", u"ㄅ"}, {u"p", u"ㄆ"}, {u"m", u"ㄇ"},
    {u"f", u"ㄈ"},  {u"d", u"ㄉ"},  {u"t", u"ㄊ"},  {u"n", u"ㄋ"}, {u"l", u"ㄌ"}, {u"g", u"ㄍ"},
    {u"k", u"ㄎ"},  {u"h", u"ㄏ"},  {u"j", u"ㄐ"},  {u"q", u"ㄑ"}, {u"x", u"ㄒ"}, {u"r", u"ㄖ"},
    {u"z", u"ㄗ"},  {u"c", u"ㄘ"},  {u"s", u"ㄙ"}};

// The finals in full (iou, uei, uen and ü, as y, w and j q x spell them away) and as they
// stand after an initial (iu, ui, un), with the nasals m, n, ng that stand alone or after h.
constexpr Symbols kFinals[] = {
    {u"a", u"ㄚ"},      {u"o", u"ㄛ"},      {u"e", u"ㄜ"},     {u"ê", u"ㄝ"},
    {u"ai", u"ㄞ"},     {u"ei", u"ㄟ"},     {u"ao", u"ㄠ"},    {u"ou", u"ㄡ"},
    {u"an", u"ㄢ"},     {u"en", u"ㄣ"},     {u"ang", u"ㄤ"},   {u"eng", u"ㄥ"},
    {u"ong", u"ㄨㄥ"},  {u"er", u"ㄦ"},     {u"i", u"ㄧ"},     {u"ia", u"ㄧㄚ"},
    {u"io", u"ㄧㄛ"},   {u"ie", u"ㄧㄝ"},   {u"iao", u"ㄧㄠ"}, {u"iou", u"ㄧㄡ"},
    {u"iu", u"ㄧㄡ"},   {u"ian", u"ㄧㄢ"},  {u"in", u"ㄧㄣ"},  {u"iang", u"ㄧㄤ"},
    {u"ing", u"ㄧㄥ"},  {u"iong", u"ㄩㄥ"}, {u"u", u"ㄨ"},     {u"ua", u"ㄨㄚ"},
    {u"uo", u"ㄨㄛ"},   {u"uai", u"ㄨㄞ"},  {u"uei", u"ㄨㄟ"}, {u"ui", u"ㄨㄟ"},
    {u"uan", u"ㄨㄢ"},  {u"uen", u"ㄨㄣ"},  {u"un", u"ㄨㄣ"},  {u"uang", u"ㄨㄤ"},
    {u"ueng", u"ㄨㄥ"}, {u"ü", u"ㄩ"},      {u"üe", u"ㄩㄝ"},  {u"üan", u"ㄩㄢ"},
    {u"ün", u"ㄩㄣ"},   {u"m", u"ㄇ"},      {u"n", u"ㄋ"},     {u"ng", u"ㄫ"}};

// The initials whose syllable with i has no vowel symbol in zhuyin: zhi is ㄓ alone.
constexpr std::u16string_view kInitialsBeforeBuzzedI[] = {u"zh", u"ch", u"sh", u"r",
                                                          u"z",  u"c",  u"s"};

struct SyllableParts {
  Symbols initial;  // empty for a syllable without one
  std::u16string_view final_zhuyin;
};

// Splits a syllable without its tone into initial and final; nothing for letters that are
// no syllable of the scheme.
std::optional<SyllableParts> split_syllable(std::u16string_view syllable) {
  SyllableParts parts{};
  // The syllabic nasals are finals of their own, not the initials m and n.
  if (syllable != u"m" && syllable != u"n" && syllable != u"ng") {
    for (const Symbols& initial : kInitials) {
      if (syllable.starts_with(initial.pinyin)) {
        parts.initial = initial;
        break;
      }
    }
  }
  std::u16string_view rest = syllable.substr(parts.initial.pinyin.size());
  std::u16string final;
  if (parts.initial.pinyin.empty() && (rest.starts_with(u'y') || rest.starts_with(u'w'))) {
    // Without an initial, y and w write the finals that begin with i, u or ü: yi yin ying,
    // ya you yong (i + a, ou, ong), yu yue yuan yun (ü), wu, wa wei wen (u + a, ei, en).
    const char16_t glide = rest[0] == u'y' ? u'i' : u'u';
    rest.remove_prefix(1);
    if (rest.empty()) return std::nullopt;
    if (glide == u'i' && rest[0] == u'u') {
      final = u"ü";
      rest.remove_prefix(1);
    } else if (rest[0] != glide) {
      final = glide;
    }
  } else if ((parts.initial.pinyin == u"j" || parts.initial.pinyin == u"q" ||
              parts.initial.pinyin == u"x") &&
             rest.starts_with(u'u')) {
    final = u"ü";  // ju, que, xuan, jun: the dots are left off after j, q and x
    rest.remove_prefix(1);
  }
  final += rest;
  if (final == u"i") {
    for (const std::u16string_view initial : kInitialsBeforeBuzzedI) {
      if (parts.initial.pinyin == initial) return parts;
    }
  }
  for (const Symbols& symbols : kFinals) {
    if (symbols.pinyin == final) {
      parts.final_zhuyin = symbols.zhuyin;
      return parts;
    }
  }
  return std::nullopt;
}

std::u16string zhuyin_with_tone(const SyllableParts& parts, int tone) {
  std::u16string result;
  if (tone == 5) result += u'˙';
  result += parts.initial.zhuyin;
  result += parts.final_zhuyin;
  if (tone == 2) result += u'ˊ';
  if (tone == 3) result += u'ˇ';
  if (tone == 4) result += u'ˋ';
  return result;
}

}  // namespace

std::u16string pinyin_lower_case(std::u16string_view text) {
  std::u16string lower(text);
  for (char16_t& unit : lower)
    unit = pinyin_lower_case(unit);
  return lower;
}

std::u16string styled_reading(std::u16string_view numbered_key, PinyinFormat format) {
  const auto [syllable, tone] = split_tone(numbered_key);
  switch (format.style) {
    case PinyinStyle::marks:
      return zhuanhuan_py(numbered_key);
    case PinyinStyle::numbers:
      return spelt(numbered_key, format.umlaut);
    case PinyinStyle::none:
      return spelt(syllable, format.umlaut);
    case PinyinStyle::initials:
      if (const std::optional<SyllableParts> parts = split_syllable(syllable)) {
        return std::u16string(parts->initial.pinyin);
      }
      return std::u16string(numbered_key);
    case PinyinStyle::first:
      return std::u16string(syllable.substr(0, 1));
    case PinyinStyle::zhuyin:
      if (const std::optional<SyllableParts> parts = split_syllable(syllable)) {
        return zhuyin_with_tone(*parts, tone);
      }
      return std::u16string(numbered_key);
  }
  return {};
}

std::optional<PinyinStyle> pinyin_style_named(std::string_view name) {
  for (const PinyinStyleName& entry : kPinyinStyleNames) {
    if (entry.name == name) return entry.style;
  }
  return std::nullopt;
}

std::string pinyin_style_names() {
  std::string names;
  for (const PinyinStyleName& entry : kPinyinStyleNames) {
    if (!names.empty()) names += ", ";
    names += entry.name;
  }
  return names;
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
