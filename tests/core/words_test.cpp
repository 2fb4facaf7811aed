// The word-aware pinyin conversion, fast path and reference alike, on small tables (the real
// data tests the committed files), what lines of the word and counts files must hold, and
// the compiled form of a table.

#include "core/conversion/word_conversion.h"

#include <gtest/gtest.h>

#include "core/conversion/batch.h"

namespace zhavik {
namespace {

void expect_conversions(const CodeBook& book, const std::vector<WordReading>& words,
                        const std::vector<WordCount>& counts, std::u16string_view text,
                        std::u16string_view expected) {
  const WordTable table(words, counts);
  EXPECT_EQ(convert_text_by_words(book, table, text), expected);
  EXPECT_EQ(convert_text_by_words_reference(book, words, counts, text), expected);
}

TEST(WordCutting, FewestPiecesThenTheLongerWordFirstWhenNothingIsCounted) {
  const CodeBook book(DictionaryTexts{
      {Kind::pinyin, pinyin_data_from(u"jia3=甲\r\nyi3=乙\r\nbing3=丙\r\nding1=丁\r\n")}});
  const std::vector<WordReading> words = {
      {u"甲乙", u"jia2 yi2"}, {u"乙丙", u"yi4 bing4"}, {u"乙丙丁", u"yi1 bing1 ding2"},
      {u"甲乙", u"jia5 yi5"},  // a repeated word keeps its first line
      {u"丙", u"bing2"},       // one character is no word
  };
  const struct {
    std::u16string_view text, expected;
  } cases[] = {
      // 甲|乙丙丁 (two pieces) beats 甲乙|丙|丁 (three).
      {u"甲乙丙丁", u"jiǎ yī bīng díng \r\n\r\n"},
      // 甲乙|丙 and 甲|乙丙 tie: the longer word comes first.
      {u"甲乙丙", u"jiá yí bǐng \r\n\r\n"},
      {u"丙甲乙\r\n甲 乙", u"bǐng jiá yí \r\njiǎ yǐ \r\n"},
  };
  for (const auto& c : cases)
    expect_conversions(book, words, {}, c.text, c.expected);
}

// The counts of jieba's corpus for 问明了: 问明 + 了 is likelier than 问 + 明了, and 问明,
// a word without readings, keeps 明了 from matching while its characters read as usual.
TEST(WordCutting, TheLikeliestCutWins) {
  const CodeBook book(DictionaryTexts{
      {Kind::pinyin,
       pinyin_data_from(u"wen4=问\r\nming2=明\r\nle5=了\r\nliao3=了\r\nbai2=白\r\n")}});
  const std::vector<WordReading> words = {{u"明了", u"ming2 liao3"}, {u"明白", u"ming2 bai5"}};
  std::vector<WordCount> counts = {
      {u"问", 34296}, {u"明", 16120}, {u"了", 883634}, {u"问明", 160}, {u"明白", 10875}};
  counts.push_back({u"问", 1});  // a repeated word keeps its first line
  counts.push_back({u"白", 0});  // no count
  const struct {
    std::u16string_view text, expected;
  } cases[] = {
      {u"问明了", u"wèn míng le \r\n\r\n"},
      // A counted word with readings wins where it is likelier: 问 + 明白 + 了.
      {u"问明白了", u"wèn míng bai le \r\n\r\n"},
      // An uncounted one counts 1, and two frequent characters are likelier.
      {u"明了", u"míng le \r\n\r\n"},
  };
  for (const auto& c : cases)
    expect_conversions(book, words, counts, c.text, c.expected);
  // Without counts, 问 + 明了 and 问明 + 了 tie; the longer first word wins.
  expect_conversions(book, words, {{u"问明", 1}}, u"问明了", u"wèn míng le \r\n\r\n");
  // A word known only by its count reads as the words with readings inside it cut it.
  expect_conversions(book, words, {{u"问明白", 5}}, u"问明白", u"wèn míng bai \r\n\r\n");
}

TEST(WordFile, BadLinesAreSkippedAndCounted) {
  const CharacterReadings readings(
      pinyin_data_from(u"yin2=银\r\nhang2=行\r\nxing2=行\r\nzou3=走\r\nnü3=女\r\ner2=儿\r\n"
                       u"shang4=上\r\nlü4=绿\r\nqqq1=银\r\n"));
  const std::string lines =
      "银行\tyin2 hang2\r\n"            // CR LF is fine
      "女儿\tnü3 er5\n"                 // a neutral tone of a syllable the character has
      "\n"                              // empty
      "银行 yin2 hang2\n"               // no tab
      "银\tyin2\n"                      // one character
      "银行\tyin2\n"                    // a reading short
      "银行\tyin2  hang2\n"             // two blanks
      "银行\tYin2 hang2\n"              // not lower case
      "银行\tyin6 hang2\n"              // no such tone
      "银行\tyin2 hangzhuang2\n"        // longer than any syllable
      "银a\tyin2 a1\n"                  // a one-byte character
      "\xe9\x93\xb6\xff\tyin2 hang2\n"  // not UTF-8
      "银行\tqqq1 zzz2\n"               // no syllables (qqq1 is no key the tone marks write)
      "绿行\tlv4 hang2\n"               // lv for lü
      "行走\thang2 zou4\n"              // a tone 走 lacks
      "上行\tshang5 xing2\n"
      "行走\txing2 zou3";       // no line end after the last line
  std::string too_long = "\t";  // 33 characters
  for (int i = 0; i < 33; ++i)
    too_long = "一" + too_long + (i == 0 ? "yi1" : " yi1");
  const WordList list = parse_word_pinyin(too_long + "\n" + lines, readings);
  ASSERT_EQ(list.words.size(), 4u);
  EXPECT_EQ(list.words[0].word, u"银行");
  EXPECT_EQ(list.words[1].readings, u"nü3 er5");
  EXPECT_EQ(list.words[2].word, u"上行");
  EXPECT_EQ(list.words[3].word, u"行走");
  EXPECT_EQ(list.malformed_lines, 11u);
  EXPECT_EQ(list.unknown_readings, 3u);
}

TEST(WordCountsFile, BadLinesAreSkippedAndCounted) {
  const CountList list = parse_word_counts(
      "的\t318825\r\n"
      "银行\t4294967295\n"
      "银行\t4294967296\n"  // too large
      "银行\t0\n"
      "银行\t-1\n"
      "银行\t+1\n"
      "银行\t\n"
      "银行 7\n"
      "a\t7\n"
      "\n"
      "问明\t160");
  ASSERT_EQ(list.counts.size(), 3u);
  EXPECT_EQ(list.counts[0].count, 318825u);
  EXPECT_EQ(list.counts[1].count, 4294967295u);
  EXPECT_EQ(list.counts[2].word, u"问明");
  EXPECT_EQ(list.malformed_lines, 8u);
}

// The compiled form loads back into the same table; bytes of another size or key are refused.
TEST(CompiledWordTable, LoadsBackOnlyWhatWasWrittenForTheKey) {
  const CodeBook book(DictionaryTexts{
      {Kind::pinyin, pinyin_data_from(u"wen4=问\r\nming2=明\r\nle5=了\r\nliao3=了\r\n")}});
  const WordTable table({{u"明了", u"ming2 liao3"}}, {{u"问明", 160}, {u"了", 883634}});
  const std::string bytes = table.to_bytes(42, {1, 2, 3, 4});
  std::array<std::uint64_t, WordTable::kNotes> notes{};
  const std::optional<WordTable> loaded = WordTable::from_bytes(bytes, 42, notes);
  ASSERT_TRUE(loaded);
  EXPECT_EQ((notes), (std::array<std::uint64_t, WordTable::kNotes>{1, 2, 3, 4}));
  for (const std::u16string_view text : {u"问明了", u"明了"})
    EXPECT_EQ(convert_text_by_words(book, *loaded, text), convert_text_by_words(book, table, text));

  for (const std::string& damaged :
       {bytes.substr(0, bytes.size() - 1), bytes + '\0', "XX" + bytes.substr(2)}) {
    EXPECT_FALSE(WordTable::from_bytes(damaged, 42, notes));
  }
  EXPECT_FALSE(WordTable::from_bytes(bytes, 43, notes));  // made from other files
}

}  // namespace
}  // namespace zhavik
