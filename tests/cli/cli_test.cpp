// zhavik-lookup run as a process, as a script would run it.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifdef ZHAVIK_TEST_JSON
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#endif

#include "core/batch.h"
#include "core/code_book.h"
#include "core/text.h"

namespace {

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
  long peak_kib = 0;  // the largest resident memory the process had
};

// ctest runs the tests of this file side by side, each in its own process; each process
// keeps its files in a folder of its own, removed when it ends.
struct ScratchFolder {
  std::filesystem::path path = std::filesystem::path(testing::TempDir()) /
                               ("zhavik-lookup-test-" + std::to_string(getpid()));
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

std::filesystem::path scratch_folder(const char* name) {
  static const ScratchFolder folder;
  return folder.path / name;
}

std::string read_file(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Where standard input and output come from and go to, when not from and to files that hold
// the input and catch the output; and how long the program may run before it is stopped.
struct Streams {
  const char* input_path = nullptr;  // "" closes standard input
  const char* output_path = nullptr;
  unsigned stop_after_seconds = 0;
};

// Runs the program with standard input, output and error in files, so that no pipe can
// fill up and block either side. The files go as soon as they are read.
Outcome run(std::vector<std::string> arguments, const std::string& input = "",
            Streams streams = {}) {
  const std::filesystem::path folder = scratch_folder("io");
  std::filesystem::create_directories(folder);
  const auto in = folder / "in", out = folder / "out", err = folder / "err";
  std::ofstream(in, std::ios::binary) << input;

  arguments.insert(arguments.begin(), ZHAVIK_LOOKUP);
  std::vector<char*> argv;
  for (std::string& argument : arguments)
    argv.push_back(argument.data());
  argv.push_back(nullptr);

  const pid_t child = fork();
  if (child == 0) {
    const char* input_path = streams.input_path ? streams.input_path : in.c_str();
    if (*input_path == '\0') {
      close(0);
    } else {
      dup2(open(input_path, O_RDONLY), 0);
    }
    dup2(open(streams.output_path ? streams.output_path : out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
              0644),
         1);
    dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    execv(argv[0], argv.data());
    _exit(127);
  }
  if (streams.stop_after_seconds > 0) {
    sleep(streams.stop_after_seconds);
    kill(child, SIGKILL);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  Outcome outcome{WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_file(out), read_file(err),
                  usage.ru_maxrss};
  std::filesystem::remove_all(folder);
  return outcome;
}

const std::string kData = ZHAVIK_SOURCE_DIR;

// A streaming run stays within a few megabytes. Under AddressSanitizer, which keeps freed
// memory in quarantine (256 MB by default), resident memory tells nothing; the plain build's
// run of the same tests checks it.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryTellsAnything = false;
#else
constexpr bool kMemoryTellsAnything = true;
#endif
constexpr long kStreamingKib = 16 * 1024;

TEST(Lookup, DescribesEachCharacterFromTheProgramsOwnFolder) {
  const Outcome outcome = run({"好a"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.err, "");
  EXPECT_NE(outcome.out.find("好\n  拼音    hǎo  hào\n"), std::string::npos) << outcome.out;
  EXPECT_NE(outcome.out.find("  区位    2635\n"), std::string::npos);
  EXPECT_NE(outcome.out.find("a\n  拼音    不是汉字\n"), std::string::npos);
}

TEST(Lookup, ScriptModesPrintExactAnswers) {
  EXPECT_EQ(run({"--data", kData, "--kind", "拼音", "好"}).out, "hǎo  hào  \n");
  EXPECT_EQ(run({"--kind", "quwei", "好", "--data", kData}).out, "2635\n");
  EXPECT_EQ(run({"--data", kData, "--kind", "wubi86", ""}).out, "\n");
  EXPECT_EQ(run({"--data", kData, "--kind", "98五笔", "x"}).out, "不是汉字\n");
  EXPECT_EQ(run({"--data", kData, "--query", "  好人 "}).out,
            "好\nhǎo  hào  \n" + run({"--data", kData, "--kind", "86五笔", "好"}).out +
                run({"--data", kData, "--kind", "98五笔", "好"}).out + "2635\n");
  EXPECT_EQ(run({"--tones", "lü4 zhong1"}).out, "lǜ zhōng\n");
  EXPECT_EQ(run({"--data", kData, "--syllables", "A"}).out, "a\nai\nan\nang\nao\n");
  const std::string characters = run({"--data", kData, "--characters", "HAO"}).out;
  EXPECT_EQ(characters.substr(0, characters.find('\n')), "蒿\t1\thāo");
  EXPECT_EQ(run({"--version"}).out, "zhavik-lookup 3.90\n");
  EXPECT_TRUE(run({"--help"}).out.starts_with("usage: zhavik-lookup"));
}

TEST(Lookup, PinyinInEachStyle) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--style", "numbers", "--kind", "pinyin", "中"}, "zhong1  zhong4  \n"},
      {{"--style", "none", "--query", "好"}, "好\nhao  hao  \n"},
      {{"--style", "numbers", "--convert", "pinyin"}, "zhong1 guo2 ###\n"},
      {{"--style", "none", "--from", "pinyin", "zhong1"}, "中\tzhong  zhong\n"},
      {{"--style", "numbers", "--characters", "lü"}, "驴\t2\tlü2\n"},
  };
  for (const auto& [arguments, expected] : cases) {
    std::vector<std::string> with_data = arguments;
    with_data.insert(with_data.begin(), {"--data", kData});
    const std::string out = run(with_data, "中国a\n").out;
    EXPECT_EQ(out.substr(0, expected.size()), expected) << arguments[1];
  }
  EXPECT_NE(
      run({"--data", kData, "--style", "numbers", "中"}).out.find("  拼音    zhong1  zhong4\n"),
      std::string::npos);
}

TEST(Convert, EachLineKeepsItsLineEnd) {
  const std::pair<std::string, std::string> cases[] = {
      {"中\r\n国\n好", "zhōng\r\nguó\nhǎo"},
      {"ab 1\n\n  \n", "### ### ###\n\n\n"},
      {"", ""},
      {"中\r好\r", "zhōng ### hǎo ###"},
  };
  for (const auto& [input, expected] : cases) {
    const Outcome outcome = run({"--data", kData, "--convert", "pinyin"}, input);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, expected) << testing::PrintToString(input);
  }
  // Files in order, each one's last line ending with it; one that cannot be opened is said
  // and skipped.
  const std::filesystem::path folder = scratch_folder("files");
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "a", std::ios::binary) << "中";
  std::ofstream(folder / "b", std::ios::binary) << "\xBA\xC3\r\n";  // 好 in GBK
  const Outcome files = run({"--data", kData, "--convert", "quwei", (folder / "a").string(),
                             (folder / "missing").string(), (folder / "b").string()});
  EXPECT_EQ(files.out, "54482635\r\n");
  EXPECT_EQ(files.status, 1);
  EXPECT_NE(files.err.find("cannot open"), std::string::npos) << files.err;
}

