// Dictionary files and texts that are not what they should be: empty, binary, huge, one
// endless line, bad code page 936, and texts with units that are no characters. Each loads,
// answers and converts without crash or hang, and what can still be found is found.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include "core/batch.h"
#include "core/browser.h"
#include "core/code_book.h"
#include "core/lookup_scan.h"
#include "core/tone_marks.h"
#include "tests/core/dictionary_folder.h"

namespace zhavik {
namespace {

std::string random_bytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& byte : bytes)
    byte = static_cast<char>(random());
  return bytes;
}

std::string repeated(std::string_view piece, std::size_t at_least) {
  std::string text;
  text.reserve(at_least + piece.size());
  while (text.size() < at_least)
    text += piece;
  return text;
}

class HostileDictionaries : public DictionaryFolder {
 protected:
  // Writes the three files and loads them as the window does.
  CodeBook load(const std::string& wubi86, const std::string& wubi98, const std::string& pinyin) {
    write(kWubi86File, wubi86);
    write(kWubi98File, wubi98);
    write(kPinyinFile, pinyin);
    std::vector<std::filesystem::path> unreadable;
    CodeBook book(load_dictionary_texts(folder_, &unreadable));
    EXPECT_TRUE(unreadable.empty());
    return book;
  }
};

TEST_F(HostileDictionaries, EmptyFilesHoldNoRecords) {
  const CodeBook book = load("", "", "");
  EXPECT_EQ(book.texts().wubi86_data, u"^");
  EXPECT_EQ(book.texts().pinyin_data, u"^^");
  EXPECT_EQ(book.huoqu(u"拼音", u"好"), u"暂缺");
  EXPECT_EQ(book.huoqu(u"98五笔", u"好"), u"暂缺");
  EXPECT_EQ(book.huoqu(u"区位", u"好"), u"2635");
  EXPECT_TRUE(syllables_of_letter(book.texts().pinyin_data, u"a", 40).empty());
  EXPECT_EQ(convert_text(book, u"好a", u"86五笔"), u"暂缺 ### \r\n\r\n");
}

// Random bytes: whatever they happen to hold is answered exactly as the scan answers it.
TEST_F(HostileDictionaries, BinaryFilesAnswerAsTheScanDoes) {
  const CodeBook book =
      load(random_bytes(256 * 1024, 1), random_bytes(256 * 1024, 2), random_bytes(256 * 1024, 3));
  const DictionaryTexts& texts = book.texts();
  EXPECT_LE(texts.pinyin_data.size(), 256u * 1024 + 2);
  std::u16string text;
  for (std::size_t i = 0; i < 60; ++i) {
    text += texts.pinyin_data[i * 4001 % texts.pinyin_data.size()];
    text += texts.wubi86_data[i * 3001 % texts.wubi86_data.size()];
  }
  for (const Kind kind : kAllKinds) {
    for (const char16_t unit : text) {
      const std::u16string character(1, unit);
      EXPECT_EQ(book.huoqu(kind_text(kind), character),
                huoqu_scan(texts, kind_text(kind), character));
    }
    EXPECT_EQ(convert_text(book, text, kind_text(kind)),
              convert_text_scan(texts, text, kind_text(kind)));
  }
  for (char16_t letter = u'a'; letter <= u'z'; ++letter) {
    for (const std::u16string& syllable :
         syllables_of_letter(texts.pinyin_data, std::u16string(1, letter), 40)) {
      EXPECT_LE(characters_of_syllable(texts.pinyin_data, syllable, 114).size(), 114u);
    }
  }
}

