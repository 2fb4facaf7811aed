// The command-line tool's quick ways to an answer (first words alone, the answer in a pinyin
// style, a dictionary excerpt for a few characters) against the lookup itself.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "core/code_book.h"
#include "core/cp936.h"
#include "core/dictionary_excerpt.h"
#include "core/first_words.h"
#include "core/lookup_scan.h"
#include "core/pinyin_style.h"

namespace zhavik {
namespace {

std::u16string_view first_word(std::u16string_view answer) {
  return answer.substr(0, answer.find(u' '));
}

std::string file_bytes(const char* name) {
  std::ifstream file(std::string(ZHAVIK_SOURCE_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Each character of the texts that code page 936 writes with two bytes, once.
std::set<char16_t> chinese_characters(const DictionaryTexts& texts) {
  std::set<char16_t> seen;
  for (const std::u16string* text : {&texts.pinyin_data, &texts.wubi86_data, &texts.wubi98_data}) {
    for (const char16_t unit : *text) {
      if (cp936_double_byte(unit) != 0) seen.insert(unit);
    }
  }
  return seen;
}

// Every character of the dictionaries: the first words, the pinyin answer in marks, and the
// answers from an excerpt that holds only the character's lines. The index stands in for
// the plain scan it is proven equal to, which would take minutes here.
TEST(FastPaths, AgreeWithTheLookupOnTheRealDictionaries) {
  const DictionaryTexts texts = load_dictionary_texts(ZHAVIK_SOURCE_DIR);
  const CodeBook book(texts);
  const std::string files[] = {file_bytes(kWubi86File), file_bytes(kWubi98File),
                               file_bytes(kPinyinFile)};
  std::vector<FirstWords*> words;
  for (const Kind kind : kAllKinds)
    words.push_back(new FirstWords(texts, kind));
  int mismatches = 0;
  for (const char16_t unit : chinese_characters(texts)) {
    const std::u16string character(1, unit);
    const std::uint16_t code = cp936_double_byte(unit);
    DictionaryTexts excerpt;
    excerpt.wubi86_data = wubi_data_from(cp936_decode(dictionary_excerpt(files[0], {code})));
    excerpt.wubi98_data = wubi_data_from(cp936_decode(dictionary_excerpt(files[1], {code})));
    excerpt.pinyin_data = pinyin_data_from(cp936_decode(dictionary_excerpt(files[2], {code})));
    for (std::size_t k = 0; k < kAllKinds.size(); ++k) {
      const std::u16string answer = book.huoqu(kind_text(kAllKinds[k]), character);
      mismatches += words[k]->of(unit, code) != first_word(answer);
      mismatches += huoqu_scan(excerpt, kind_text(kAllKinds[k]), character) != answer;
    }
    mismatches += pinyin_answer_in_style(texts.pinyin_data, character, PinyinStyle::marks) !=
                  book.huoqu(u"拼音", character);
    ASSERT_EQ(mismatches, 0) << testing::PrintToString(character);
  }
  for (FirstWords* table : words)
    delete table;
}

}  // namespace
}  // namespace zhavik
