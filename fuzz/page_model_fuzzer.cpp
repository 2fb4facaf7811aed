// The news page's reduction on any markup: whatever the page, the model keeps within its
// bounds, and the rich text made from it holds none but its own few elements.

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_text.h"
#include "news/page_model.h"

namespace {

using zhavik::news::PageLimits;

// Pieces of markup a hostile page is made of; random units almost never form a tag.
constexpr std::array<std::u16string_view, 40> kPieces{u"<marquee",
                                                      u"</marquee>",
                                                      u"<b>",
                                                      u"</b>",
                                                      u"<i>",
                                                      u"</i>",
                                                      u"<font color=",
                                                      u"</font>",
                                                      u"<script>",
                                                      u"</script>",
                                                      u"<!--",
                                                      u"-->",
                                                      u"<br>",
                                                      u"<p>",
                                                      u"</p>",
                                                      u"<table><tr><td>",
                                                      u"</td>",
                                                      u"<div>",
                                                      u"<style",
                                                      u"</",
                                                      u" scrollamount=",
                                                      u" scrolldelay=",
                                                      u" bgcolor=",
                                                      u" direction=right",
                                                      u"&#",
                                                      u"&amp;",
                                                      u"&nbsp",
                                                      u"#fff",
                                                      u"#0a0b0c",
                                                      u"red",
                                                      u"99999999",
                                                      u"\"",
                                                      u"'",
                                                      u"=",
                                                      u">",
                                                      u"<",
                                                      u" ",
                                                      u"中文",
                                                      u"\n",
                                                      u"x"};

// At most this many units: enough to pass the text bounds and the nesting bound; the
// element bound is left to the tests, as inputs that long would slow the runs a hundredfold.
constexpr std::size_t kMostUnits = 6 * 1024;

std::u16string page(FuzzedDataProvider& input) {
  std::u16string text;
  std::u16string_view last = kPieces[0];
  while (input.remaining_bytes() > 0 && text.size() < kMostUnits) {
    const std::uint8_t choice = input.ConsumeIntegral<std::uint8_t>();
    if (choice < 0xA0) {
      last = kPieces[choice % kPieces.size()];
      text += last;
    } else if (choice < 0xA4) {
      // The last piece many times over: deep nesting, long words, many elements.
      for (int i = 0; i < (choice - 0xA0 + 1) * 64 && text.size() < kMostUnits; ++i)
        text += last;
    } else {
      text += static_cast<char16_t>(input.ConsumeIntegral<std::uint16_t>());
    }
  }
  return text;
}

// Every '<' of the markup opens one of the elements the model's rich text may hold.
bool only_own_elements(std::u16string_view markup) {
  static constexpr std::array<std::u16string_view, 9> kOwn{
      u"<p>", u"</p>", u"<br>", u"<b>", u"</b>", u"<i>", u"</i>", u"</font>", u"<font color=\"#"};
  for (std::size_t at = markup.find(u'<'); at != std::u16string_view::npos;
       at = markup.find(u'<', at + 1)) {
    const std::u16string_view rest = markup.substr(at);
    if (std::none_of(kOwn.begin(), kOwn.end(),
                     [rest](std::u16string_view own) { return rest.starts_with(own); }))
      return false;
  }
  return true;
}

void check_runs(const std::vector<zhavik::news::TextRun>& runs, std::size_t most_text) {
  FUZZ_REQUIRE(zhavik::news::text_length(runs) <= most_text);
  FUZZ_REQUIRE(runs.size() <= PageLimits::kMostRuns);
  for (const auto& run : runs) {
    FUZZ_REQUIRE(!run.text.empty());
    FUZZ_REQUIRE(!run.style.colour || *run.style.colour <= 0xFFFFFF);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::u16string body = page(input);
  const zhavik::news::PageModel model = zhavik::news::reduce_page(body);

  check_runs(model.still, PageLimits::kMostStillText);
  check_runs(model.marquee.runs, PageLimits::kMostMarqueeText);
  for (const auto& run : model.marquee.runs)
    FUZZ_REQUIRE(run.text.find(u'\n') == std::u16string::npos);
  const auto& marquee = model.marquee;
  FUZZ_REQUIRE(marquee.found || marquee.runs.empty());
  FUZZ_REQUIRE(marquee.scroll_amount >= PageLimits::kLeastScrollAmount &&
               marquee.scroll_amount <= PageLimits::kMostScrollAmount);
  FUZZ_REQUIRE(marquee.scroll_delay >= PageLimits::kLeastScrollDelay &&
               marquee.scroll_delay <= PageLimits::kMostScrollDelay);
  FUZZ_REQUIRE(!marquee.background || *marquee.background <= 0xFFFFFF);

  const std::u16string markup = zhavik::news::runs_markup(model.still);
  FUZZ_REQUIRE(only_own_elements(markup));
  // An escaped character takes at most six units, a run's tags at most 50.
  FUZZ_REQUIRE(markup.size() <= 6 * PageLimits::kMostStillText + 50 * PageLimits::kMostRuns + 7);
  return 0;
}