TEST(Convert, AsWindowWritesWhatTheBatchViewWrites) {
  const zhavik::CodeBook book(zhavik::load_dictionary_texts(kData));
  const std::string inputs[] = {"", "你我", "你\r\n我", "ab 1", "，\u3000\t😀\r\n\n\r好 \r\n"};
  for (const std::string& input : inputs) {
    for (const char* kind : {"拼音", "86五笔", "区位"}) {
      const std::u16string text = *zhavik::utf8_to_utf16(input);
      EXPECT_EQ(
          run({"--data", kData, "--convert", kind, "--as-window"}, input).out,
          zhavik::utf16_to_utf8(zhavik::convert_text(book, text, *zhavik::utf8_to_utf16(kind))))
          << input << " " << kind;
    }
  }
}

TEST(Convert, WordsReadPolyphonesFromTheWordsTheyStandIn) {
  const Outcome words =
      run({"--data", kData, "--convert", "pinyin", "--words"}, "银行里行走\n长大 长度\r\n");
  EXPECT_EQ(words.out, "yín háng lǐ xíng zǒu\nzhǎng dà cháng dù\r\n");
  EXPECT_EQ(run({"--data", kData, "--convert", "wubi86", "--words"}).status, 2);
  // Dictionaries without the word table beside them.
  const std::filesystem::path folder = scratch_folder("no-words");
  std::filesystem::create_directories(folder / "img");
  for (const char* name : {"1.jpg", "2.jpg", "3.jpg"})
    std::filesystem::copy_file(kData + "/img/" + name, folder / "img" / name);
  const Outcome missing =
      run({"--data", folder.string(), "--convert", "pinyin", "--words"}, "银行\n");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("word table"), std::string::npos) << missing.err;
}

