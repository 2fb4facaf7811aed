#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace zhavik {

// The kinds of code, in the order in which they are always asked where several are asked.
// Each is described once, by its row of kKinds below; the loading, the indexes, the lookups,
// the conversions and the command line all work from those rows. A further table in the
// format of the Wubi files is thus one more value here, one more row below, and its file.
enum class Kind { pinyin, wubi86, wubi98, quwei };

// What an answer of a kind is made of, which also says where it comes from.
enum class AnswerShape {
  readings,       // pinyin readings, from a file in the pinyin file's format
  codes,          // input codes, from a file in the Wubi files' format
  area_position,  // the GB2312 area/position code, from the character's code page 936 bytes
};

struct KindRow {
  Kind kind;
  std::u16string_view text;  // the window's and the lookup's name: "拼音"
  std::string_view name;     // the command line's and JSON's name: "pinyin"
  AnswerShape shape;
  const char* file;  // under the program's folder; null for a kind that reads no file
};

// The files are plain text in code page 936 despite their extension; dictionary_texts.h
// describes their format.
inline constexpr std::array<KindRow, 4> kKinds = {{
    {Kind::pinyin, u"拼音", "pinyin", AnswerShape::readings, "img/3.jpg"},
    {Kind::wubi86, u"86五笔", "wubi86", AnswerShape::codes, "img/1.jpg"},
    {Kind::wubi98, u"98五笔", "wubi98", AnswerShape::codes, "img/2.jpg"},
    {Kind::quwei, u"区位", "quwei", AnswerShape::area_position, nullptr},
}};

inline constexpr std::size_t kKindCount = kKinds.size();

constexpr std::size_t index_of(Kind kind) {
  return static_cast<std::size_t>(kind);
}

constexpr const KindRow& row_of(Kind kind) {
  return kKinds[index_of(kind)];
}

// Every kind, in order.
inline constexpr std::array<Kind, kKindCount> kAllKinds = [] {
  std::array<Kind, kKindCount> kinds{};
  for (std::size_t i = 0; i < kKindCount; ++i)
    kinds[i] = kKinds[i].kind;
  return kinds;
}();

// The kinds the window shows, whatever kinds there are: its four result boxes Text1(1..4)
// and its four batch buttons Command6(0..3), in this order.
inline constexpr std::array<Kind, 4> kWindowKinds = {Kind::pinyin, Kind::wubi86, Kind::wubi98,
                                                     Kind::quwei};

constexpr std::u16string_view kind_text(Kind kind) {
  return row_of(kind).text;
}

constexpr AnswerShape shape_of(Kind kind) {
  return row_of(kind).shape;
}

// The kind named by its text ("拼音") or its command-line name ("pinyin").
std::optional<Kind> kind_from_text(std::u16string_view text);
std::optional<Kind> kind_from_name(std::string_view name);

}  // namespace zhavik
