#include "core/batch.h"

#include "core/lookup_scan.h"

namespace zhavik {
namespace {

template <class FirstWordOf>
std::u16string convert(std::u16string_view text, FirstWordOf first_word_of) {
  std::u16string out;
  out.reserve(text.size() * 4 + 4);
  BatchLayout layout(std::move(first_word_of));
  layout.feed(text, out);
  layout.finish(out);
  return out;
}

}  // namespace

std::u16string convert_text(const CodeBook& book, std::u16string_view text, Kind kind) {
  std::u16string scratch;
  return convert(
      text, [&](char16_t unit, std::uint16_t) { return book.first_word(kind, unit, scratch); });
}

std::u16string convert_text_scan(const DictionaryTexts& texts, std::u16string_view text, Kind kind,
                                 std::size_t max_answer) {
  std::u16string answer;
  return convert(text, [&](char16_t unit, std::uint16_t) {
    answer = huoqu_scan(texts, kind, std::u16string(1, unit), max_answer);
    return std::u16string_view(answer).substr(0, answer.find(u' '));
  });
}

}  // namespace zhavik
