// zhavik-lookup run as a process, as a script would run it.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/conversion/batch.h"
#include "core/dictionary/code_book.h"
#include "core/text/text.h"
#include "core/text/text_file.h"

namespace {

const std::string kData = ZHAVIK_SOURCE_DIR;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
  long peak_kib = 0;  // the largest resident memory the process had
};

// One run on the committed dictionaries (a later --data wins), what it should write ("..." at
// the end where more lines follow), its exit status and a part of standard error (nothing
// there when empty); then standard input, and paths that replace its files.
struct Case {
  std::vector<std::string> arguments;
  std::string out;
  int status = 0;
  std::string err = {};
  std::string input = {};
  const char* input_path = nullptr;
  const char* output_path = nullptr;
  unsigned stop_after_seconds = 0;
};

// An output path that stands for a pipe whose reader has gone, written with SIGPIPE ignored,
// as a shell does for a program whose reader has ended.
const char* const kClosedPipe = "(a closed pipe)";

// The child wrote through the same open file, so the shared offset is where its output ends.
std::string read_all(std::FILE* file) {
  std::string text(static_cast<std::size_t>(std::ftell(file)), '\0');
  std::rewind(file);
  text.resize(std::fread(text.data(), 1, text.size(), file));
  std::fclose(file);
  return text;
}

// Standard input, output and error are files, so that no pipe can fill up and block a side.
Outcome run(const Case& c) {
  std::FILE *in = std::tmpfile(), *out = std::tmpfile(), *err = std::tmpfile();
  std::fwrite(c.input.data(), 1, c.input.size(), in);
  std::rewind(in);
  std::vector<const char*> argv = {ZHAVIK_LOOKUP, "--data", kData.c_str()};
  for (const std::string& argument : c.arguments)
    argv.push_back(argument.c_str());
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    dup2(c.input_path ? open(c.input_path, O_RDONLY) : fileno(in), 0);
    if (c.output_path == kClosedPipe) {
      int ends[2];
      if (pipe(ends) != 0) _exit(127);
      close(ends[0]);
      dup2(ends[1], 1);
      signal(SIGPIPE, SIG_IGN);
    } else {
      dup2(c.output_path ? open(c.output_path, O_WRONLY) : fileno(out), 1);
    }
    dup2(fileno(err), 2);
    alarm(c.stop_after_seconds);  // stops the program with SIGALRM, if it is given
    execv(argv[0], const_cast<char* const*>(argv.data()));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  std::fclose(in);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_all(out), read_all(err),
          usage.ru_maxrss};
}

void expect_outcome(const Case& c) {
  SCOPED_TRACE(testing::PrintToString(c.arguments) + " " + testing::PrintToString(c.input));
  const Outcome outcome = run(c);
  EXPECT_EQ(outcome.status, c.status);
  const std::size_t compared = c.out.ends_with("...") ? c.out.size() - 3 : std::string::npos;
  EXPECT_EQ(outcome.out.substr(0, compared), c.out.substr(0, compared));
  EXPECT_EQ(outcome.err.empty(), c.err.empty()) << outcome.err;
  EXPECT_NE(outcome.err.find(c.err), std::string::npos) << outcome.err;
}

// A folder of this test process's own, as ctest runs the tests side by side; removed at exit.
std::filesystem::path scratch_folder(const char* name) {
  static const struct Folder {
    std::filesystem::path path = std::filesystem::path(testing::TempDir()) /
                                 ("zhavik-lookup-test-" + std::to_string(getpid()));
    ~Folder() {
      std::error_code ignored;
      std::filesystem::remove_all(path, ignored);
    }
  } folder;
  std::filesystem::create_directories(folder.path / name / "img");
  return folder.path / name;
}