TEST(Convert, ReadsEachEncodingAndSaysWhereBytesWereBad) {
  using namespace std::string_literals;
  struct Case {
    std::vector<std::string> options;
    std::string input, out, err;
  };
  const Case cases[] = {
      {{}, "中国", "zhōng guó", ""},
      {{}, "\xFF\xFE\x2D\x4E\x0A\x00"s, "zhōng\n", ""},
      {{}, "\xD6\xD0\xB9\xFA\r\n", "zhōng guó\r\n", ""},
      {{"--encoding", "gbk"}, "\xC4\xA3", "mó", ""},
      {{"--encoding", "utf-8"},
       "\xE4\xB8\xAD\xFF\xE4\xB8\xAD",
       "zhōng ### zhōng",
       "byte offset 3)"},
      {{}, "\xD6\xD0\xFF\xB9\xFA", "zhōng ### guó", "byte offset 2)"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments = {"--data", kData, "--convert", "pinyin"};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    const Outcome outcome = run(arguments, c.input);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, c.out) << testing::PrintToString(c.input);
    if (c.err.empty()) {
      EXPECT_EQ(outcome.err, "");
    } else {
      EXPECT_NE(outcome.err.find("standard input"), std::string::npos) << outcome.err;
      EXPECT_NE(outcome.err.find(c.err), std::string::npos) << outcome.err;
    }
  }
}

TEST(From, CodesGiveTheirCharacters) {
  // In a table of one's own: 乙's full code is ab, and ab is also the short code by which
  // 甲 is typed first.
  const std::filesystem::path folder = scratch_folder("short");
  std::filesystem::create_directories(folder / "img");
  std::ofstream(folder / "img/1.jpg", std::ios::binary)
      << "\xD2\xD2 ab\r\n\xBC\xD7 ab abcd\r\n";  // 乙, 甲 in GBK
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string out;
  };
  const Case cases[] = {
      {{"wubi86", "kbsk"}, 0, "啊\tkb kbs kbsk\tfirst\n"},
      {{"wubi86", "KBS", "--prefix"},
       0,
       "kbs\t啊\tkb kbs kbsk\tfirst\nkbsk\t啊\tkb kbs kbsk\tfirst\n"},
      {{"quwei", "1601"}, 0, "啊\t1601\n"},
      {{"quwei", "160", "--prefix"}, 0, "1601\t啊\t1601\n1602\t阿\t1602\n"},
      {{"pinyin", "zhong1"}, 0, "中\tzhōng  zhòng\n钟\tzhōng\n"},
      {{"pinyin", "lv4"}, 0, "率\tlǜ  shuài\n绿\tlǜ  lù\n律\tlǜ\n"},
      {{"pinyin", "lü4"}, 0, "率\tlǜ  shuài\n绿\tlǜ  lù\n律\tlǜ\n"},
      {{"pinyin", "zhōng"}, 0, "中\tzhōng  zhòng\n"},
      {{"pinyin", "zhon", "--prefix"}, 0, "zhōng\t中\tzhōng  zhòng\n"},
      {{"wubi86", "zzzzz"}, 1, ""},
      {{"quwei", "9999"}, 1, ""},
      {{"pinyin", "xyz1"}, 1, ""},
      {{"wubi86", "ab", "--data", folder.string()}, 0, "乙\tab\t-\n甲\tab abcd\tfirst\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments = {"--data", kData, "--from"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const Outcome outcome = run(arguments);
    EXPECT_EQ(outcome.status, c.status) << c.arguments[1];
    EXPECT_EQ(outcome.out.substr(0, c.out.size()), c.out) << c.arguments[1];
    if (c.out.empty()) {
      EXPECT_EQ(outcome.out, "");
    }
  }
}

#ifdef ZHAVIK_TEST_JSON
QJsonArray parsed(const std::string& json) {
  QJsonParseError error{};
  const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(json), &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << json;
  return document.array();
}

