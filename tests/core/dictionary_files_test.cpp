// Reading the dictionary files and the word files: the texts their records become, and files
// that are not what they should be (missing, empty, no file at all, huge, one endless line).
// Each loads, answers and converts without crash or hang, and what can still be found is
// found; a file that cannot be read is reported and leaves only its own text empty.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "core/conversion/batch.h"
#include "core/conversion/word_conversion.h"
#include "core/dictionary/browser.h"
#include "core/dictionary/code_book.h"
#include "core/dictionary/lookup_scan.h"
#include "core/pinyin/tone_marks.h"
#include "core/pinyin/word_loading.h"

namespace zhavik {
namespace {

std::string repeated(std::string_view piece, std::size_t at_least) {
  std::string text;
  text.reserve(at_least + piece.size());
  while (text.size() < at_least)
    text += piece;
  return text;
}

// CR LF separates records; LF alone only in a file without any CR LF.
TEST(DictionaryTexts, CrLfOrInAFileWithoutItLfSeparatesRecords) {
  EXPECT_EQ(wubi_data_from(u"工 a\r\n经 x\n\r工\r\r\n\n"), u"^工 a^经 x\n\r工\r^\n");
  // The pinyin text closes its last record too.
  EXPECT_EQ(pinyin_data_from(u"a1=啊阿\r\na2=啊"), u"^a1=啊阿^a2=啊^");
  EXPECT_EQ(pinyin_data_from(u"a1=啊\n\na2=啊\r", LineEnd::lf), u"^a1=啊^^a2=啊\r^");
  const std::pair<std::string_view, LineEnd> files[] = {{"a\nb\n", LineEnd::lf},
                                                        {"a\nb\r\n", LineEnd::crlf},
                                                        {"a\rb", LineEnd::crlf},
                                                        {"", LineEnd::crlf}};
  for (const auto& [bytes, line_end] : files)
    EXPECT_EQ(line_end_of(bytes), line_end) << testing::PrintToString(bytes);
}

// A fresh folder with an empty img/ for each test.
class DictionaryFiles : public testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_ / "img");
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  void write(const std::filesystem::path& name, const std::string& bytes) {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
  }

