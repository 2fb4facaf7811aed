#include "news/page_model.h"

#include <algorithm>
#include <array>
#include <utility>

#include "core/text/text.h"

namespace zhavik::news {
namespace {

using Limits = PageLimits;
constexpr std::u16string_view::size_type npos = std::u16string_view::npos;
// Tag names longer than this are no name we know; only their start is kept.
constexpr std::size_t kLongestName = 12;

bool is_blank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}
bool is_letter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
bool is_digit(char16_t c) {
  return c >= u'0' && c <= u'9';
}
int hex_value(char16_t c) {
  if (is_digit(c)) return c - u'0';
  const char16_t lower = ascii_lower(c);
  return lower >= u'a' && lower <= u'f' ? lower - u'a' + 10 : -1;
}
// `text` equals `lower` (lower-case ASCII) but for the case of its letters.
bool equal_ignoring_case(std::u16string_view text, std::u16string_view lower) {
  if (text.size() != lower.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (ascii_lower(text[i]) != lower[i]) return false;
  return true;
}
// Bidirectional controls and zero-width characters: they show nothing themselves, but can
// turn the text around them ("evil\u202Eexe.txt" shows as "eviltxt.exe") or hide
// characters inside a word.
bool is_invisible_control(char16_t c) {
  return c == 0x061C || (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2060 && c <= 0x2064) || (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}
bool is_one_of(std::u16string_view name, std::initializer_list<std::u16string_view> names) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// Elements whose content goes with them: nothing of it is text to show.
bool drops_content(std::u16string_view name) {
  return is_one_of(name, {u"script", u"style", u"noscript", u"iframe", u"frameset", u"noframes",
                          u"object", u"applet", u"template", u"svg", u"math", u"textarea",
                          u"select", u"title", u"head", u"xmp", u"noembed"});
}
// Elements that stand on lines of their own in a browser.
bool ends_line(std::u16string_view name) {
  return is_one_of(name, {u"p",       u"div",        u"li",      u"tr",     u"ul",      u"ol",
                          u"dl",      u"dt",         u"dd",      u"table",  u"h1",      u"h2",
                          u"h3",      u"h4",         u"h5",      u"h6",     u"pre",     u"hr",
                          u"center",  u"form",       u"header",  u"footer", u"section", u"article",
                          u"address", u"blockquote", u"caption", u"nav",    u"aside",   u"main"});
}

struct Tag {
  std::u16string name;  // lower case, at most kLongestName characters
  bool closing = false;
  std::u16string_view attributes;  // between the name and the closing '>'
};

// The value of attribute `name` (lower case) in `attributes`, at most kMostAttributeValue
// characters of it, without surrounding blanks; nothing when the attribute is missing.
std::optional<std::u16string_view> attribute(std::u16string_view attributes,
                                             std::u16string_view name) {
  std::size_t i = 0;
  const std::size_t n = attributes.size();
  while (i < n) {
    while (i < n && (is_blank(attributes[i]) || attributes[i] == u'/'))
      ++i;
    const std::size_t name_start = i;
    while (i < n && !is_blank(attributes[i]) && attributes[i] != u'=' && attributes[i] != u'/')
      ++i;
    const std::u16string_view found = attributes.substr(name_start, i - name_start);
    while (i < n && is_blank(attributes[i]))
      ++i;
    std::u16string_view value;
    if (i < n && attributes[i] == u'=') {
      ++i;
      while (i < n && is_blank(attributes[i]))
        ++i;
      if (i < n && (attributes[i] == u'"' || attributes[i] == u'\'')) {
        const char16_t quote = attributes[i++];
        const std::size_t end = std::min(attributes.find(quote, i), n);
        value = attributes.substr(i, end - i);
        i = end + 1;
      } else {
        const std::size_t start = i;
        while (i < n && !is_blank(attributes[i]))
          ++i;
        value = attributes.substr(start, i - start);
      }
    }
    if (!found.empty() && equal_ignoring_case(found, name)) {
      value = value.substr(0, Limits::kMostAttributeValue);
      while (!value.empty() && is_blank(value.front()))
        value.remove_prefix(1);
      while (!value.empty() && is_blank(value.back()))
        value.remove_suffix(1);
      return value;
    }
    if (found.empty() && i < n) ++i;  // a stray '=' or quote: step over it
  }
  return std::nullopt;
}

// The leading whole number of a value, as a browser reads "120px" or "5"; `fallback`
// when it starts with no digit.
int number_in(std::optional<std::u16string_view> value, int fallback) {
  if (!value || value->empty() || !is_digit(value->front())) return fallback;
  long number = 0;
  for (std::size_t i = 0; i < value->size() && is_digit((*value)[i]) && i < 6; ++i)
    number = number * 10 + ((*value)[i] - u'0');
  return static_cast<int>(number);
}

struct NamedColour {
  std::u16string_view name;
  std::uint32_t rgb;
};
constexpr std::array<NamedColour, 16> kColourNames{{
    {u"black", 0x000000},
    {u"silver", 0xC0C0C0},
    {u"gray", 0x808080},
    {u"white", 0xFFFFFF},
    {u"maroon", 0x800000},
    {u"red", 0xFF0000},
    {u"purple", 0x800080},
    {u"fuchsia", 0xFF00FF},
    {u"green", 0x008000},
    {u"lime", 0x00FF00},
    {u"olive", 0x808000},
    {u"yellow", 0xFFFF00},
    {u"navy", 0x000080},
    {u"blue", 0x0000FF},
    {u"teal", 0x008080},
    {u"aqua", 0x00FFFF},
}};

// The named and numeric character references a news page plausibly uses.
struct NamedEntity {
  std::u16string_view name;
  char16_t unit;
};
constexpr std::array<NamedEntity, 19> kEntities{{
    {u"amp", u'&'},         {u"lt", u'<'},         {u"gt", u'>'},         {u"quot", u'"'},
    {u"apos", u'\''},       {u"nbsp", u'\u00A0'},  {u"copy", u'\u00A9'},  {u"reg", u'\u00AE'},
    {u"middot", u'\u00B7'}, {u"mdash", u'\u2014'}, {u"ndash", u'\u2013'}, {u"hellip", u'\u2026'},
    {u"laquo", u'\u00AB'},  {u"raquo", u'\u00BB'}, {u"ldquo", u'\u201C'}, {u"rdquo", u'\u201D'},
    {u"lsquo", u'\u2018'},  {u"rsquo", u'\u2019'}, {u"times", u'\u00D7'},
}};

// One of the model's two texts as the reduction writes it: blanks collapsed as a browser
// collapses them, and nothing past its bounds.
class TextSink {
 public:
  TextSink(std::size_t most_text, bool one_line) : most_text_(most_text), one_line_(one_line) {}

  void add(char16_t c, const TextStyle& style) {
    if (full_ || is_invisible_control(c)) return;
    if (c == u'\n' && one_line_) c = u' ';
    if (c == u' ' && (length_ == 0 || last_ == u' ' || last_ == u'\n')) return;
    // A pair of surrogates goes in whole or not at all.
    const std::size_t room = c >= 0xD800 && c <= 0xDBFF ? 2 : 1;
    if (length_ + room > most_text_) {
      full_ = true;
      return;
    }
    if (runs_.empty() || (runs_.back().style != style && runs_.size() < Limits::kMostRuns))
      runs_.push_back(TextRun{{}, style});
    runs_.back().text += c;
    ++length_;
    last_ = c;
  }
  // Ends the line, unless it is empty or already ended; `always` for <br>, which ends
  // even an empty line.
  void line_break(const TextStyle& style, bool always) {
    if (!always && (length_ == 0 || last_ == u'\n')) return;
    if (last_ == u' ' && !runs_.empty() && !runs_.back().text.empty()) {
      runs_.back().text.back() = u'\n';
      last_ = u'\n';
      return;
    }
    add(u'\n', style);
  }
  std::vector<TextRun> take() {
    // Blanks and line ends at the end show nothing.
    // No run is ever empty (add() puts a character in every run it starts, and an emptied
    // one goes at once), so the last run always has a last character to look at.
    while (!runs_.empty() &&
           (runs_.back().text.back() == u' ' || runs_.back().text.back() == u'\n')) {
      runs_.back().text.pop_back();
      if (runs_.back().text.empty()) runs_.pop_back();
    }
    return std::move(runs_);
  }

 private:
  std::size_t most_text_;
  bool one_line_;
  std::vector<TextRun> runs_;
  std::size_t length_ = 0;
  char16_t last_ = 0;
  bool full_ = false;
};

// One pass over the body, front to back. Every step moves forward, and the only stack (the
// open styling elements) is bounded, so the work is linear in the page whatever its nesting.
class Reducer {
 public:
  explicit Reducer(std::u16string_view body) : body_(body) {}

  PageModel run() {
    std::size_t elements = 0;
    while (at_ < body_.size()) {
      const char16_t c = body_[at_];
      if (c == u'<' && starts_markup()) {
        if (++elements > Limits::kMostElements) break;
        read_markup();
      } else if (c == u'&') {
        read_reference();
      } else {
        text(is_blank(c) ? u' ' : c);
        ++at_;
      }
    }
    PageModel model;
    model.still = still_.take();
    model.marquee = std::move(marquee_);
    model.marquee.runs = marquee_text_.take();
    return model;
  }

 private:
  struct Open {
    std::u16string name;
    TextStyle style;
  };

  const TextStyle& style() const { return open_.empty() ? plain_ : open_.back().style; }

  void text(char16_t c) {
    if (in_marquee_ > 0) {
      marquee_text_.add(c, style());
    } else if (in_dropped_marquee_ == 0) {
      still_.add(c, style());
    }
  }
  void line_break(bool always) {
    if (in_marquee_ > 0) {
      marquee_text_.add(u' ', style());
    } else if (in_dropped_marquee_ == 0) {
      still_.line_break(style(), always);
    }
  }

  bool starts_markup() const {
    if (at_ + 1 >= body_.size()) return false;
    const char16_t next = body_[at_ + 1];
    if (is_letter(next) || next == u'!' || next == u'?') return true;
    return next == u'/' && at_ + 2 < body_.size() && is_letter(body_[at_ + 2]);
  }

  void read_markup() {
    const std::u16string_view rest = body_.substr(at_);
    if (rest.starts_with(u"<!--")) {
      const std::size_t end = body_.find(u"-->", at_ + 4);
      at_ = end == npos ? body_.size() : end + 3;
      return;
    }
    if (rest[1] == u'!' || rest[1] == u'?') {
      const std::size_t end = body_.find(u'>', at_);
      at_ = end == npos ? body_.size() : end + 1;
      return;
    }
    const Tag tag = read_tag();
    if (!tag.closing && drops_content(tag.name)) {
      skip_to_closing(tag.name);
      return;
    }
    if (tag.name == u"br") {
      line_break(true);
    } else if (ends_line(tag.name)) {
      line_break(false);
    } else if (tag.name == u"td" || tag.name == u"th") {
      text(u' ');
    } else if (tag.name == u"marquee") {
      marquee_tag(tag);
    } else if (tag.closing) {
      close(tag.name);
    } else {
      open(tag);
    }
  }

  // Reads the tag at at_ and moves past its '>' (to the end, when it has none: a browser
  // too drops an unfinished tag). Quotes count only where a value starts.
  Tag read_tag() {
    Tag tag;
    std::size_t i = at_ + 1;
    if (body_[i] == u'/') {
      tag.closing = true;
      ++i;
    }
    const std::size_t name_start = i;
    while (i < body_.size() && !is_blank(body_[i]) && body_[i] != u'/' && body_[i] != u'>')
      ++i;
    for (std::size_t k = name_start; k < i && tag.name.size() < kLongestName; ++k)
      tag.name += ascii_lower(body_[k]);
    const std::size_t attributes_start = i;
    char16_t quote = 0;
    char16_t previous = 0;
    for (; i < body_.size(); ++i) {
      const char16_t c = body_[i];
      if (quote != 0) {
        if (c == quote) quote = 0;
      } else if ((c == u'"' || c == u'\'') && previous == u'=') {
        quote = c;
      } else if (c == u'>') {
        break;
      }
      if (!is_blank(c)) previous = c;
    }
    tag.attributes = body_.substr(attributes_start, i - attributes_start);
    at_ = std::min(i + 1, body_.size());
    return tag;
  }

  // Moves past the closing tag of `name`, or to the end when there is none.
  void skip_to_closing(std::u16string_view name) {
    for (std::size_t i = body_.find(u"</", at_); i != npos; i = body_.find(u"</", i + 2)) {
      const std::size_t after = i + 2 + name.size();
      if (after > body_.size()) break;
      if (!equal_ignoring_case(body_.substr(i + 2, name.size()), name)) continue;
      if (after < body_.size() && !is_blank(body_[after]) && body_[after] != u'>' &&
          body_[after] != u'/')
        continue;
      const std::size_t end = body_.find(u'>', after);
      at_ = end == npos ? body_.size() : end + 1;
      return;
    }
    at_ = body_.size();
  }

  void open(const Tag& tag) {
    TextStyle next = style();
    if (tag.name == u"b" || tag.name == u"strong") {
      next.bold = true;
    } else if (tag.name == u"i" || tag.name == u"em") {
      next.italic = true;
    } else if (tag.name == u"font") {
      if (const auto colour = attribute(tag.attributes, u"color"))
        if (const auto rgb = parse_colour(*colour)) next.colour = rgb;
    } else {
      return;  // every other element leaves the style as it is
    }
    if (tag.attributes.ends_with(u'/')) return;  // <b/> opens nothing
    if (open_.size() < Limits::kMostDepth) open_.push_back(Open{tag.name, next});
  }

  void close(std::u16string_view name) {
    // The nearest open element of that name ends, with those opened inside it.
    for (std::size_t i = open_.size(); i > 0; --i) {
      if (open_[i - 1].name == name) {
        open_.resize(i - 1);
        return;
      }
    }
  }

  void marquee_tag(const Tag& tag) {
    if (tag.closing) {
      if (in_marquee_ > 0 && --in_marquee_ == 0) marquee_done_ = true;
      if (in_marquee_ == 0 && in_dropped_marquee_ > 0) --in_dropped_marquee_;
      return;
    }
    if (in_marquee_ > 0) {
      ++in_marquee_;
    } else if (marquee_done_) {
      ++in_dropped_marquee_;
    } else {
      in_marquee_ = 1;
      read_marquee_attributes(tag.attributes);
    }
  }

  void read_marquee_attributes(std::u16string_view attributes) {
    marquee_.found = true;
    if (const auto direction = attribute(attributes, u"direction"))
      marquee_.rightwards = equal_ignoring_case(*direction, u"right");
    marquee_.scroll_amount =
        std::clamp(number_in(attribute(attributes, u"scrollamount"), marquee_.scroll_amount),
                   Limits::kLeastScrollAmount, Limits::kMostScrollAmount);
    marquee_.scroll_delay =
        std::clamp(number_in(attribute(attributes, u"scrolldelay"), marquee_.scroll_delay),
                   Limits::kLeastScrollDelay, Limits::kMostScrollDelay);
    if (const auto colour = attribute(attributes, u"bgcolor"))
      marquee_.background = parse_colour(*colour);
  }

  void read_reference() {
    const std::u16string_view rest = body_.substr(at_ + 1);
    if (!rest.empty() && rest[0] == u'#') {
      // Every digit belongs to the reference, however many: a value beyond Unicode, or
      // written with more than kMostDigits digits, is one character that cannot be shown.
      constexpr std::size_t kMostDigits = 8;
      const bool hex = rest.size() > 1 && (rest[1] == u'x' || rest[1] == u'X');
      std::size_t i = hex ? 2 : 1;
      std::uint32_t value = 0;
      std::size_t digits = 0;
      for (; i < rest.size(); ++i, ++digits) {
        const int digit = hex ? hex_value(rest[i]) : (is_digit(rest[i]) ? rest[i] - u'0' : -1);
        if (digit < 0) break;
        if (digits < kMostDigits)
          value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
      }
      if (digits > 0) {
        if (i < rest.size() && rest[i] == u';') ++i;
        at_ += 1 + i;
        code_point(digits > kMostDigits ? 0xFFFD : value);
        return;
      }
    } else {
      for (const NamedEntity& entity : kEntities) {
        if (rest.starts_with(entity.name)) {
          std::size_t length = entity.name.size();
          if (length < rest.size() && rest[length] == u';') ++length;
          at_ += 1 + length;
          text(entity.unit);
          return;
        }
      }
    }
    text(u'&');
    ++at_;
  }

  void code_point(std::uint32_t value) {
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) value = 0xFFFD;
    std::u16string units;
    append_code_point(units, value);
    for (const char16_t unit : units)
      text(is_blank(unit) ? u' ' : unit);
  }

  std::u16string_view body_;
  std::size_t at_ = 0;
  std::vector<Open> open_;
  const TextStyle plain_{};
  TextSink still_{Limits::kMostStillText, false};
  TextSink marquee_text_{Limits::kMostMarqueeText, true};
  PageMarquee marquee_;
  int in_marquee_ = 0;  // depth of marquees inside the first one, while in it
  bool marquee_done_ = false;
  int in_dropped_marquee_ = 0;  // depth of later marquees, whose text is left out
};

void append_escaped(std::u16string& out, std::u16string_view text) {
  for (const char16_t c : text) {
    switch (c) {
      case u'&':
        out += u"&amp;";
        break;
      case u'<':
        out += u"&lt;";
        break;
      case u'>':
        out += u"&gt;";
        break;
      case u'"':
        out += u"&quot;";
        break;
      case u'\n':
        out += u"<br>";
        break;
      default:
        out += c;
    }
  }
}

std::u16string colour_text(std::uint32_t rgb) {
  static constexpr char16_t kDigits[] = u"0123456789abcdef";
  std::u16string text = u"#";
  for (int shift = 20; shift >= 0; shift -= 4)
    text += kDigits[(rgb >> shift) & 0xF];
  return text;
}

}  // namespace

std::optional<std::uint32_t> parse_colour(std::u16string_view value) {
  for (const NamedColour& named : kColourNames)
    if (equal_ignoring_case(value, named.name)) return named.rgb;
  if (value.starts_with(u'#')) value.remove_prefix(1);
  if (value.size() != 3 && value.size() != 6) return std::nullopt;
  std::uint32_t rgb = 0;
  for (const char16_t c : value) {
    const int digit = hex_value(c);
    if (digit < 0) return std::nullopt;
    rgb = rgb << (value.size() == 3 ? 8 : 4) | static_cast<std::uint32_t>(digit);
    if (value.size() == 3) rgb |= static_cast<std::uint32_t>(digit) << 4;
  }
  return rgb;
}

PageModel reduce_page(std::u16string_view body) {
  return Reducer(body).run();
}

std::u16string runs_markup(const std::vector<TextRun>& runs) {
  std::u16string markup = u"<p>";
  for (const TextRun& run : runs) {
    if (run.style.colour) markup += u"<font color=\"" + colour_text(*run.style.colour) + u"\">";
    if (run.style.bold) markup += u"<b>";
    if (run.style.italic) markup += u"<i>";
    append_escaped(markup, run.text);
    if (run.style.italic) markup += u"</i>";
    if (run.style.bold) markup += u"</b>";
    if (run.style.colour) markup += u"</font>";
  }
  return markup + u"</p>";
}

std::size_t text_length(const std::vector<TextRun>& runs) {
  std::size_t length = 0;
  for (const TextRun& run : runs)
    length += run.text.size();
  return length;
}

}  // namespace zhavik::news
