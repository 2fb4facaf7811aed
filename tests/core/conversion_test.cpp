// The one way every conversion goes: the item of each character, the layouts, the lines of
// a text that arrives in pieces, and the pinyin formats of the word conversion.

#include "core/conversion/conversion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/conversion/word_conversion.h"
#include "core/dictionary/code_book.h"
#include "core/dictionary/first_words.h"
#include "core/pinyin/word_table.h"

namespace zhavik {
namespace {

const DictionaryTexts& texts() {
  static const DictionaryTexts loaded = load_dictionary_texts(ZHAVIK_SOURCE_DIR);
  return loaded;
}

std::u16string convert(std::u16string_view text, Kind kind, TextLayout layout) {
  FirstWords words(texts(), kind);
  CharacterByCharacter conversion(
      [&](char16_t unit, std::uint16_t code) { return words.of(unit, code); });
  return convert_whole_text(conversion, text, layout);
}

TEST(Conversion, EachLayoutOnRealData) {
  using enum TextLayout;
  const struct {
    std::u16string_view text;
    Kind kind;
    TextLayout layout;
    std::u16string_view expected;
  } cases[] = {
      // Punctuation the dictionary lacks, Latin letters and digits.
      {u"你好，世界！Hello 2026年", Kind::pinyin, window,
       u"nǐ hǎo 暂缺 shì jiè 暂缺 ### ### ### ### ### ### ### ### ### nián \r\n\r\n"},
      {u"你好，世界！Hello 2026年", Kind::pinyin, command_line,
       u"nǐ hǎo 暂缺 shì jiè 暂缺 ### ### ### ### ### ### ### ### ### nián"},
      {u"你好，世界！Hello 2026年", Kind::pinyin, keep, u"nǐ hǎo ， shì jiè ！ Hello 2026 nián"},
      // Blanks, tabs and the ideographic space of the text stay and separate by themselves.
      {u"你 好\t中\u3000国  a中b（c）", Kind::pinyin, keep,
       u"nǐ hǎo\tzhōng\u3000guó  a zhōng b （ c ）"},
      {u"你 好\t中", Kind::pinyin, command_line, u"nǐ hǎo ### zhōng"},
      // Line ends: only CR LF in the window, where a lone LF or CR is a character of its
      // line; LF or CR LF as they come at the command line.
      {u"中\n国\r\n人\r", Kind::pinyin, window, u"zhōng ### guó \r\nrén ### \r\n"},
      {u"中\n国\r\n人\r", Kind::pinyin, command_line, u"zhōng\nguó\r\nrén ###"},
      {u"中\n国\r\n人\r", Kind::pinyin, keep, u"zhōng\nguó\r\nrén \r"},
      {u"\r\n\n", Kind::pinyin, keep, u"\r\n\n"},
      // A pair beyond the Basic Multilingual Plane is one character.
      {u"中\xD83D\xDE00国", Kind::pinyin, command_line, u"zhōng ### guó"},
      {u"中\xD83D\xDE00国", Kind::pinyin, keep, u"zhōng \xD83D\xDE00 guó"},
      // Codes: a character a table lacks stays as it is; GB2312 gives punctuation a code.
      {u"好中，a", Kind::wubi86, keep, u"vb k ， a"},
      {u"好，a", Kind::quwei, keep, u"2635 0312 a"},
      {u"好，a", Kind::quwei, command_line, u"2635 0312 ###"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(convert(c.text, c.kind, c.layout), c.expected)
        << testing::PrintToString(std::u16string(c.text)) << " layout "
        << static_cast<int>(c.layout);
  }
}

// A line without end goes out in pieces, long before the line ends, the same items as whole.
TEST(Conversion, AnEndlessLineGoesOutAsItComes) {
  const std::u16string line(3 * ConversionPipeline::kLongestPiece + 5, u'中');
  FirstWords words(texts(), Kind::pinyin);
  CharacterByCharacter conversion(
      [&](char16_t unit, std::uint16_t code) { return words.of(unit, code); });
  for (const TextLayout layout : {TextLayout::command_line, TextLayout::keep}) {
    std::u16string out;
    TextLayoutWriter writer(layout, out);
    ConversionPipeline pipeline(conversion, writer);
    for (std::size_t i = 0; i < line.size(); i += 4096)
      pipeline.feed(std::u16string_view(line).substr(i, 4096));
    EXPECT_GT(out.size(), 3 * ConversionPipeline::kLongestPiece);
    pipeline.feed(u"\r\n");
    EXPECT_EQ(out, convert_whole_text(conversion, line + u"\r\n", layout));
  }
}

// The word conversion restyles the readings it has with tone marks: every key of the pinyin
// dictionary, each given to a character of its own, comes out in every format as the plain
// conversion writes it from the key itself.
TEST(Conversion, WordReadingsInEveryFormat) {
  std::u16string data, text;
  char16_t character = 0x6000;  // characters no rule of context reads
  for_each_record(texts()[Kind::pinyin], [&](std::u16string_view record) {
    const std::size_t equals = record.find(u'=');
    if (equals == std::u16string_view::npos) return;
    data += std::u16string(record.substr(0, equals)) + u'=' + character + u"\r\n";
    text += character++;
  });
  ASSERT_GT(text.size(), 1400u);
  const DictionaryTexts own{{Kind::pinyin, pinyin_data_from(data)}};
  const CodeBook book(own);
  const WordTable no_words;
  for (const PinyinStyleName& style : kPinyinStyleNames) {
    for (const UmlautSpelling umlaut : {UmlautSpelling::u_umlaut, UmlautSpelling::v}) {
      const PinyinFormat format(style.style, umlaut);
      FirstWords words(own, Kind::pinyin, format);
      CharacterByCharacter plain(
          [&](char16_t unit, std::uint16_t code) { return words.of(unit, code); });
      WordConversion by_words(book, no_words, false, format);
      EXPECT_EQ(convert_whole_text(by_words, text, TextLayout::command_line),
                convert_whole_text(plain, text, TextLayout::command_line))
          << style.name;
    }
  }
}

}  // namespace
}  // namespace zhavik