TEST(Lookup, EachModeAnswers) {
  // No regular files: a FIFO must not block the run, nor a link to an endless device eat memory.
  const std::string unusable = scratch_folder("unusable").string();
  std::filesystem::copy_file(kData + "/img/1.jpg", unusable + "/img/1.jpg");
  ASSERT_EQ(mkfifo((unusable + "/img/2.jpg").c_str(), 0644), 0);
  std::filesystem::create_symlink("/dev/zero", unusable + "/img/3.jpg");
  // The dictionaries saved with LF line ends: read as before, with one warning for all.
  const std::string lf = scratch_folder("lf").string();
  for (const std::string name : {"/img/1.jpg", "/img/2.jpg", "/img/3.jpg"}) {
    std::ifstream file(kData + name, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::erase(bytes, '\r');  // they hold no other CR
    std::ofstream(lf + name, std::ios::binary) << bytes;
  }
  // A code with a "*" in it: the window shows the "*" as a blank, JSON the code as it is.
  const std::string star = scratch_folder("star").string();
  std::ofstream(star + "/img/1.jpg", std::ios::binary) << "\xD0\xC7 jtg*x\r\n";  // 星
  std::filesystem::copy_file(kData + "/img/3.jpg", star + "/img/3.jpg");
  const Case cases[] = {
      {{"--data", unusable, "--query", "好"},
       "好\n暂缺\nvb vbg \n暂缺\n2635\n",
       0,
       "cannot read " + unusable + "/img/3.jpg; its lookups answer 暂缺\n"},
      {{"--data", lf, "--query", "中"},
       "中\nzhōng  zhòng  \nk kh khk \nk khk \n5448\n",
       0,
       "zhavik-lookup: warning: lines end in LF alone, not CR LF, in " + lf + "/img/1.jpg, " + lf +
           "/img/2.jpg, " + lf + "/img/3.jpg: they were read at LF\n"},
      {{"--style", "numbers", "中a"},
       "中\n  拼音    zhong1  zhong4\n  86五笔  k kh khk\n  98五笔  k khk\n  区位    5448\n\n"
       "a\n  拼音    不是汉字\n  86五笔  不是汉字\n  98五笔  不是汉字\n  区位    不是汉字\n"},
      {{"--kind", "拼音", "好"}, "hǎo  hào  \n"},
      {{"--query", "  好人 "}, "好\nhǎo  hào  \nvb vbg \nvb vbg \n2635\n"},
      {{"--tones", "lü4 zhong1"}, "lǜ zhōng\n"},
      {{"--syllables", "A"}, "a\nai\nan\nang\nao\n"},
      {{"--style", "numbers", "--characters", "LÜ"}, "驴\t2\tlü2\n..."},
      {{"--from", "wubi86", "kbsk"}, "啊\tkb kbs kbsk\tfirst\n"},
      {{"--from", "wubi86", "KBS", "--prefix"}, "kbs\t啊\tkb kbs kbsk\tfirst\nkbsk\t啊\t..."},
      {{"--from", "wubi86", "aad"}, "匞\taad\tfirst\n式\taa aad\t-\n"},
      {{"--from", "quwei", "160", "--prefix"}, "1601\t啊\t1601\n1602\t阿\t1602\n..."},
      {{"--from", "pinyin", "zhong1"}, "中\tzhōng  zhòng\n钟\tzhōng\n..."},
      {{"--from", "pinyin", "lv4"}, "率\tlǜ  shuài\n绿\tlǜ  lù\n律\tlǜ\n..."},
      {{"--from", "pinyin", "zhon", "--prefix"}, "zhōng\t中\tzhōng  zhòng\n..."},
      {{"--from", "wubi86", "zzzzz"}, "", 1},
      {{"--from", "quwei", "9999"}, "", 1},
      {{"--json", "\"", "\x01"},
       R"([
{"character":"\"","pinyin":[],"wubi86":[],"wubi98":[],"quwei":null},
{"character":"\u0001","pinyin":[],"wubi86":[],"wubi98":[],"quwei":null}
]
)"},
      {{"--json", "--query", " "}, "[]\n"},
      {{"--data", star, "--kind", "wubi86", "星"}, "jtg x \n"},
      {{"--data", star, "--json", "星"},
       "[\n{\"character\":\"星\",\"pinyin\":[\"xīng\"],\"wubi86\":[\"jtg*x\"],\"wubi98\":[],"
       "\"quwei\":\"4839\"}\n]\n",
       0,
       "cannot read " + star + "/img/2.jpg"},
      {{"--json", "--from", "wubi86", "kbsk"},
       "[\n{\"code\":\"kbsk\",\"typed_first\":true,\"character\":\"啊\",\"pinyin\":[\"a\",..."},
  };
  for (const Case& c : cases)
    expect_outcome(c);
}