TEST(Json, EveryKindOfEachCharacterParses) {
  const QJsonArray described = parsed(run({"--data", kData, "--json", "中a\"", "\x01"}).out);
  ASSERT_EQ(described.size(), 4);
  const QJsonObject zhong = described[0].toObject();
  EXPECT_EQ(zhong["character"].toString(), QString("中"));
  EXPECT_EQ(zhong["pinyin"].toArray(), QJsonArray({"zhōng", "zhòng"}));
  EXPECT_EQ(zhong["wubi86"].toArray(), QJsonArray({"k", "kh", "khk"}));
  EXPECT_EQ(zhong["quwei"].toString(), QString("5448"));
  EXPECT_EQ(described[2].toObject()["character"].toString(), QString("\""));
  EXPECT_TRUE(described[3].toObject()["quwei"].isNull());
  EXPECT_EQ(described[3].toObject()["wubi98"].toArray(), QJsonArray());

  const QJsonArray from = parsed(run({"--data", kData, "--json", "--from", "wubi86", "kbsk"}).out);
  ASSERT_EQ(from.size(), 1);
  EXPECT_EQ(from[0].toObject()["code"].toString(), QString("kbsk"));
  EXPECT_TRUE(from[0].toObject()["typed_first"].toBool());
  EXPECT_EQ(from[0].toObject()["quwei"].toString(), QString("1601"));

  const QJsonArray query =
      parsed(run({"--data", kData, "--json", "--style", "numbers", "--query", " 好"}).out);
  ASSERT_EQ(query.size(), 1);
  EXPECT_EQ(query[0].toObject()["pinyin"].toArray(), QJsonArray({"hao3", "hao4"}));
  EXPECT_EQ(parsed(run({"--data", kData, "--json", "--query", " "}).out), QJsonArray());
}
#endif

TEST(HostileInput, BadUsageAndUnusableStreamsFailWithAMessage) {
  struct Case {
    std::vector<std::string> arguments;
    Streams streams;
    int status;
    std::string message;
  };
  const Case cases[] = {
      {{"--frobnicate\x1b[2J\n"}, {}, 2, "unknown option --frobnicate\\x1b[2J\\n\n"},
      {{"--kind", "pinyin"}, {}, 2, "wrong number of arguments"},
      {{"--convert", "pinyin"}, {.input_path = ""}, 1, "cannot read standard input"},
      {{"--convert", "pinyin"}, {.input_path = "/"}, 1, "cannot read standard input"},
      {{"--help"}, {.output_path = "/dev/full"}, 1, "cannot write standard output"},
      {{"--version"}, {.output_path = "/dev/full"}, 1, "cannot write standard output"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments = {"--data", kData};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const Outcome outcome = run(arguments, "", c.streams);
    EXPECT_EQ(outcome.status, c.status) << c.arguments[0];
    EXPECT_NE(outcome.err.find("zhavik-lookup: " + c.message), std::string::npos) << outcome.err;
    EXPECT_EQ(outcome.out, "");
  }
}

// A dictionary that cannot be read, or is no regular file, warns and answers 暂缺; a FIFO
// must not block the run, a link to an endless device not eat memory.
TEST(HostileInput, UnusableDictionariesWarnAndAnswerMissing) {
  const std::filesystem::path folder = scratch_folder("unusable");
  std::filesystem::create_directories(folder / "img");
  std::filesystem::copy_file(kData + "/img/1.jpg", folder / "img/1.jpg",
                             std::filesystem::copy_options::overwrite_existing);
  ASSERT_EQ(mkfifo((folder / "img/2.jpg").c_str(), 0644), 0);
  std::filesystem::create_symlink("/dev/zero", folder / "img/3.jpg");
  const Outcome query = run({"--data", folder.string(), "--query", "好"});
  EXPECT_EQ(query.status, 0);
  EXPECT_EQ(query.out, "好\n暂缺\nvb vbg \n暂缺\n2635\n");
  for (const char* name : {"2.jpg; its lookups answer 暂缺", "3.jpg; its lookups answer 暂缺"}) {
    EXPECT_NE(query.err.find(name), std::string::npos) << query.err;
  }
  const Outcome whole = run({"--data", folder.string(), "--from", "wubi98", "vbg"});
  EXPECT_EQ(whole.status, 1);
  EXPECT_NE(whole.err.find("2.jpg"), std::string::npos) << whole.err;
}

// Standard input that never ends, one endless line: the output goes on, memory stays small.
TEST(HostileInput, EndlessInputStreamsInBoundedMemory) {
  const Outcome outcome =
      run({"--data", kData, "--convert", "pinyin"}, "",
          {.input_path = "/dev/zero", .output_path = "/dev/null", .stop_after_seconds = 2});
  EXPECT_EQ(outcome.status, -1);  // still running when stopped
  if (kMemoryTellsAnything) EXPECT_LT(outcome.peak_kib, kStreamingKib);
}

}  // namespace
