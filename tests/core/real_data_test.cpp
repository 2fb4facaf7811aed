// The committed dictionaries: a few facts a user relies on, and the indexed lookup against
// the plain scan on every character they hold.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <thread>

#include "core/batch.h"
#include "core/browser.h"
#include "core/code_book.h"
#include "core/cp936.h"
#include "core/lookup_scan.h"
#include "core/query.h"

namespace zhavik {
namespace {

class RealData : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    texts_ = new DictionaryTexts(load_dictionary_texts(ZHAVIK_SOURCE_DIR));
    book_ = new CodeBook(*texts_);
  }
  static void TearDownTestSuite() {
    delete book_;
    delete texts_;
  }

  // Every character that code page 936 writes with two bytes in any of the texts.
  static std::vector<char16_t> dictionary_characters() {
    std::set<char16_t> seen;
    for (const std::u16string* text :
         {&texts_->pinyin_data, &texts_->wubi86_data, &texts_->wubi98_data}) {
      for (const char16_t unit : *text) {
        if (cp936_double_byte(unit) != 0) seen.insert(unit);
      }
    }
    return {seen.begin(), seen.end()};
  }

  static DictionaryTexts* texts_;
  static CodeBook* book_;
};

DictionaryTexts* RealData::texts_ = nullptr;
CodeBook* RealData::book_ = nullptr;

TEST_F(RealData, KnownCharacters) {
  const QueryResult hao = run_query(*book_, u"好");
  EXPECT_EQ(hao.answers[0], u"hǎo  hào  ");
  EXPECT_NE(hao.answers[1].find(u"vbg "), std::u16string::npos);
  EXPECT_NE(hao.answers[2].find(u"vbg "), std::u16string::npos);
  EXPECT_EQ(hao.answers[3], u"2635");
  // A character's usual reading comes first, wherever its syllable stands: lǜ before lù.
  EXPECT_EQ(book_->huoqu(u"拼音", u"绿"), u"lǜ  lù  ");
  EXPECT_EQ(book_->huoqu(u"拼音", u"说").substr(0, 6), u"shuō  ");
  EXPECT_EQ(book_->huoqu(u"拼音", u"說"), u"shuō  ");
  EXPECT_EQ(book_->huoqu(u"拼音", u"嗯"), u"ń  ńg  ňg  ǹg  ");
  EXPECT_EQ(book_->huoqu(u"98五笔", u"式").substr(0, 3), u"aa ");
  EXPECT_EQ(book_->huoqu(u"98五笔", u"藏").find(u"aa "), std::u16string::npos);
  EXPECT_EQ(convert_text(*book_, u"中国人\r\n", u"拼音"), u"zhōng guó rén \r\n\r\n");
}

TEST_F(RealData, BrowserOfLetterA) {
  const auto syllables = syllables_of_letter(texts_->pinyin_data, u"a", 40);
  EXPECT_EQ(syllables, (std::vector<std::u16string>{u"a", u"ai", u"an", u"ang", u"ao"}));
  const auto characters = characters_of_syllable(texts_->pinyin_data, u"a", 114);
  ASSERT_FALSE(characters.empty());
  EXPECT_EQ(characters.front().character, u"啊");
  // Every letter with records, and every syllable of it, reaches characters.
  for (char16_t letter = u'a'; letter <= u'z'; ++letter) {
    for (const auto& syllable : syllables_of_letter(texts_->pinyin_data, {&letter, 1}, 40)) {
      EXPECT_FALSE(characters_of_syllable(texts_->pinyin_data, syllable, 114).empty())
          << "no characters for the syllable shown for " << static_cast<char>(letter);
    }
  }
}

TEST_F(RealData, IndexAgreesWithTheScanOnEveryCharacter) {
  const std::vector<char16_t> characters = dictionary_characters();
  ASSERT_GT(characters.size(), 6763u);
  // The scans are slow, so the work is split across threads; failures are gathered.
  const unsigned workers = std::max(2u, std::thread::hardware_concurrency());
  std::vector<std::vector<std::u16string>> mismatches(workers);
  std::vector<std::thread> threads;
  for (unsigned w = 0; w < workers; ++w) {
    threads.emplace_back([&, w] {
      for (std::size_t i = w; i < characters.size(); i += workers) {
        const std::u16string character(1, characters[i]);
        for (const Kind kind : kAllKinds) {
          if (book_->huoqu(kind_text(kind), character) !=
              huoqu_scan(*texts_, kind_text(kind), character)) {
            mismatches[w].push_back(character + u" " + std::u16string(kind_text(kind)));
          }
        }
      }
    });
  }
  for (std::thread& thread : threads)
    thread.join();
  for (const auto& found : mismatches)
    EXPECT_TRUE(found.empty()) << found.size() << " differ";
}

}  // namespace
}  // namespace zhavik
