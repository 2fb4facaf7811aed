#include "core/line_conversion.h"

#include <gtest/gtest.h>

#include <string>

#include "core/dictionary_texts.h"

namespace zhavik {
namespace {

// Each line's characters, one item each, so that the line structure shows plainly.
void spell_out(std::u16string_view line, std::u16string& out) {
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (i > 0) out += u' ';
    out += line[i] == u'\r' ? u'R' : line[i];
  }
}

std::u16string convert_in_pieces(std::u16string_view text, std::size_t piece) {
  LineConverter converter(spell_out);
  std::u16string out;
  for (std::size_t i = 0; i < text.size(); i += piece)
    converter.feed(text.substr(i, piece), out);
  converter.finish(out);
  return out;
}

TEST(LineConverter, KeepsEachLinesEndInAnyPieces) {
  // A lone CR is part of its line.
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"", u""},
      {u"ab", u"a b"},
      {u"ab\r\ncd\r\n", u"a b\r\nc d\r\n"},
      {u"a\nb\r\nc", u"a\nb\r\nc"},
      {u"\n\r\n\n", u"\n\r\n\n"},
      {u"a\rb\r", u"a R b R"},
      {u"\r\r\n", u"R\r\n"},
  };
  for (const auto& [text, converted] : cases) {
    for (const std::size_t piece : {1, 2, 100}) {
      EXPECT_EQ(convert_in_pieces(text, piece), converted) << testing::PrintToString(text);
    }
  }
}

// A line without end goes out in pieces joined by one blank, the same items as whole, long
// before the line ends.
TEST(LineConverter, AnEndlessLineGoesOutAsItComes) {
  const std::u16string line(3 * LineConverter::kLongestPiece + 5, u'x');
  LineConverter converter(spell_out);
  std::u16string out;
  for (std::size_t i = 0; i < line.size(); i += 4096)
    converter.feed(line.substr(i, 4096), out);
  EXPECT_GT(out.size(), 4 * LineConverter::kLongestPiece);
  converter.feed(u"\r\n", out);
  std::u16string whole;
  spell_out(line, whole);
  EXPECT_EQ(out, whole + u"\r\n");
}

TEST(LineConverter, CharacterItemsFollowTheBatchRules) {
  FirstWords words(DictionaryTexts{{Kind::pinyin, pinyin_data_from(u"zhong1=中\r\nguo2=国")}},
                   Kind::pinyin);
  LineConverter converter(
      [&](std::u16string_view line, std::u16string& out) { convert_characters(line, words, out); });
  std::u16string out;
  converter.feed(u"中 国a\t，\xD83D\xDE00\r\n  \n中", out);
  converter.finish(out);
  EXPECT_EQ(out, u"zhōng guó ### ### 暂缺 ###\r\n\nzhōng");
}

}  // namespace
}  // namespace zhavik
