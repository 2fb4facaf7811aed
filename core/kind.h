#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace zhavik {

// The four kinds of code, always asked in this order where several are asked.
enum class Kind { pinyin, wubi86, wubi98, quwei };

inline constexpr std::array<Kind, 4> kAllKinds = {Kind::pinyin, Kind::wubi86, Kind::wubi98,
                                                  Kind::quwei};

// "拼音", "86五笔", "98五笔", "区位": the texts the window and the lookup speak in.
std::u16string_view kind_text(Kind kind);
std::optional<Kind> kind_from_text(std::u16string_view text);

// Answers that are markers rather than codes.
inline constexpr std::u16string_view kMissing = u"暂缺";
inline constexpr std::u16string_view kNotChinese = u"不是汉字";

}  // namespace zhavik
