// A character's answer in each kind, as a list and as the window shows it, and the batch
// conversion (one first word per character, one line of result per line of text), asked of
// both the plain scan and the indexed code book.

#include <gtest/gtest.h>

#include "core/conversion/batch.h"
#include "core/dictionary/code_book.h"
#include "core/dictionary/lookup_scan.h"

namespace zhavik {
namespace {

class Lookup : public testing::Test {
 protected:
  // The last Wubi line has no line break.
  const DictionaryTexts texts_{
      {Kind::wubi86, wubi_data_from(u"工 a aaaa\r\n工  aaaa  \r\n好 vb vbg\r\n旧 kbsk\r\n旧 bsk\r\n"
                                    u"星 jtg*x\r\n空\r\n你 wq wqiy\r\n尾 nt ntf")},
      {Kind::wubi98, wubi_data_from(u"好 vbg\r\n")},
      {Kind::pinyin,
       pinyin_data_from(u"a1=啊阿\r\na4=啊\r\nhao3=好\r\nhao4=好号 号\r\nlü4=绿\r\nlüe4=略\r\n"
                        u"中x1=中\r\nni3=你\r\nwo3=我\r\n")}};
  const CodeBook book_{texts_};
};

TEST_F(Lookup, AnswersInEachKind) {
  // Pinyin lists every record in file order: 号 stands twice in one record (the blank is no
  // separator), the first 中 stands in a key and gives no reading. Wubi lists the distinct
  // codes of all lines; jtg*x is one code, whose "*" shows as a blank. The area/position code
  // exists inside GB2312 only: not for 丂 (0x8140, GBK) nor ˊ (0xA840, its trail byte below
  // 0xA1). A longer argument is searched as a whole.
  using Items = std::vector<std::u16string>;
  const struct {
    Kind kind;
    std::u16string_view character;
    Items items;
    std::u16string_view text;
  } cases[] = {{Kind::quwei, u"😀", {}, u"不是汉字"},
               {Kind::pinyin, u"", {}, u""},
               {Kind::pinyin, u"啊", {u"ā", u"à"}, u"ā  à  "},
               {Kind::pinyin, u"好", {u"hǎo", u"hào"}, u"hǎo  hào  "},
               {Kind::pinyin, u"号", {u"hào", u"hào"}, u"hào  hào  "},
               {Kind::pinyin, u"绿", {u"lǜ"}, u"lǜ  "},
               {Kind::pinyin, u"略", {u"lüè"}, u"lüè  "},
               {Kind::pinyin, u"中", {u"中x1"}, u"中x1  "},
               {Kind::pinyin, u"工", {}, u"暂缺"},
               {Kind::wubi86, u"工", {u"a", u"aaaa"}, u"a aaaa "},
               {Kind::wubi86, u"旧", {u"kbsk", u"bsk"}, u"kbsk bsk "},
               {Kind::wubi86, u"星", {u"jtg*x"}, u"jtg x "},
               {Kind::wubi86, u"空", {}, u"暂缺"},
               {Kind::wubi86, u"尾", {u"nt", u"ntf"}, u"nt ntf "},
               {Kind::wubi98, u"好", {u"vbg"}, u"vbg "},
               {Kind::quwei, u"啊", {u"1601"}, u"1601"},
               {Kind::quwei, u"，", {u"0312"}, u"0312"},
               {Kind::quwei, u"丂", {}, u"暂缺"},
               {Kind::quwei, u"ˊ", {}, u"暂缺"},
               {Kind::pinyin, u"好号", {u"hào"}, u"hào  "},
               {Kind::quwei, u"好号", {u"2635"}, u"2635"},
               {Kind::wubi86, u"a好", {}, u"不是汉字"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "row " << &c - cases);
    const Answer answer = answer_scan(texts_, c.kind, c.character);
    EXPECT_EQ(answer.items, c.items);
    EXPECT_EQ(answer_text(shape_of(c.kind), answer), c.text);
    EXPECT_EQ(book_.answer(c.kind, c.character), answer);
  }
}

// An answer keeps the readings or codes that fit whole, up to the first that does not;
// repeated codes take no room. The batch conversion's first word follows the answer.
TEST_F(Lookup, AnswersAreCutAtAWholeReadingOrCode) {
  const struct {
    std::size_t max_answer;
    Kind kind;
    std::u16string_view character, answer, converted;
  } cases[] = {
      {10, Kind::pinyin, u"好", u"hǎo  hào  ", u"hǎo "},
      {9, Kind::pinyin, u"好", u"hǎo  ", u"hǎo "},
      {4, Kind::pinyin, u"好", u"暂缺", u"暂缺 "},
      {7, Kind::wubi86, u"工", u"a aaaa ", u"a "},  // aaaa twice
      {6, Kind::wubi86, u"工", u"a ", u"a "},
      {8, Kind::wubi86, u"星", u"jtg x ", u"jtg "},  // jtg*x is one code of five
      {5, Kind::wubi86, u"星", u"暂缺", u"暂缺 "},
  };
  for (const auto& item : cases) {
    SCOPED_TRACE(testing::Message() << item.max_answer << " units");
    const CodeBook book(texts_, item.max_answer);
    EXPECT_EQ(huoqu_scan(texts_, item.kind, item.character, item.max_answer), item.answer);
    EXPECT_EQ(book.huoqu(item.kind, item.character), item.answer);
    EXPECT_EQ(convert_text(book, item.character, item.kind),
              std::u16string(item.converted) + u"\r\n\r\n");
  }
}

TEST_F(Lookup, BatchConversionLineByLine) {
  using namespace std::string_view_literals;
  const struct {
    std::u16string_view text;
    Kind kind;
    std::u16string_view expected;
  } cases[] = {
      {u"", Kind::pinyin, u"\r\n\r\n"},
      {u"你\r\n我", Kind::pinyin, u"nǐ \r\nwǒ \r\n"},
      {u"你\r我\n", Kind::pinyin, u"nǐ ### wǒ ### \r\n\r\n"},  // a lone CR or LF is no Chinese
      {u"\r\r\n", Kind::pinyin, u"### \r\n\r\n"},
      {u"ab 1", Kind::quwei, u"### ### ### \r\n\r\n"},
      {u"\t你", Kind::wubi86, u"### wq \r\n\r\n"},
      {u"你，\u3000", Kind::pinyin, u"nǐ 暂缺 暂缺 \r\n\r\n"},
      {u"你，", Kind::quwei, u"3667 0312 \r\n\r\n"},
      {u"你", Kind::wubi98, u"暂缺 \r\n\r\n"},
      // Units that are no characters (lone surrogates, U+0000, U+FFFF); a pair is one.
      {u"\xD800你\xDC00"
       u"a\0\xFFFF😀\r\n\xDBFF"sv,
       Kind::pinyin, u"### nǐ ### ### ### ### ### \r\n### \r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::u16string(c.text)));
    EXPECT_EQ(convert_text(book_, c.text, c.kind), c.expected);
    EXPECT_EQ(convert_text_scan(texts_, c.text, c.kind), c.expected);
  }
}

// A whole dictionary saved with bare LF line ends: every character's codes run to the end of
// the file. The conversion keeps each character's first code only and must take no longer
// than with proper records; a query lists every distinct code once.
TEST(LookupDegenerate, DictionaryWithoutCrLfConvertsAtOnce) {
  const std::u16string codes[] = {u"ab", u"cd*e", u"ab", u"fg"};
  std::u16string file, text, first_codes;
  for (int i = 0; i < 20000; ++i) {
    const char16_t character = static_cast<char16_t>(u'一' + i);
    file += character + (u" " + codes[i % 4] + u"  " + codes[(i + 1) % 4] + u"\n");
    text += character;
    first_codes += i % 4 == 1 ? u"cd " : codes[i % 4] + u" ";
  }
  const DictionaryTexts texts{{Kind::wubi86, wubi_data_from(file)}};
  const CodeBook book(texts);
  EXPECT_TRUE(convert_text(book, text, Kind::wubi86) == first_codes + u"\r\n\r\n");
  // The scan is slow on the characters whose codes run far, but agrees on the last ones.
  const std::u16string last = text.substr(19990) + u"a";
  EXPECT_EQ(convert_text(book, last, Kind::wubi86), convert_text_scan(texts, last, Kind::wubi86));
  EXPECT_EQ(book.huoqu(Kind::wubi86, u"丁").substr(0, 16), u"cd e ab\n丂 ab fg\n");
}

// A text that does not begin with "^" (not one the loader makes): a character standing
// before the first record ends its scan before anything is found.
TEST(LookupDegenerate, CharacterBeforeTheFirstRecord) {
  const DictionaryTexts texts{{Kind::pinyin, u"好^hao3=好^"}};
  EXPECT_EQ(huoqu_scan(texts, Kind::pinyin, u"好"), u"暂缺");
  EXPECT_EQ(CodeBook(texts).huoqu(Kind::pinyin, u"好"), u"暂缺");
}

}  // namespace
}  // namespace zhavik
