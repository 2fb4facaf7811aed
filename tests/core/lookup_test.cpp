#include <gtest/gtest.h>

#include "core/batch.h"
#include "core/code_book.h"
#include "core/lookup_scan.h"

namespace zhavik {
namespace {

// Every case is asked of both the plain scan and the indexed code book.
class Lookup : public testing::Test {
 protected:
  void SetUp() override {
    texts_.pinyin_data = pinyin_data_from(
        u"a1=啊阿\r\n"
        u"a4=啊\r\n"
        u"hao3=好\r\n"
        u"hao4=好号 号\r\n"
        u"lü4=绿\r\n"
        u"lüe4=略\r\n"
        u"中x1=中\r\n");
    texts_.wubi86_data = wubi_data_from(
        u"工 a aaaa\r\n"
        u"工  aaaa  \r\n"
        u"好 vb vbg\r\n"
        u"旧 kbsk\r\n"
        u"旧 bsk\r\n"
        u"星 jtg*x\r\n"
        u"空\r\n"
        u"尾 nt ntf");  // the last line has no line break
    texts_.wubi98_data = wubi_data_from(u"好 vbg\r\n");
    book_ = CodeBook(texts_);
  }

  void expect(std::u16string_view kind, std::u16string_view character, std::u16string_view answer) {
    EXPECT_EQ(huoqu_scan(texts_, kind, character), answer) << "scan";
    EXPECT_EQ(book_.huoqu(kind, character), answer) << "code book";
  }

  void expect_every_kind(std::u16string_view character, std::u16string_view answer) {
    for (const Kind kind : kAllKinds)
      expect(kind_text(kind), character, answer);
  }

  DictionaryTexts texts_;
  CodeBook book_;
};

TEST_F(Lookup, MarkersBeforeAnyDictionaryIsRead) {
  expect_every_kind(u"", u"");
  expect_every_kind(u"a", u"不是汉字");
  expect_every_kind(u"€", u"不是汉字");
  expect_every_kind(u"😀", u"不是汉字");
  expect_every_kind(std::u16string(1, u'\0'), u"不是汉字");
  expect(u"pinyin", u"好", u"");
  expect(u"拼音 ", u"好", u"");
  expect(u"pinyin", u"a", u"不是汉字");
}

TEST_F(Lookup, PinyinListsEveryRecordInFileOrder) {
  expect(u"拼音", u"啊", u"ā  à  ");
  expect(u"拼音", u"好", u"hǎo  hào  ");
  // Listed twice in one record (the blank between is no separator): two readings.
  expect(u"拼音", u"号", u"hào  hào  ");
  expect(u"拼音", u"绿", u"lǜ  ");
  expect(u"拼音", u"略", u"lüè  ");
  // The first 中 stands in a key and gives no reading.
  expect(u"拼音", u"中", u"中x1  ");
  expect(u"拼音", u"工", u"暂缺");
}

TEST_F(Lookup, WubiListsDistinctCodesOfAllLines) {
  expect(u"86五笔", u"工", u"a aaaa ");
  expect(u"86五笔", u"旧", u"kbsk bsk ");
  expect(u"86五笔", u"星", u"jtg x ");
  expect(u"86五笔", u"空", u"暂缺");
  expect(u"86五笔", u"尾", u"nt ntf ");
  expect(u"98五笔", u"好", u"vbg ");
  expect(u"98五笔", u"工", u"暂缺");
}

TEST_F(Lookup, AreaPositionCodeInsideGb2312Only) {
  expect(u"区位", u"啊", u"1601");
  expect(u"区位", u"中", u"5448");
  expect(u"区位", u"好", u"2635");
  expect(u"区位", u"，", u"0312");
  expect(u"拼音", u"，", u"暂缺");
  expect(u"区位", u"丂", u"暂缺");  // 0x8140, GBK beyond GB2312
  expect(u"区位", u"ˊ", u"暂缺");   // 0xA840: the trail byte is below 0xA1
}

TEST_F(Lookup, LongerArgumentIsSearchedAsAWhole) {
  expect(u"拼音", u"好号", u"hào  ");
  expect(u"区位", u"好号", u"2635");
  expect(u"86五笔", u"a好", u"不是汉字");
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

// A whole dictionary saved with bare LF line ends: every character's codes run to the end of
// the file. The conversion keeps each character's first code only and must take no longer
// than with proper records; a query lists every distinct code once.
TEST(LookupDegenerate, DictionaryWithoutCrLfConvertsAtOnce) {
  const std::u16string codes[] = {u"ab", u"cd*e", u"ab", u"fg"};
  std::u16string file;
  std::u16string text;
  for (int i = 0; i < 20000; ++i) {
    const char16_t character = static_cast<char16_t>(u'一' + i);
    file += character + (u" " + codes[i % 4] + u"  " + codes[(i + 1) % 4] + u"\n");
    text += character;
  }
  DictionaryTexts texts;
  texts.wubi86_data = wubi_data_from(file);
  const CodeBook book(texts);

  std::u16string first_codes;
  for (int i = 0; i < 20000; ++i)
    first_codes += i % 4 == 1 ? u"cd " : codes[i % 4] + u" ";
  EXPECT_TRUE(convert_text(book, text, u"86五笔") == first_codes + u"\r\n\r\n");
  // The scan is slow on the characters whose codes run far, but agrees on the last ones.
  const std::u16string last = text.substr(19990) + u"a";
  EXPECT_EQ(convert_text(book, last, u"86五笔"), convert_text_scan(texts, last, u"86五笔"));

  EXPECT_EQ(book.huoqu(u"86五笔", u"丁").substr(0, 16), u"cd e ab\n丂 ab fg\n");
}

// A text that does not begin with "^" (not one the loader makes): a character standing
// before the first record ends its scan before anything is found.
TEST(LookupDegenerate, CharacterBeforeTheFirstRecord) {
  DictionaryTexts texts;
  texts.pinyin_data = u"好^hao3=好^";
  const CodeBook book(texts);
  EXPECT_EQ(huoqu_scan(texts, u"拼音", u"好"), u"暂缺");
  EXPECT_EQ(book.huoqu(u"拼音", u"好"), u"暂缺");
}

}  // namespace
}  // namespace zhavik
