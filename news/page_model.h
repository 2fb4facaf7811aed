#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The news page reduced to what the strip shows: plain text in a few styles, and the first
// marquee's text and attributes. Anyone on the network path can change the page, so no
// structure of it ever reaches a widget: the reduction reads it once, front to back, and
// keeps at most the bounds below whatever the page holds. Pure C++, no Qt.
namespace zhavik::news {

struct PageLimits {
  // Elements read; the rest of the page is ignored.
  static constexpr std::size_t kMostElements = 20'000;
  // Open styling elements (b, i, font, ...) kept track of; deeper ones are read as text only.
  static constexpr std::size_t kMostDepth = 32;
  // Characters of the still text and of the marquee's text: far more than a strip shows.
  static constexpr std::size_t kMostStillText = 4'000;
  static constexpr std::size_t kMostMarqueeText = 4'000;
  // Runs of one style, in each of the two texts.
  static constexpr std::size_t kMostRuns = 256;
  // Characters of an attribute value that are looked at.
  static constexpr std::size_t kMostAttributeValue = 64;
  static constexpr int kLeastScrollAmount = 1, kMostScrollAmount = 100;
  static constexpr int kLeastScrollDelay = 60, kMostScrollDelay = 10'000;
};

struct TextStyle {
  bool bold = false;
  bool italic = false;
  std::optional<std::uint32_t> colour;  // 0xRRGGBB
  bool operator==(const TextStyle&) const = default;
};

// Text of one style; '\n' stands for a line break.
struct TextRun {
  std::u16string text;
  TextStyle style;
};

struct PageMarquee {
  bool found = false;
  std::vector<TextRun> runs;  // one line: breaks inside a marquee read as blanks
  bool rightwards = false;    // direction="right"; every other direction scrolls left
  int scroll_amount = 6;      // pixels per step
  int scroll_delay = 85;      // milliseconds per step
  std::optional<std::uint32_t> background;
};

struct PageModel {
  std::vector<TextRun> still;  // everything outside the marquees
  PageMarquee marquee;         // the first marquee
};

// The model of a page's body markup. Scripts, styles, frames, forms, embedded objects and
// the content of every marquee but the first are left out; entities are resolved; blanks
// collapse as a browser collapses them, and block elements end a line.
PageModel reduce_page(std::u16string_view body);

// A colour attribute: "#rgb", "#rrggbb" (the "#" may be missing) or one of the sixteen
// HTML colour names, in any case; nothing for anything else.
std::optional<std::uint32_t> parse_colour(std::u16string_view value);

// Rich text for the still page made from `runs` alone: a paragraph with line breaks, bold,
// italic and colours, everything else escaped.
std::u16string runs_markup(const std::vector<TextRun>& runs);

// The characters of `runs`.
std::size_t text_length(const std::vector<TextRun>& runs);

}  // namespace zhavik::news
