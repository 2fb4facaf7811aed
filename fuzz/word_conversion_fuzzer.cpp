// The word-aware pinyin conversion against its plain reference, with and without the tone
// sandhi, on small lists of words and counts built from the characters the texts are made
// of; the compiled form of such a table against the table itself, and damaged; and the
// readers of the word file and the counts file on any bytes.

#include <cstdint>
#include <cstring>
#include <string_view>

#include "core/conversion/batch.h"
#include "core/conversion/word_conversion.h"
#include "fuzz/fuzz_text.h"

namespace {

// Characters of words and of the context rules and the tone sandhi.
constexpr char16_t kWordCharacters[] = {u'好', u'中', u'一', u'啊', u'阿', u'，', u'不', u'只',
                                        u'地', u'得', u'两', u'第', u'十', u'是', u'行'};
constexpr std::u16string_view kSyllables[] = {u"hao3", u"zhong1", u"yi1",  u"a5",    u"lü4",
                                              u"e",    u"bu4",    u"shi4", u"xing2", u"hang2"};
constexpr std::u16string_view kPinyinFile =
    u"hao3=好\r\nzhong1=中\r\nzhong4=中\r\nyi1=一\r\na1=啊阿\r\nbu4=不\r\nzhi3=只\r\n"
    u"zhi1=只\r\nde5=地得\r\ndi4=地第\r\nliang3=两\r\nshi2=十\r\nshi4=是\r\nxing2=行\r\n"
    u"hang2=行\r\n";

std::u16string word_of(FuzzedDataProvider& input, std::size_t shortest) {
  std::u16string word(input.ConsumeIntegralInRange<std::size_t>(shortest, 4), u' ');
  for (char16_t& unit : word)
    unit = kWordCharacters[input.ConsumeIntegral<std::uint8_t>() % std::size(kWordCharacters)];
  return word;
}

std::vector<zhavik::WordReading> word_list(FuzzedDataProvider& input) {
  std::vector<zhavik::WordReading> words(input.ConsumeIntegralInRange<std::size_t>(0, 8));
  for (zhavik::WordReading& entry : words) {
    entry.word = word_of(input, 1);
    for (std::size_t i = 0; i < entry.word.size(); ++i) {
      if (i > 0) entry.readings += u' ';
      entry.readings += kSyllables[input.ConsumeIntegral<std::uint8_t>() % std::size(kSyllables)];
    }
  }
  return words;
}

std::vector<zhavik::WordCount> count_list(FuzzedDataProvider& input) {
  std::vector<zhavik::WordCount> counts(input.ConsumeIntegralInRange<std::size_t>(0, 8));
  for (zhavik::WordCount& entry : counts) {
    entry.word = word_of(input, 1);
    // Few distinct counts, so that cuts of equal cost come up too.
    entry.count = input.ConsumeBool() ? input.ConsumeIntegralInRange<std::uint32_t>(0, 4)
                                      : input.ConsumeIntegral<std::uint32_t>();
  }
  return counts;
}

// Mostly the characters of the words, else any telling unit.
std::u16string text_of(FuzzedDataProvider& input) {
  std::u16string text;
  const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, 48);
  while (text.size() < length && input.remaining_bytes() > 0) {
    const std::uint8_t choice = input.ConsumeIntegral<std::uint8_t>();
    text += choice < 0xA0 ? kWordCharacters[choice % std::size(kWordCharacters)]
                          : zhavik::fuzz::kTelling[choice % std::size(zhavik::fuzz::kTelling)];
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const zhavik::CodeBook book(
      zhavik::DictionaryTexts{{zhavik::Kind::pinyin, zhavik::pinyin_data_from(kPinyinFile)}});
  static const zhavik::CharacterReadings readings(book.texts()[zhavik::Kind::pinyin]);
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const zhavik::WordReading& entry : zhavik::parse_word_pinyin(bytes, readings).words)
    FUZZ_REQUIRE(zhavik::fits_word_rules(entry));
  for (const zhavik::WordCount& entry : zhavik::parse_word_counts(bytes).counts)
    FUZZ_REQUIRE(zhavik::fits_count_rules(entry));
  FuzzedDataProvider input(data, size);
  const std::vector<zhavik::WordReading> words = word_list(input);
  const std::vector<zhavik::WordCount> counts = count_list(input);
  const zhavik::WordTable table(words, counts);
  const std::u16string text = text_of(input);
  for (const bool sandhi : {false, true}) {
    FUZZ_REQUIRE(zhavik::convert_text_by_words(book, table, text, sandhi) ==
                 zhavik::convert_text_by_words_reference(book, words, counts, text, sandhi));
  }
  std::array<std::uint64_t, zhavik::WordTable::kNotes> notes{};
  std::string compiled = table.to_bytes(7, {1, 2, 3, 4});
  const std::optional<zhavik::WordTable> loaded = zhavik::WordTable::from_bytes(compiled, 7, notes);
  FUZZ_REQUIRE(loaded &&
               notes == (std::array<std::uint64_t, zhavik::WordTable::kNotes>{1, 2, 3, 4}));
  FUZZ_REQUIRE(zhavik::convert_text_by_words(book, *loaded, text) ==
               zhavik::convert_text_by_words(book, table, text));
  // The same compiled table damaged: refused, or searched without a step outside it.
  for (int changes = input.ConsumeIntegralInRange(0, 4); changes > 0; --changes) {
    compiled[input.ConsumeIntegralInRange<std::size_t>(0, compiled.size() - 1)] =
        static_cast<char>(input.ConsumeIntegral<std::uint8_t>());
  }
  if (input.ConsumeBool()) compiled.resize(compiled.size() - compiled.size() % 7);
  if (const auto damaged = zhavik::WordTable::from_bytes(compiled, 7, notes)) {
    zhavik::convert_text_by_words(book, *damaged, text, true);
  }
  return 0;
}
