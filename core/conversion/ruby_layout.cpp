#include "core/conversion/ruby_layout.h"

namespace zhavik {

std::string ruby_page(std::u16string_view title, CharacterConversion& conversion,
                      std::u16string_view text) {
  std::string page;
  RubyPageLayout layout(title, true, page);
  ConversionPipeline pipeline(conversion, layout, ConversionPipeline::kWholeLines);
  pipeline.feed(text);
  pipeline.finish();
  layout.end_page();
  return page;
}

}  // namespace zhavik
