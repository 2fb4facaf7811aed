// zhavik-lookup run as a process, as a script would run it.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
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

// Runs the program with standard input, output and error in files, so that no pipe can
// fill up and block either side. The files go as soon as they are read: the large cases
// would otherwise keep a hundred megabytes in them until the process ends.
Outcome run(std::vector<std::string> arguments, const std::string& input = "") {
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
    dup2(open(in.c_str(), O_RDONLY), 0);
    dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  Outcome outcome{WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_file(out), read_file(err)};
  std::filesystem::remove_all(folder);
  return outcome;
}

const std::string kData = ZHAVIK_SOURCE_DIR;

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
}

TEST(Lookup, ConvertsStandardInputByteExact) {
  EXPECT_EQ(run({"--data", kData, "--convert", "pinyin"}, "你好 a\r\n中").out,
            "nǐ hǎo ### \r\nzhōng \r\n");
  EXPECT_EQ(run({"--data", kData, "--convert", "区位"}, "").out, "\r\n\r\n");
  const Outcome bad = run({"--data", kData, "--convert", "pinyin"}, "好\xFF");
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.out, "");
  EXPECT_NE(bad.err.find("byte offset 3"), std::string::npos) << bad.err;
}

TEST(Lookup, BadUsageFailsWithAMessage) {
  for (const std::vector<std::string>& arguments :
       std::vector<std::vector<std::string>>{{"--kind", "五笔", "好"},
                                             {"--frobnicate"},
                                             {},
                                             {"--kind", "pinyin"},
                                             {"--query", "a", "b"},
                                             {"--convert", "pinyin", "x"},
                                             {"--syllables", "zh"},
                                             {"--kind", "pinyin", "好人"},
                                             {"--tones", "a", "--query"},
                                             {"\xFF"}}) {
    const Outcome outcome = run(arguments);
    EXPECT_EQ(outcome.status, 2) << arguments.size();
    EXPECT_NE(outcome.err.find("zhavik-lookup: "), std::string::npos);
    EXPECT_EQ(outcome.out, "");
  }
}

TEST(Lookup, MissingDictionaryIsAWarningAndAnswersMissing) {
  const std::filesystem::path folder = scratch_folder("partial");
  std::filesystem::create_directories(folder / "img");
  std::filesystem::copy_file(kData + "/img/1.jpg", folder / "img/1.jpg",
                             std::filesystem::copy_options::overwrite_existing);
  const Outcome outcome = run({"--data", folder.string(), "--query", "好"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_NE(outcome.err.find("warning: cannot read"), std::string::npos);
  EXPECT_NE(outcome.err.find("2.jpg"), std::string::npos);
  EXPECT_TRUE(outcome.out.starts_with("好\n暂缺\n")) << outcome.out;
  EXPECT_TRUE(outcome.out.ends_with(" \n暂缺\n2635\n")) << outcome.out;
}

std::string repeated(std::string_view piece, std::size_t at_least) {
  std::string text;
  text.reserve(at_least + piece.size());
  while (text.size() < at_least)
    text += piece;
  return text;
}

TEST(HostileInput, StandardInputThatIsNotUtf8FailsWithItsOffset) {
  std::string binary(4096, '\0');
  for (std::size_t i = 0; i < binary.size(); ++i)
    binary[i] = static_cast<char>(i * 7919 % 251);
  // UTF-8 你, then 你 in code page 936; a surrogate written as UTF-8.
  const std::pair<std::string, std::string> inputs[] = {{binary, "byte offset 1)"},
                                                        {"\xE4\xBD\xA0\xC4\xE3", "byte offset 3"},
                                                        {"ab\xED\xA0\x80", "byte offset 2"}};
  for (const auto& [input, offset] : inputs) {
    const Outcome outcome = run({"--data", kData, "--convert", "pinyin"}, input);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_NE(outcome.err.find(offset), std::string::npos) << outcome.err;
  }
  // U+0000 and U+FFFF are characters UTF-8 carries; they are not Chinese.
  EXPECT_EQ(run({"--data", kData, "--convert", "pinyin"}, std::string("\0\xEF\xBF\xBF好", 7)).out,
            "### ### hǎo \r\n\r\n");
}

// Compared as a whole without printing: a failure would print two huge texts.
TEST(HostileInput, FiftyMegabytesOfStandardInputConvertInFull) {
  const std::string line = repeated("你好，中国人 ab", 78) + "\r\n";
  const std::string one = run({"--data", kData, "--convert", "wubi86"}, line).out;
  const std::string converted_line = one.substr(0, one.size() - 2);  // without the empty line
  const std::size_t lines = 50 * 1024 * 1024 / line.size() + 1;
  const Outcome outcome =
      run({"--data", kData, "--convert", "wubi86"}, repeated(line, lines * line.size()));
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.out.size(), lines * converted_line.size() + 2);
  EXPECT_TRUE(outcome.out == repeated(converted_line, lines * converted_line.size()) + "\r\n");
}

// Dictionaries that are empty, binary, or saved with bare LF line ends, one long line.
TEST(HostileInput, DictionariesThatAreNotWhatTheyShouldBe) {
  const std::filesystem::path folder =
      std::filesystem::path(testing::TempDir()) / ("hostile-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder / "img");
  const auto write = [&](const char* name, const std::string& bytes) {
    std::ofstream(folder / "img" / name, std::ios::binary) << bytes;
  };
  std::string binary(64 * 1024, '\0');
  for (std::size_t i = 0; i < binary.size(); ++i)
    binary[i] = static_cast<char>(i * 31 % 256);
  write("1.jpg", repeated("\xBA\xC3vb \xD6\xD0kh\n", 8 * 1024 * 1024));  // 好 中, LF
  write("2.jpg", binary);
  write("3.jpg", "");
  const Outcome query = run({"--data", folder.string(), "--query", "中"});
  EXPECT_EQ(query.status, 0);
  EXPECT_EQ(query.err, "");
  // A line feed is no line break, so each code runs on into the next line; the last 中
  // of the file adds its code without the next line.
  EXPECT_EQ(query.out, "中\n暂缺\nkh\n好vb 中kh\n好vb 中kh\n kh\n \n暂缺\n5448\n");
  const std::string pair = "好中";
  const Outcome converted =
      run({"--data", folder.string(), "--convert", "86五笔"}, repeated(pair, pair.size() * 100000));
  const std::string items = "vb kh\n好vb ";
  EXPECT_TRUE(converted.out == repeated(items, items.size() * 100000) + "\r\n\r\n");
  std::filesystem::remove_all(folder);
}

}  // namespace