// Every mode that writes pinyin writes it in the style asked; a style or --v where it cannot
// apply is refused with what would.
TEST(Lookup, StylesWhereverPinyinIsWritten) {
  const Case cases[] = {
      {{"--style", "zhuyin", "--kind", "pinyin", "绿"}, "ㄌㄩˋ  ㄌㄨˋ  \n"},
      {{"--style", "numbers", "--v", "--query", "绿"}, "绿\nlv4  lu4  \nxv xvi xviy \n..."},
      {{"--style", "initials", "--kind", "pinyin", "中"}, "zh  zh  \n"},
      {{"--style", "first", "--json", "中"},
       "[\n{\"character\":\"中\",\"pinyin\":[\"z\",\"z\"],..."},
      {{"--style", "none", "--v", "--from", "pinyin", "lü4"}, "率\tlv  shuai\n绿\tlv  lu\n..."},
      {{"--style", "zhuyin", "--characters", "lü"}, "驴\t2\tㄌㄩˊ\n..."},
      {{"--style", "zhuyin", "--syllables", "J"}, "ㄐㄧ\nㄐㄧㄚ\nㄐㄧㄢ\n..."},
      {{"--style", "none", "--v", "--syllables", "L"},
       "la\nlai\nlan\nlang\nlao\nle\nlei\nleng\nli\nlia\nlian\nliang\nliao\nlie\nlin\nling\nliu\n"
       "lo\nlong\nlou\nlu\nluan\nlun\nluo\nlv\nlve\n"},
      {{"--style", "numbers", "--v", "--convert", "pinyin"}, "lv4 lu4\n", 0, "", "绿路\n"},
      {{"--style", "tones", "中"},
       "",
       2,
       "unknown style 'tones': use marks, numbers, none, initials, first, zhuyin\n"},
      {{"--v", "中"}, "", 2, "--v writes ü as v in --style numbers or none, not in --style marks"},
      {{"--style", "zhuyin", "--v", "--characters", "lü"}, "", 2, "not in --style zhuyin"},
      {{"--style", "first", "--kind", "wubi86", "中"},
       "",
       2,
       "--style first writes pinyin, and --kind wubi86 writes none: use --kind pinyin or TEXT"},
      {{"--style", "numbers", "--from", "quwei", "1601"}, "", 2, "use --from pinyin, or --json"},
      {{"--style", "initials", "--convert", "wubi98"}, "", 2, "use --convert pinyin\n"},
      {{"--style", "zhuyin", "--tones", "a1"}, "", 2, "--tones writes tone marks only"},
      {{"--style", "first", "--syllables", "z"},
       "",
       2,
       "--syllables lists syllables without tones: use --style none or zhuyin, not first"},
  };
  for (const Case& c : cases)
    expect_outcome(c);
}

TEST(Convert, LinesEncodingsFilesWordsAndFailures) {
  const std::string files = scratch_folder("files").string(), a = files + "/a", b = files + "/b";
  const std::string missing = files + "/missing";
  std::ofstream(a, std::ios::binary) << "中";
  std::ofstream(b, std::ios::binary) << "\xBA\xC3\r\n";  // 好 in GBK
  // Folders of the dictionaries without a word table, with a word table of their own, and
  // with one too large to be a word table.
  const std::string own = scratch_folder("own").string(), huge = scratch_folder("huge").string();
  for (const std::string& folder : {files, own, huge}) {
    for (const std::string name : {"/img/1.jpg", "/img/2.jpg", "/img/3.jpg"})
      std::filesystem::copy_file(kData + name, folder + name);
  }
  std::ofstream(own + "/img/word_pinyin.txt")
      << "银行\tyin2 hang2\n行走\txing2 zou3\n银行行\tqqq1 zzz2 hang2\n绿行\tlv4 hang2\n";
  std::ofstream(own + "/img/word_counts.txt") << "银行\t10\n行走\t5\n";
  std::ofstream(huge + "/img/word_pinyin.txt");
  std::filesystem::resize_file(huge + "/img/word_pinyin.txt", 16 * 1024 * 1024 + 1);
  const std::vector<std::string> pinyin = {"--convert", "pinyin"};
  const std::vector<std::string> words = {"--convert", "pinyin", "--words", "--data", own};
  const std::vector<std::string> utf8 = {"--convert", "pinyin", "--encoding", "utf-8"};
  const std::string bad = "standard input: bytes that fit no encoding became U+FFFD (the first at ";
  const Case cases[] = {
      {pinyin, "zhōng\r\nguó\nhǎo", 0, "", "中\r\n国\n好"},
      {{"--convert", "pinyin", "--encoding", "gbk"}, "mó", 0, "", "\xC4\xA3"},
      {utf8, "zhōng ### zhōng", 0, bad + "byte offset 3)", "\xE4\xB8\xAD\xFF\xE4\xB8\xAD"},
      {pinyin, "zhōng ### guó", 0, bad + "byte offset 2)", "\xD6\xD0\xFF\xB9\xFA"},
      {{"--style", "numbers", "--convert", "pinyin"}, "zhong1 guo2 ###\n", 0, "", "中国a\n"},
      // Files in order, each one's last line ending with it; one that cannot be opened skipped.
      {{"--convert", "quwei", a, missing, b}, "54482635\r\n", 1, "cannot open " + missing},
      // Words whose readings name no syllable of their characters are left out, and said so.
      {words, "yín háng xíng zǒu\nyī gè bù shì\r\n", 0,
       "2 words of the word table give a character a reading that the pinyin dictionary does not "
       "have",
       "银行行走\n一个不是\r\n"},
      {{"--convert", "pinyin", "--words", "--sandhi", "--data", own},
       "yí gè bú shì yì tiān",
       0,
       "2 words",
       "一个不是一天"},
      {{"--convert", "pinyin", "--words", "--data", files},
       "",
       1,
       "cannot read the word table " + files +
           "/img/word_pinyin.txt, which --words needs: there is no such file"},
      {{"--convert", "pinyin", "--words", "--data", huge},
       "",
       1,
       "word_pinyin.txt, which --words needs: it is larger than 16 MiB\n"},
      {pinyin, "", 1, "zhavik-lookup: cannot read standard input", "", "/"},
      {{"--help"}, "", 1, "zhavik-lookup: cannot write standard output", "", {}, "/dev/full"},
      // Endless input: the first failed write ends the run.
      {pinyin, "", 1, "cannot write standard output: No space left on device", "", "/dev/zero",
       "/dev/full", 20},
      {{"--convert", "wubi86", "--as-window"},
       "",
       1,
       "cannot write standard output: Broken pipe",
       "",
       "/dev/zero",
       kClosedPipe,
       20},
      {{"--frobnicate\x1b[2J\n"}, "", 2, "zhavik-lookup: unknown option --frobnicate\\x1b[2J\\n\n"},
  };
  for (const Case& c : cases)
    expect_outcome(c);
}

