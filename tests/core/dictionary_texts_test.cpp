#include "core/dictionary_texts.h"

#include "tests/core/dictionary_folder.h"

#include <gtest/gtest.h>

namespace zhavik {
namespace {

TEST(DictionaryTexts, PinyinTextClosesEveryRecord) {
  EXPECT_EQ(pinyin_data_from(u"a1=啊阿\r\na2=啊\r\n"), u"^a1=啊阿^a2=啊^^");
  EXPECT_EQ(pinyin_data_from(u"a1=啊阿\r\na2=啊"), u"^a1=啊阿^a2=啊^");
  EXPECT_EQ(pinyin_data_from(u""), u"^^");
}

TEST(DictionaryTexts, OnlyCrLfSeparatesRecords) {
  EXPECT_EQ(wubi_data_from(u"工 a aaaa\r\n经xcag\r\n"), u"^工 a aaaa^经xcag^");
  EXPECT_EQ(wubi_data_from(u"工 a aaaa\r\n经xcag"), u"^工 a aaaa^经xcag");
  EXPECT_EQ(wubi_data_from(u"工 a\n经 x\r工"), u"^工 a\n经 x\r工");
  EXPECT_EQ(wubi_data_from(u"\r\r\n\n"), u"^\r^\n");
  EXPECT_EQ(wubi_data_from(u""), u"^");
}

TEST_F(DictionaryFolder, AMissingFileLeavesOnlyItsTextEmpty) {
  write(kWubi86File, "\xBA\xC3 vb\r\n");
  write(kPinyinFile, "");
  std::filesystem::create_directory(folder_ / "img" / "2.jpg");  // there, but not a file
  std::vector<std::filesystem::path> unreadable;
  const DictionaryTexts texts = load_dictionary_texts(folder_, &unreadable);
  EXPECT_EQ(texts.wubi86_data, u"^好 vb^");
  EXPECT_EQ(texts.wubi98_data, u"");
  EXPECT_EQ(texts.pinyin_data, u"^^");
  ASSERT_EQ(unreadable.size(), 1u);
  EXPECT_EQ(unreadable[0], folder_ / kWubi98File);

  const DictionaryTexts none = load_dictionary_texts(folder_ / "nowhere");
  EXPECT_EQ(none.wubi86_data, u"");
  EXPECT_EQ(none.pinyin_data, u"");
}

}  // namespace
}  // namespace zhavik
