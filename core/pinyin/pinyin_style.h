#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zhavik {

// How a reading is written. Every style is made from the dictionary's numbered key (zhong1,
// lü4, ng2, hm5: the syllable, ü as ü, then the tone 1 to 5, 5 the neutral tone):
//   marks     zhōng  lǜ   ńg   the window's way (zhuanhuan_py)
//   numbers   zhong1 lü4  ng2  the key itself
//   none      zhong  lü   ng   the key without its tone
//   initials  zh     l    ""   the initial (声母) of the Hanyu Pinyin scheme, see below
//   first     z      l    n    the first letter of the syllable
//   zhuyin    ㄓㄨㄥ  ㄌㄩˋ  ㄫˊ  注音符號 as Taiwan's textbooks write them, see below
//
// Initials are the scheme's 21: b p m f d t n l g k h j q x zh ch sh r z c s. The y and w of
// yi, wu, yu are spelling, not initials, so those syllables have none, like a, e, er and the
// syllabic nasals m, n, ng: their initial is empty. An empty item says what the syllable
// has, as the zhuyin of the same syllable (ㄧ, ㄨ, ㄩ) does; the first letter is what the
// first style is for. hm and hng have the initial h (ㄏㄇ, ㄏㄫ).
//
// Zhuyin leaves the first tone unmarked, follows the syllable with ˊ ˇ ˋ for the second to
// fourth, and writes the neutral tone's ˙ before it (˙ㄉㄜ). The -i of zhi chi shi ri zi ci
// si has no symbol (ㄓ), ü is ㄩ (ju ㄐㄩ, yue ㄩㄝ), ong is ㄨㄥ and iong ㄩㄥ, er is ㄦ and
// ê is ㄝ; the syllabic nasals are ㄇ, ㄋ and ㄫ (the letter for ng), hm ㄏㄇ and hng ㄏㄫ.
//
// In initials and zhuyin, a key that is no syllable of the scheme comes back as it is, so
// that nothing is lost or made up.
enum class PinyinStyle { marks, numbers, none, initials, first, zhuyin };

// How ü is written where the letters of the syllable are written out (numbers and none): as
// ü, or as v (lv4), as typists and older systems expect. Tone marks keep ǜ, which has no v form.
enum class UmlautSpelling { u_umlaut, v };

struct PinyinFormat {
  // A style alone writes ü as ü, so that a PinyinStyle stands wherever a format is asked.
  constexpr PinyinFormat(PinyinStyle style = PinyinStyle::marks,
                         UmlautSpelling umlaut = UmlautSpelling::u_umlaut)
      : style(style), umlaut(umlaut) {}
  friend bool operator==(const PinyinFormat&, const PinyinFormat&) = default;

  PinyinStyle style;
  UmlautSpelling umlaut;
};

// Whether the style writes ü as a letter, where UmlautSpelling::v makes a difference.
constexpr bool spells_umlaut(PinyinStyle style) {
  return style == PinyinStyle::numbers || style == PinyinStyle::none;
}

// One numbered key of the dictionary (zhong1) in a format.
std::u16string styled_reading(std::u16string_view numbered_key, PinyinFormat format);

// The styles by the names the command line takes, in the order they are offered.
struct PinyinStyleName {
  std::string_view name;
  PinyinStyle style;
};
inline constexpr PinyinStyleName kPinyinStyleNames[] = {
    {"marks", PinyinStyle::marks}, {"numbers", PinyinStyle::numbers},
    {"none", PinyinStyle::none},   {"initials", PinyinStyle::initials},
    {"first", PinyinStyle::first}, {"zhuyin", PinyinStyle::zhuyin}};

std::optional<PinyinStyle> pinyin_style_named(std::string_view name);

// "marks, numbers, none, initials, first, zhuyin": what a message about a wrong name offers.
std::string pinyin_style_names();

// Pinyin letters in lower case, as the dictionary spells them: A to Z and Ü.
std::u16string pinyin_lower_case(std::u16string_view text);

// A syllable as a user writes it: zhong, zhong1, zhōng, Zhong, lü4, lv4 or lǜ. The syllable
// comes back in the dictionary's spelling (lower case, ü) with its tone 1 to 5, or 0 when no
// tone was given; nothing when the text holds anything but letters and one tone.
struct WrittenSyllable {
  std::u16string syllable;
  int tone = 0;
};
std::optional<WrittenSyllable> read_written_syllable(std::u16string_view text);

}  // namespace zhavik