// Dictionary files that are no dictionary, or that would make answers without bound. Each
// case replaces one of three small files; 中 is then asked of the code book and of the scan.
TEST_F(HostileDictionaries, NoFileOrAnswerGoesBeyondItsBound) {
  using Make = std::function<void(const std::filesystem::path& file)>;
  const auto bytes = [](std::string content) {
    return Make([content](const std::filesystem::path& file) {
      std::ofstream(file, std::ios::binary) << content;
    });
  };
  // Its first record, then zeros up to `size` bytes, which take no room on disk.
  const auto sparse = [](std::uintmax_t size) {
    return Make([size](const std::filesystem::path& file) {
      std::ofstream(file, std::ios::binary) << "\xD6\xD0 k\r\n";
      std::filesystem::resize_file(file, size);
    });
  };
  const std::string zhong = "\xD6\xD0";
  std::string zhongs_then_blanks;
  for (int i = 0; i < 30000; ++i)
    zhongs_then_blanks += zhong;
  zhongs_then_blanks += std::string(2'000'000, ' ');
  std::string long_key_pinyin = "a1=" + zhong + "\r\n" + std::string(50000, 'a') + "1=";
  for (int i = 0; i < 50000; ++i)
    long_key_pinyin += zhong;

  struct Case {
    const char* name;
    const char* file;
    Make make;
    bool readable;
    std::u16string answer;  // for 中, in the kind the file serves
  };
  const std::u16string zhongs(29999, u'中');
  const Case cases[] = {
      {"a pipe, never opened", kWubi86File,
       [](const auto& file) { ASSERT_EQ(mkfifo(file.c_str(), 0600), 0); }, false, u"暂缺"},
      {"a link to /dev/zero", kWubi98File,
       [](const auto& file) { std::filesystem::create_symlink("/dev/zero", file); }, false,
       u"暂缺"},
      {"a link to a file is followed", kWubi98File,
       [&](const auto& file) {
         bytes(zhong + " vv\r\n")(file.string() + ".real");
         std::filesystem::create_symlink(file.string() + ".real", file);
       },
       true, u"vv "},
      {"a file of exactly the largest size", kWubi86File, sparse(kMaxDictionaryFileBytes), true,
       u"k "},
      {"one byte larger", kWubi86File, sparse(kMaxDictionaryFileBytes + 1), false, u"暂缺"},
      // The second reading is 50,002 units; a third would no longer fit.
      {"a key of 50,000 letters, then 50,000 times 中", kPinyinFile, bytes(long_key_pinyin), true,
       u"ā  " + zhuanhuan_py(std::u16string(50000, u'a') + u"1") + u"  "},
      // Each 中 has as codes all the 中 after it; only two of them fit.
      {"30,000 times 中, then 2,000,000 blanks", kWubi86File, bytes(zhongs_then_blanks), true,
       zhongs + u' ' + zhongs.substr(1) + u' '},
      {"a code longer than any answer", kWubi98File,
       bytes(zhong + std::string(kMaxAnswerUnits, 'k') + "\r\n"), true, u"暂缺"},
  };
  for (const Case& item : cases) {
    SCOPED_TRACE(item.name);
    std::filesystem::remove_all(folder_ / "img");
    std::filesystem::create_directory(folder_ / "img");
    write(kWubi86File, zhong + " k khk\r\n");
    write(kWubi98File, zhong + " khk\r\n");
    write(kPinyinFile, "zhong1=" + zhong + "\r\n");
    std::filesystem::remove(folder_ / item.file);
    item.make(folder_ / item.file);

    std::vector<std::filesystem::path> unreadable;
    const CodeBook book(load_dictionary_texts(folder_, &unreadable));
    EXPECT_EQ(unreadable, item.readable ? std::vector<std::filesystem::path>{}
                                        : std::vector{folder_ / item.file});
    const Kind kind = item.file == kPinyinFile   ? Kind::pinyin
                      : item.file == kWubi86File ? Kind::wubi86
                                                 : Kind::wubi98;
    const std::u16string answer = book.huoqu(kind_text(kind), u"中");
    EXPECT_TRUE(answer == item.answer) << answer.size() << " units";
    EXPECT_TRUE(answer == huoqu_scan(book.texts(), kind_text(kind), u"中"));
    EXPECT_EQ(convert_text(book, u"中", kind_text(kind)),
              convert_text_scan(book.texts(), u"中", kind_text(kind)));
  }
}

