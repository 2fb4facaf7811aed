// The committed dictionaries and word file: facts a user relies on, polyphones read from their
// words, and every character answered alike by the plain scan, the index and the quick paths.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "core/batch.h"
#include "core/browser.h"
#include "core/code_book.h"
#include "core/cp936.h"
#include "core/dictionary_excerpt.h"
#include "core/first_words.h"
#include "core/lookup_scan.h"
#include "core/pinyin_style.h"
#include "core/query.h"
#include "core/word_conversion.h"

namespace zhavik {
namespace {

const DictionaryTexts& texts() {
  static const DictionaryTexts loaded = load_dictionary_texts(ZHAVIK_SOURCE_DIR);
  return loaded;
}

const CodeBook& book() {
  static const CodeBook indexed(texts());
  return indexed;
}

const WordList& words() {
  static const WordList list =
      *read_word_pinyin_file(std::filesystem::path(ZHAVIK_SOURCE_DIR) / kWordPinyinFile);
  return list;
}

TEST(RealData, KnownCharacters) {
  const QueryResult hao = run_query(book(), u"  好人 ");
  EXPECT_EQ(hao.character, u"好");
  EXPECT_EQ(hao.answers[0], u"hǎo  hào  ");
  EXPECT_NE(hao.answers[1].find(u"vbg "), std::u16string::npos);
  EXPECT_NE(hao.answers[2].find(u"vbg "), std::u16string::npos);
  EXPECT_EQ(hao.answers[3], u"2635");
  // A character's usual reading comes first, wherever its syllable stands: lǜ before lù.
  EXPECT_EQ(book().huoqu(u"拼音", u"绿"), u"lǜ  lù  ");
  EXPECT_EQ(book().huoqu(u"拼音", u"说").substr(0, 6), u"shuō  ");
  EXPECT_EQ(book().huoqu(u"拼音", u"說"), u"shuō  ");
  EXPECT_EQ(book().huoqu(u"拼音", u"嗯"), u"ńg  ń  ňg  ǹg  ");
  EXPECT_EQ(book().huoqu(u"98五笔", u"式").substr(0, 3), u"aa ");
  EXPECT_EQ(book().huoqu(u"98五笔", u"藏").find(u"aa "), std::u16string::npos);
  EXPECT_EQ(convert_text(book(), u"中国人\r\n你", u"拼音"), u"zhōng guó rén \r\nnǐ \r\n");
}

TEST(RealData, EverySyllableOfTheBrowserReachesCharacters) {
  const std::u16string& pinyin = texts().pinyin_data;
  EXPECT_EQ(syllables_of_letter(pinyin, u"a", 40),
            (std::vector<std::u16string>{u"a", u"ai", u"an", u"ang", u"ao"}));
  // Hundreds of records lie beyond unit 32,767 of the text; theirs are found too.
  for (char16_t letter = u'a'; letter <= u'z'; ++letter) {
    for (const auto& syllable : syllables_of_letter(pinyin, {&letter, 1}, 40)) {
      EXPECT_FALSE(characters_of_syllable(pinyin, syllable, 114).empty())
          << testing::PrintToString(syllable);
    }
  }
}

TEST(RealData, PolyphonesTakeTheReadingOfTheirWord) {
  const WordList& list = words();
  EXPECT_EQ(list.malformed_lines, 0u);
  const WordTable table(list.words);
  const struct {
    std::u16string_view text, expected;
  } cases[] = {
      {u"我去银行\r\n行走很慢", u"wǒ qù yín háng \r\nxíng zǒu hěn màn \r\n"},
      {u"长大\r\n长度", u"zhǎng dà \r\ncháng dù \r\n"},
      // 一 and 不 in their base tones, as a dictionary spells them.
      {u"一个\r\n不是", u"yī gè \r\nbù shì \r\n"},
      // A word interrupted by a blank or a line end is no word: 行 keeps its first reading.
      {u"银 行\r\n银\r\n行", u"yín xíng \r\nyín \r\nxíng \r\n"},
      // A surrogate pair stays one character, and a word beside it is found.
      {u"😀银行😀", u"### yín háng ### \r\n\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(convert_text_by_words(book(), table, c.text), c.expected);
    EXPECT_EQ(convert_text_by_words_reference(book(), list.words, c.text), c.expected);
  }
}

std::string file_bytes(const char* name) {
  std::ifstream file(std::string(ZHAVIK_SOURCE_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Every character, in every kind: the index against the plain scan, and the command-line
// tool's quick ways to an answer (the first words alone, the pinyin answer in marks, the scan
// of an excerpt that holds only the character's lines) against the index.
TEST(RealData, IndexAndQuickPathsAgreeWithTheScanOnEveryCharacter) {
  // Every character that code page 936 writes with two bytes in any of the texts.
  std::set<char16_t> characters;
  for (const std::u16string* text :
       {&texts().pinyin_data, &texts().wubi86_data, &texts().wubi98_data}) {
    for (const char16_t unit : *text) {
      if (cp936_double_byte(unit) != 0) characters.insert(unit);
    }
  }
  ASSERT_GT(characters.size(), 6763u);
  const std::string files[] = {file_bytes(kWubi86File), file_bytes(kWubi98File),
                               file_bytes(kPinyinFile)};
  std::vector<FirstWords> words;
  for (const Kind kind : kAllKinds)
    words.emplace_back(texts(), kind);
  for (const char16_t unit : characters) {
    const std::u16string character(1, unit);
    const std::uint16_t code = cp936_double_byte(unit);
    const DictionaryTexts excerpt{
        wubi_data_from(cp936_decode(dictionary_excerpt(files[0], {code}))),
        wubi_data_from(cp936_decode(dictionary_excerpt(files[1], {code}))),
        pinyin_data_from(cp936_decode(dictionary_excerpt(files[2], {code})))};
    int mismatches = pinyin_answer_scan(texts().pinyin_data, character, PinyinStyle::marks) !=
                     book().huoqu(u"拼音", character);
    for (std::size_t k = 0; k < kAllKinds.size(); ++k) {
      const std::u16string_view kind = kind_text(kAllKinds[k]);
      const std::u16string answer = book().huoqu(kind, character);
      mismatches += answer != huoqu_scan(texts(), kind, character);
      mismatches += answer != huoqu_scan(excerpt, kind, character);
      mismatches +=
          words[k].of(unit, code) != std::u16string_view(answer).substr(0, answer.find(u' '));
    }
    ASSERT_EQ(mismatches, 0) << testing::PrintToString(character);
  }
}

}  // namespace
}  // namespace zhavik