// Text kept around the converted characters, styles with words, the ruby page, and the
// options that do not go together.
TEST(Convert, KeepStylesAndPages) {
  const std::string files = scratch_folder("pages").string(), text = files + "/课文.txt";
  std::ofstream(text, std::ios::binary) << "银行<b>\n";
  const std::string sentence = "你好，世界！Hello 2026年\n银行 a&b\r\n";
  const Case cases[] = {
      {{"--convert", "pinyin", "--keep"},
       "nǐ hǎo ， shì jiè ！ Hello 2026 nián\nyín xíng a&b\r\n",
       0,
       "",
       sentence},
      {{"--convert", "pinyin", "--keep", "--words"},
       "nǐ hǎo ， shì jiè ！ Hello 2026 nián\nyín háng a&b\r\n",
       0,
       "",
       sentence},
      {{"--convert", "wubi86", "--keep"}, "wq vb ， a1", 0, "", "你好，a1"},
      {{"--convert", "pinyin", "--words", "--style", "numbers", "--v"},
       "yin2 hang2 lv4",
       0,
       "",
       "银行绿"},
      {{"--convert", "pinyin", "--words", "--style", "zhuyin"},
       "ㄧㄣˊ ㄏㄤˊ ㄌㄩˋ",
       0,
       "",
       "银行绿"},
      {{"--convert", "pinyin", "--words", "--style", "none", "--keep"},
       "yin hang lü !",
       0,
       "",
       "银行绿!"},
      {{"--convert", "pinyin", "--html"}, "<!DOCTYPE html>...", 0, "", "中"},
      {{"--convert", "pinyin", "--keep", "--as-window"},
       "",
       2,
       "--as-window writes what the window writes: not with --keep or --html"},
      {{"--convert", "wubi86", "--html"}, "", 2, "--html goes with --convert pinyin only"},
      {{"--keep", "中"}, "", 2, "--keep, --html, --encoding and --line-buffered go with --convert"},
  };
  for (const Case& c : cases)
    expect_outcome(c);
  // The page of a file takes its name; standard input has a name of its own.
  const std::string page = run({{"--convert", "pinyin", "--html", "--words", text}, ""}).out;
  EXPECT_NE(page.find("<title>课文.txt</title>"), std::string::npos) << page;
  EXPECT_NE(page.find("<ruby>银<rt>yín</rt></ruby><ruby>行<rt>háng</rt></ruby>&lt;b&gt;"),
            std::string::npos)
      << page;
  EXPECT_NE(
      run({{"--convert", "pinyin", "--html"}, "", 0, "", "中"}).out.find("<title>拼音注音</title>"),
      std::string::npos);
}

