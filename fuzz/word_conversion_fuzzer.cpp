// The word-aware pinyin conversion against its plain reference, on small word lists built
// from the characters the texts are made of, and the word file's reader on any bytes.

#include <cstdint>
#include <string_view>

#include "core/batch.h"
#include "core/word_conversion.h"
#include "fuzz/fuzz_text.h"

namespace {

constexpr char16_t kWordCharacters[] = {u'好', u'中', u'一', u'啊', u'阿', u'，'};
constexpr std::u16string_view kSyllables[] = {u"hao3", u"zhong1", u"yi1", u"a5", u"lü4", u"e"};

std::vector<zhavik::WordReading> word_list(FuzzedDataProvider& input) {
  std::vector<zhavik::WordReading> words(input.ConsumeIntegralInRange<std::size_t>(0, 8));
  for (zhavik::WordReading& entry : words) {
    const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(1, 4);
    for (std::size_t i = 0; i < length; ++i) {
      entry.word +=
          kWordCharacters[input.ConsumeIntegral<std::uint8_t>() % std::size(kWordCharacters)];
      if (i > 0) entry.readings += u' ';
      entry.readings += kSyllables[input.ConsumeIntegral<std::uint8_t>() % std::size(kSyllables)];
    }
  }
  return words;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const zhavik::WordList parsed =
      zhavik::parse_word_pinyin(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const zhavik::WordReading& entry : parsed.words)
    FUZZ_REQUIRE(zhavik::fits_word_rules(entry));

  FuzzedDataProvider input(data, size);
  static const zhavik::CodeBook book(zhavik::DictionaryTexts{
      {zhavik::Kind::pinyin,
       zhavik::pinyin_data_from(u"hao3=好\r\nzhong1=中\r\nyi1=一\r\na1=啊阿\r\n")}});
  static const zhavik::WordTable no_words;
  const std::vector<zhavik::WordReading> words = word_list(input);
  const zhavik::WordTable table(words);
  const std::u16string text = zhavik::fuzz::telling_text(input, 64);
  const std::u16string converted = zhavik::convert_text_by_words(book, table, text);
  FUZZ_REQUIRE(converted == zhavik::convert_text_by_words_reference(book, words, text));
  FUZZ_REQUIRE(zhavik::convert_text_by_words(book, no_words, text) ==
               zhavik::convert_text(book, text, zhavik::Kind::pinyin));
  return 0;
}