  // The process id keeps runs of the suite side by side, in two build folders, apart.
  const std::filesystem::path folder_ =
      std::filesystem::path(testing::TempDir()) /
      ("zhavik-" + std::to_string(getpid()) + "-" +
       testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(DictionaryFiles, NoFileOrAnswerGoesBeyondItsBound) {
  using Make = std::function<void(const std::filesystem::path& file)>;
  const auto bytes = [](std::string content) {
    return Make([content](const auto& file) { std::ofstream(file, std::ios::binary) << content; });
  };
  // Its first record, then zeros up to `size` bytes, which take no room on disk.
  const auto sparse = [&](std::uintmax_t size) {
    return Make([size, &bytes](const auto& file) {
      bytes("\xD6\xD0 k\r\n")(file);
      std::filesystem::resize_file(file, size);
    });
  };
  const std::string zhong = "\xD6\xD0";
  const std::string endless_key = repeated("ao", 4 * 1024 * 1024);
  const struct {
    const char* name;
    Kind kind;  // the kind whose file it is
    Make make;
    bool readable;
    std::u16string answer;  // for 中, in the kind the file serves
  } cases[] = {
      {"no file", Kind::wubi98, [](const auto&) {}, false, u"暂缺"},
      {"a folder", Kind::wubi98, [](const auto& file) { std::filesystem::create_directory(file); },
       false, u"暂缺"},
#ifndef _WIN32
      // Pipes and links are made with calls Windows does not have.
      {"a pipe, never opened", Kind::wubi86,
       [](const auto& file) { ASSERT_EQ(mkfifo(file.c_str(), 0600), 0); }, false, u"暂缺"},
      {"a link to /dev/zero", Kind::wubi98,
       [](const auto& file) { std::filesystem::create_symlink("/dev/zero", file); }, false,
       u"暂缺"},
      {"a link to a file is followed", Kind::wubi98,
       [&](const auto& file) {
         bytes(zhong + " vv\r\n")(file.string() + ".real");
         std::filesystem::create_symlink(file.string() + ".real", file);
       },
       true, u"vv "},
#endif
      {"a file of exactly the largest size", Kind::wubi86, sparse(kMaxDictionaryFileBytes), true,
       u"k "},
      {"one byte larger", Kind::wubi86, sparse(kMaxDictionaryFileBytes + 1), false, u"暂缺"},
      // The second reading is 50,002 units; a third would no longer fit.
      {"a key of 50,000 letters, then 50,000 times 中", Kind::pinyin,
       bytes("a1=" + zhong + "\r\n" + std::string(50000, 'a') + "1=" + repeated(zhong, 100000)),
       true, u"ā  " + zhuanhuan_py(std::u16string(50000, u'a') + u"1") + u"  "},
      // Each 中 has as codes all the 中 after it; only two of them fit.
      {"30,000 times 中, then 2,000,000 blanks", Kind::wubi86,
       bytes(repeated(zhong, 60000) + std::string(2'000'000, ' ')), true,
       std::u16string(29999, u'中') + u' ' + std::u16string(29998, u'中') + u' '},
      {"an empty file", Kind::pinyin, bytes(""), true, u"暂缺"},
      // Saved on a system whose lines end in LF: read at LF. Mixed with CR LF: only at CR LF.
      {"LF line ends", Kind::wubi86, bytes(zhong + " k khk\n\xBA\xC3 vb\n"), true, u"k khk "},
      {"LF and CR LF", Kind::wubi86, bytes(zhong + " k\n\xBA\xC3 vb\r\n"), true, u"k\n好 vb "},
      // No "=" at all, then one far away: the reading is longer than any answer may be.
      {"a key of 8 MB", Kind::pinyin,
       bytes(endless_key + "\r\n" + endless_key + "1=" + zhong + "\r\nzhong1=" + zhong), true,
       u"暂缺"},
      {"a code longer than any answer", Kind::wubi98,
       bytes(zhong + std::string(kMaxAnswerUnits, 'k') + "\r\n"), true, u"暂缺"},
  };
  for (const auto& item : cases) {
    SCOPED_TRACE(item.name);
    std::filesystem::remove_all(folder_ / "img");
    std::filesystem::create_directory(folder_ / "img");
    write(row_of(Kind::wubi86).file, zhong + " k khk\r\n");
    write(row_of(Kind::wubi98).file, zhong + " khk\r\n");
    write(row_of(Kind::pinyin).file, "zhong1=" + zhong + "\r\n");
    const std::filesystem::path file = folder_ / row_of(item.kind).file;
    std::filesystem::remove(file);
    item.make(file);

    LoadReport report;
    const CodeBook book(load_dictionary_texts(folder_, &report));
    EXPECT_EQ(report.unreadable,
              item.readable ? std::vector<std::filesystem::path>{} : std::vector{file});
    const std::u16string answer = book.huoqu(item.kind, u"中");
    EXPECT_TRUE(answer == item.answer) << answer.size() << " units";
    EXPECT_TRUE(answer == huoqu_scan(book.texts(), item.kind, u"中"));
    // The other files still load.
    EXPECT_TRUE(item.kind == Kind::pinyin || book.huoqu(Kind::pinyin, u"中") == u"zhōng  ");
    EXPECT_EQ(convert_text(book, u"中", item.kind),
              convert_text_scan(book.texts(), u"中", item.kind));
  }
}

// One record without a line break: a Wubi character's codes run to the end of the file, a
// pinyin character gets the reading once per place it stands in, as many as fit.
TEST_F(DictionaryFiles, OneEndlessLine) {
  const std::string wubi = repeated("\xBA\xC3vb \xD6\xD0kh ", 8 * 1024 * 1024);  // 好 中
  write(row_of(Kind::wubi86).file, wubi);
  write(row_of(Kind::pinyin).file, "hao3=" + repeated("\xBA\xC3\xD6\xD0", 4 * 1024 * 1024));
  const CodeBook book(load_dictionary_texts(folder_));
  EXPECT_EQ(convert_text(book, u"好中，", Kind::wubi86), u"vb kh 暂缺 \r\n\r\n");
  EXPECT_EQ(convert_text(book, u"好中", Kind::pinyin), u"hǎo hǎo \r\n\r\n");
  const std::u16string readings = book.huoqu(Kind::pinyin, u"中");
  EXPECT_EQ(readings.size(), kMaxAnswerUnits / 5 * 5);
  EXPECT_TRUE(readings.starts_with(u"hǎo  hǎo  "));
  EXPECT_EQ(syllables_of_letter(book.texts()[Kind::pinyin], u"h", 40),
            std::vector<std::u16string>{u"hao"});
  EXPECT_EQ(characters_of_syllable(book.texts()[Kind::pinyin], u"hao", 114).size(), 114u);
}

// The word table loads from the texts, or from the compiled table beside them while that
// was made from exactly these files; a word file that cannot be used is refused, with why.
TEST_F(DictionaryFiles, WordTableLoadsCompiledOnlyWhileItMatchesItsFiles) {
  write(row_of(Kind::pinyin).file,
        "xing2=\xD0\xD0\r\nhang2=\xD0\xD0\r\nzou3=\xD7\xDF\r\n");  // 行 走
  const CodeBook book(load_dictionary_texts(folder_));
  const std::u16string& pinyin = book.texts()[Kind::pinyin];
  const std::filesystem::path word_file = folder_ / kWordPinyinFile;
  const auto refusal = [&] {
    EXPECT_EQ(word_file_refusal(word_file), load_word_table(word_file, pinyin).refusal);
    return word_file_refusal(word_file);
  };
  EXPECT_EQ(refusal(), FileRefusal::missing);
  std::filesystem::create_directory(word_file);
  EXPECT_EQ(refusal(), FileRefusal::not_regular);
  std::filesystem::remove(word_file);
  write(kWordPinyinFile, "");
  std::filesystem::resize_file(word_file, kMaxDictionaryFileBytes + 1);  // sparse
  EXPECT_EQ(refusal(), FileRefusal::too_large);

  write(kWordPinyinFile, "行走\txing2 zou3\n行\thang2\n");
  LoadedWords loaded = load_word_table(word_file, pinyin);
  ASSERT_TRUE(loaded.table);
  EXPECT_FALSE(loaded.compiled || loaded.counts_read);
  EXPECT_EQ(loaded.malformed_lines, 1u);
  write(kWordCountsFile, "行走\t5\n");
  write(kWordTableFile, compile_word_table(word_file, pinyin).value());
  loaded = load_word_table(word_file, pinyin);
  EXPECT_TRUE(loaded.compiled && loaded.counts_read);
  EXPECT_EQ(loaded.malformed_lines, 1u);  // as counted when it was compiled
  EXPECT_EQ(convert_text_by_words(book, *loaded.table, u"行走"), u"xíng zǒu \r\n\r\n");
  // An edited word file, or another pinyin dictionary, passes the compiled table over.
  write(kWordPinyinFile, "行走\thang2 zou3\n");
  loaded = load_word_table(word_file, pinyin);
  EXPECT_FALSE(loaded.compiled);
  EXPECT_EQ(convert_text_by_words(book, *loaded.table, u"行走"), u"háng zǒu \r\n\r\n");
  write(kWordTableFile, compile_word_table(word_file, pinyin).value());
  EXPECT_FALSE(load_word_table(word_file, pinyin_data_from(u"hang2=行\r\nzou3=走")).compiled);
}

}  // namespace
}  // namespace zhavik