// The kind only chooses the first words, which agree with the lookup for every character. A
// file is read as the window's File > Open reads it, at any size: here one that turns out to be
// no proper UTF-8 only well beyond the look-ahead that follows its first Chinese character.
TEST(Convert, AsWindowWritesWhatTheBatchViewWrites) {
  const zhavik::CodeBook book(zhavik::load_dictionary_texts(kData));
  for (const std::string input : {"", "你\r\n我", "ab 1", "，\u3000\t😀\r\n\n\r好 \r\n"})
    EXPECT_EQ(run({{"--convert", "拼音", "--as-window"}, "", 0, "", input}).out,
              zhavik::utf16_to_utf8(
                  zhavik::convert_text(book, *zhavik::utf8_to_utf16(input), zhavik::Kind::pinyin)))
        << input;
  std::string late(100 * 1024, 'a');
  while (late.size() < 200 * 1024)
    late += "中文\r\n";
  late += "\xD6\xD0";  // 中 in code page 936
  const std::string path = scratch_folder("late").string() + "/late.txt";
  std::ofstream(path, std::ios::binary) << late;
  const Outcome outcome = run({{"--convert", "区位", "--as-window", path}, ""});
  EXPECT_NE(outcome.err.find("became U+FFFD (the first at byte offset 204800)"), std::string::npos);
  EXPECT_TRUE(outcome.out == zhavik::utf16_to_utf8(zhavik::convert_text(
                                 book, zhavik::decode_text_file(late), zhavik::Kind::quwei)));
}

// Reads from `from` until `text` has come; gives what came, which is less when nothing more
// came for 10 s.
std::string read_until(int from, std::string_view text) {
  std::string got;
  pollfd wait_for{from, POLLIN, 0};
  char buffer[256];
  while (!got.ends_with(text) && poll(&wait_for, 1, 10'000) == 1) {
    const ssize_t read_now = read(from, buffer, sizeof buffer);
    if (read_now <= 0) break;
    got.append(buffer, static_cast<std::size_t>(read_now));
  }
  return got;
}

// Lines written into a pipe one at a time, as tail -f writes them: each converted line comes
// back before the next is written, to a pipe with --line-buffered and to a terminal.
TEST(Convert, EachLineComesOutWhenItEnds) {
  for (const bool terminal : {false, true}) {
    SCOPED_TRACE(terminal ? "to a terminal" : "to a pipe");
    int input[2], output[2];
    ASSERT_EQ(pipe(input), 0);
    termios raw{};  // no LF turned into CR LF on the way
    cfmakeraw(&raw);
    ASSERT_EQ(terminal ? openpty(&output[0], &output[1], nullptr, &raw, nullptr) : pipe(output), 0);
    const std::vector<const char*> argv = {ZHAVIK_LOOKUP, "--data",
                                           kData.c_str(), "--convert",
                                           "pinyin",      terminal ? nullptr : "--line-buffered",
                                           nullptr};
    const pid_t child = fork();
    if (child == 0) {
      dup2(input[0], 0);
      dup2(output[1], 1);
      for (const int end : {input[0], input[1], output[0], output[1]})
        close(end);
      execv(argv[0], const_cast<char* const*>(argv.data()));
      _exit(127);
    }
    close(input[0]);
    close(output[1]);
    for (const auto& [line, converted] :
         {std::pair<std::string, std::string>{"中文\n", "zhōng wén\n"},
          {"你好\r\n", "nǐ hǎo\r\n"}}) {
      ASSERT_EQ(write(input[1], line.data(), line.size()), static_cast<ssize_t>(line.size()));
      EXPECT_EQ(read_until(output[0], converted), converted);
    }
    close(input[1]);
    int status = -1;
    waitpid(child, &status, 0);
    close(output[0]);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
}

// Standard input that never ends, one endless line: the output goes on, memory stays within
// a few megabytes. Under AddressSanitizer, which keeps freed memory in quarantine, resident
// memory tells nothing; the plain build's run checks it.
TEST(HostileInput, EndlessInputStreamsInBoundedMemory) {
  const Outcome outcome =
      run({{"--convert", "pinyin"}, "", 0, "", "", "/dev/zero", "/dev/null", 2});
  EXPECT_EQ(outcome.status, -1);  // still running when stopped
#if !defined(__SANITIZE_ADDRESS__)
  EXPECT_LT(outcome.peak_kib, 16 * 1024);
#endif
}

}  // namespace
