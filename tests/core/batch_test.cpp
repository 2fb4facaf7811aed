#include "core/batch.h"

#include <gtest/gtest.h>

namespace zhavik {
namespace {

class Batch : public testing::Test {
 protected:
  void SetUp() override {
    texts_.pinyin_data = pinyin_data_from(u"ni3=你\r\nwo3=我\r\nhang2=行\r\nxing2=行\r\n");
    texts_.wubi86_data = wubi_data_from(u"你 wq wqiy\r\n我 q trnt\r\n");
    book_ = CodeBook(texts_);
  }

  // Both the indexed and the scanning conversion must give `expected`.
  void expect(std::u16string_view text, std::u16string_view kind, std::u16string_view expected) {
    EXPECT_EQ(convert_text(book_, text, kind), expected);
    EXPECT_EQ(convert_text_scan(texts_, text, kind), expected);
  }

  DictionaryTexts texts_;
  CodeBook book_;
};

TEST_F(Batch, LineStructure) {
  expect(u"", u"拼音", u"\r\n\r\n");
  expect(u"你我", u"拼音", u"nǐ wǒ \r\n\r\n");
  expect(u"你\r\n我", u"拼音", u"nǐ \r\nwǒ \r\n");
  expect(u"你\r\n", u"拼音", u"nǐ \r\n\r\n");
  expect(u"\r\n\r\n", u"拼音", u"\r\n\r\n\r\n");
  // A lone CR or LF is a character that is not Chinese.
  expect(u"你\r我\n", u"拼音", u"nǐ ### wǒ ### \r\n\r\n");
  expect(u"\r\r\n", u"拼音", u"### \r\n\r\n");
}

TEST_F(Batch, EachCharacterBecomesItsFirstWord) {
  expect(u"ab 1", u"区位", u"### ### ### \r\n\r\n");
  expect(u"\t你", u"86五笔", u"### wq \r\n\r\n");
  expect(u"行", u"拼音", u"háng \r\n\r\n");
  expect(u"我", u"86五笔", u"q \r\n\r\n");
  expect(u"你，\u3000", u"拼音", u"nǐ 暂缺 暂缺 \r\n\r\n");
  expect(u"你，", u"区位", u"3667 0312 \r\n\r\n");
  expect(u"丂", u"区位", u"暂缺 \r\n\r\n");
  expect(u"你", u"98五笔", u"暂缺 \r\n\r\n");
  expect(u"你", u"其他", u" \r\n\r\n");
}

}  // namespace
}  // namespace zhavik
