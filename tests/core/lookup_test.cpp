// A character's answer in each kind and the batch conversion (one first word per character,
// one line of result per line of text), asked of both the plain scan and the indexed code book.

#include <gtest/gtest.h>

#include "core/batch.h"
#include "core/code_book.h"
#include "core/lookup_scan.h"

namespace zhavik {
namespace {

class Lookup : public testing::Test {
 protected:
  // The last Wubi line has no line break.
  const DictionaryTexts texts_{
      wubi_data_from(u"工 a aaaa\r\n工  aaaa  \r\n好 vb vbg\r\n旧 kbsk\r\n旧 bsk\r\n"
                     u"星 jtg*x\r\n空\r\n你 wq wqiy\r\n尾 nt ntf"),
      wubi_data_from(u"好 vbg\r\n"),
      pinyin_data_from(u"a1=啊阿\r\na4=啊\r\nhao3=好\r\nhao4=好号 号\r\nlü4=绿\r\nlüe4=略\r\n"
                       u"中x1=中\r\nni3=你\r\nwo3=我\r\n")};
  const CodeBook book_{texts_};
};

TEST_F(Lookup, AnswersInEachKind) {
  // Pinyin lists every record in file order: 号 stands twice in one record (the blank is no
  // separator), the first 中 stands in a key and gives no reading. Wubi lists the distinct
  // codes of all lines. The area/position code exists inside GB2312 only: not for 丂 (0x8140,
  // GBK) nor ˊ (0xA840, its trail byte below 0xA1). A longer argument is searched as a whole.
  const struct {
    std::u16string_view kind, character, answer;
  } cases[] = {{u"区位", u"😀", u"不是汉字"},    {u"拼音", u"啊", u"ā  à  "},
               {u"拼音", u"好", u"hǎo  hào  "}, {u"拼音", u"号", u"hào  hào  "},
               {u"拼音", u"绿", u"lǜ  "},       {u"拼音", u"略", u"lüè  "},
               {u"拼音", u"中", u"中x1  "},     {u"拼音", u"工", u"暂缺"},
               {u"86五笔", u"工", u"a aaaa "},  {u"86五笔", u"旧", u"kbsk bsk "},
               {u"86五笔", u"星", u"jtg x "},   {u"86五笔", u"空", u"暂缺"},
               {u"86五笔", u"尾", u"nt ntf "},  {u"98五笔", u"好", u"vbg "},
               {u"区位", u"啊", u"1601"},       {u"区位", u"，", u"0312"},
               {u"区位", u"丂", u"暂缺"},       {u"区位", u"ˊ", u"暂缺"},
               {u"拼音", u"好号", u"hào  "},    {u"区位", u"好号", u"2635"},
               {u"86五笔", u"a好", u"不是汉字"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "row " << &c - cases);
    EXPECT_EQ(huoqu_scan(texts_, c.kind, c.character), c.answer);
    EXPECT_EQ(book_.huoqu(c.kind, c.character), c.answer);
  }
}

// An answer keeps the readings or codes that fit whole, up to the first that does not;
// repeated codes take no room. The batch conversion's first word follows the answer.
TEST_F(Lookup, AnswersAreCutAtAWholeReadingOrCode) {
  const struct {
    std::size_t max_answer;
    std::u16string_view kind, character, answer, converted;
  } cases[] = {
      {10, u"拼音", u"好", u"hǎo  hào  ", u"hǎo "},
      {9, u"拼音", u"好", u"hǎo  ", u"hǎo "},
      {4, u"拼音", u"好", u"暂缺", u"暂缺 "},
      {7, u"86五笔", u"工", u"a aaaa ", u"a "},  // aaaa twice
      {6, u"86五笔", u"工", u"a ", u"a "},
      {8, u"86五笔", u"星", u"jtg x ", u"jtg "},  // jtg*x is one code of five
      {5, u"86五笔", u"星", u"暂缺", u"暂缺 "},
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
    std::u16string_view text, kind, expected;
  } cases[] = {
      {u"", u"拼音", u"\r\n\r\n"},
      {u"你\r\n我", u"拼音", u"nǐ \r\nwǒ \r\n"},
      {u"你\r我\n", u"拼音", u"nǐ ### wǒ ### \r\n\r\n"},  // a lone CR or LF is no Chinese
      {u"\r\r\n", u"拼音", u"### \r\n\r\n"},
      {u"ab 1", u"区位", u"### ### ### \r\n\r\n"},
      {u"\t你", u"86五笔", u"### wq \r\n\r\n"},
      {u"你，\u3000", u"拼音", u"nǐ 暂缺 暂缺 \r\n\r\n"},
      {u"你，", u"区位", u"3667 0312 \r\n\r\n"},
      {u"你", u"98五笔", u"暂缺 \r\n\r\n"},
      {u"你", u"其他", u" \r\n\r\n"},
      // Units that are no characters (lone surrogates, U+0000, U+FFFF); a pair is one.
      {u"\xD800你\xDC00"
       u"a\0\xFFFF😀\r\n\xDBFF"sv,
       u"拼音", u"### nǐ ### ### ### ### ### \r\n### \r\n"},
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
  const DictionaryTexts texts{wubi_data_from(file), {}, {}};
  const CodeBook book(texts);
  EXPECT_TRUE(convert_text(book, text, u"86五笔") == first_codes + u"\r\n\r\n");
  // The scan is slow on the characters whose codes run far, but agrees on the last ones.
  const std::u16string last = text.substr(19990) + u"a";
  EXPECT_EQ(convert_text(book, last, u"86五笔"), convert_text_scan(texts, last, u"86五笔"));
  EXPECT_EQ(book.huoqu(u"86五笔", u"丁").substr(0, 16), u"cd e ab\n丂 ab fg\n");
}

// A text that does not begin with "^" (not one the loader makes): a character standing
// before the first record ends its scan before anything is found.
TEST(LookupDegenerate, CharacterBeforeTheFirstRecord) {
  const DictionaryTexts texts{{}, {}, u"好^hao3=好^"};
  EXPECT_EQ(huoqu_scan(texts, u"拼音", u"好"), u"暂缺");
  EXPECT_EQ(CodeBook(texts).huoqu(u"拼音", u"好"), u"暂缺");
}

}  // namespace
}  // namespace zhavik
