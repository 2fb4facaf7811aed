#include "core/query.h"

#include <gtest/gtest.h>

namespace zhavik {
namespace {

class Query : public testing::Test {
 protected:
  void SetUp() override {
    DictionaryTexts texts;
    texts.pinyin_data = pinyin_data_from(u"hao3=好\r\nhao4=好\r\n");
    texts.wubi86_data = wubi_data_from(u"好 vb vbg\r\n");
    texts.wubi98_data = wubi_data_from(u"工 a\r\n");
    book_ = CodeBook(std::move(texts));
  }
  CodeBook book_;
};

TEST_F(Query, InputIsTrimmedAndCutToItsFirstCharacter) {
  const QueryResult result = run_query(book_, u"  好人 ");
  EXPECT_EQ(result.character, u"好");
  EXPECT_EQ(result.answers[0], u"hǎo  hào  ");
  EXPECT_EQ(result.answers[1], u"vb vbg ");
  EXPECT_EQ(result.answers[2], u"暂缺");
  EXPECT_EQ(result.answers[3], u"2635");
  // Asked again with the normalised input: the same.
  EXPECT_EQ(run_query(book_, result.character).answers, result.answers);
}

TEST_F(Query, BlankAndNonChineseInputs) {
  for (const std::u16string_view blank : {u"", u"   "}) {
    const QueryResult result = run_query(book_, blank);
    EXPECT_EQ(result.character, u"");
    EXPECT_EQ(result.answers, (std::array<std::u16string, 4>{}));
  }
  const std::array<std::u16string, 4> not_chinese = {u"不是汉字", u"不是汉字", u"不是汉字",
                                                     u"不是汉字"};
  for (const auto& [input, character] :
       {std::pair<std::u16string_view, std::u16string_view>{u"ab", u"a"},
        {u"\t好", u"\t"},
        {u" 😀好", u"😀"}}) {
    const QueryResult result = run_query(book_, input);
    EXPECT_EQ(result.character, character);
    EXPECT_EQ(result.answers, not_chinese);
  }
}

}  // namespace
}  // namespace zhavik
