#include "core/conversion/batch.h"

#include "core/dictionary/lookup_scan.h"

namespace zhavik {

std::u16string convert_text(const CodeBook& book, std::u16string_view text, Kind kind) {
  BookConversion conversion(FirstWordInBook(book, kind));
  return convert_whole_text(conversion, text, TextLayout::window);
}

std::u16string convert_text_scan(const DictionaryTexts& texts, std::u16string_view text, Kind kind,
                                 std::size_t max_answer) {
  std::u16string answer;
  CharacterByCharacter conversion([&](char16_t unit, std::uint16_t) {
    answer = huoqu_scan(texts, kind, std::u16string(1, unit), max_answer);
    return std::u16string_view(answer).substr(0, answer.find(u' '));
  });
  return convert_whole_text(conversion, text, TextLayout::window);
}

}  // namespace zhavik