// Without a single line break the whole file is one record: a Wubi character's codes run to
// the end of the file, a pinyin character gets the record's reading once per place it
// stands in.
TEST_F(HostileDictionaries, OneEndlessLine) {
  const std::string wubi = repeated("\xBA\xC3vb \xD6\xD0kh ", 8 * 1024 * 1024);  // 好 中
  const std::string pinyin = "hao3=" + repeated("\xBA\xC3\xD6\xD0", 4 * 1024 * 1024);
  const CodeBook book = load(wubi, wubi, pinyin);
  EXPECT_EQ(convert_text(book, u"好中，", u"86五笔"), u"vb kh 暂缺 \r\n\r\n");
  EXPECT_EQ(convert_text(book, u"好中", u"拼音"), u"hǎo hǎo \r\n\r\n");
  EXPECT_EQ(book.huoqu(u"98五笔", u"中").substr(0, 12), u"kh 好vb 中kh ");
  // As many readings as fit.
  const std::u16string readings = book.huoqu(u"拼音", u"中");
  EXPECT_EQ(readings.size(), kMaxAnswerUnits / 5 * 5);
  EXPECT_TRUE(readings.starts_with(u"hǎo  hǎo  "));
  EXPECT_EQ(syllables_of_letter(book.texts().pinyin_data, u"h", 40),
            std::vector<std::u16string>{u"hao"});
  EXPECT_EQ(characters_of_syllable(book.texts().pinyin_data, u"hao", 114).size(), 114u);

  // A key that never ends: no "=" at all, then one far away, whose reading is longer than
  // any answer may be.
  const std::string endless_key = repeated("ao", 4 * 1024 * 1024);
  const CodeBook keys =
      load("", "", endless_key + "\r\n" + endless_key + "1=\xBA\xC3\r\nhao3=\xBA\xC3");
  EXPECT_TRUE(syllables_of_letter(keys.texts().pinyin_data, u"a", 40).size() == 1);
  EXPECT_EQ(keys.huoqu(u"拼音", u"好"), u"暂缺");
}

TEST_F(HostileDictionaries, BadCodePage936BytesCostOnlyThemselves) {
  // A lead byte before a blank, the euro sign and a byte that leads nothing, a four-byte
  // GB18030 sequence (not code page 936) and a lead byte cut off by the end of the file.
  const CodeBook book = load("\x81 \xBA\xC3 vb\r\n\x80\xFF\xD6\xD0 k\r\n\x81\x30\x81\x30\r\n\xBA",
                             "", "hao3=\xBA\xC3\xFE\r\n");
  EXPECT_EQ(book.texts().wubi86_data, u"^\uFFFD 好 vb^€\uFFFD中 k^\uFFFD0\uFFFD0^\uFFFD");
  EXPECT_EQ(book.huoqu(u"86五笔", u"好"), u"vb ");
  EXPECT_EQ(book.huoqu(u"86五笔", u"中"), u"k ");
  EXPECT_EQ(book.huoqu(u"拼音", u"好"), u"hǎo  ");
}

// Units that are no characters: lone surrogates, U+0000, U+FFFF; a pair is one character.
TEST(HostileTexts, UnitsThatAreNoCharactersConvertToTheMarker) {
  DictionaryTexts texts;
  texts.pinyin_data = pinyin_data_from(u"hao3=好\r\n");
  const CodeBook book(texts);
  const std::u16string text = std::u16string(
                                  u"\xD800好\xDC00"
                                  u"a") +
                              u'\0' + u"\xFFFF😀\r\n\xDBFF";
  const std::u16string expected = u"### hǎo ### ### ### ### ### \r\n### \r\n";
  EXPECT_EQ(convert_text(book, text, u"拼音"), expected);
  EXPECT_EQ(convert_text_scan(texts, text, u"拼音"), expected);
  for (const std::u16string_view unit : {u"\xD800", u"\xDC00", u"\xFFFF"}) {
    EXPECT_EQ(book.huoqu(u"拼音", unit), u"不是汉字");
  }
}

}  // namespace
}  // namespace zhavik
