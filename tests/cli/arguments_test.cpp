// The command line read in-process: what a usage asks for, and each usage refused.

#include "cli/arguments.h"

#include <gtest/gtest.h>

namespace zhavik {
namespace {

// What the process tests cannot tell apart: where options end, and which operands are text.
TEST(Arguments, OptionsEndAtADoubleDash) {
  const Request convert =
      parse_arguments({"--convert", "wubi98", "a.txt", "--", "-b", "--as-window", "--data"});
  EXPECT_EQ(convert.kind, Kind::wubi98);
  EXPECT_EQ(convert.files,
            (std::vector<std::filesystem::path>{"a.txt", "-b", "--as-window", "--data"}));
  EXPECT_FALSE(convert.as_window);
  EXPECT_EQ(parse_arguments({"-"}).operands, std::vector<std::u16string>{u"-"});
  EXPECT_EQ(parse_arguments({"-h"}).mode, Mode::help);
}

TEST(Arguments, RefusesWhatCannotBeDone) {
  const std::vector<std::vector<std::string>> refused = {
      {},
      {"--kind", "五笔", "好"},
      {"--frobnicate"},
      {"--kind", "pinyin"},
      {"--query", "a", "b"},
      {"--syllables", "zh"},
      {"--kind", "pinyin", "好人"},
      {"--tones", "a", "--query"},
      {"\xFF"},
      {"--style", "tones", "中"},
      {"--encoding", "latin1", "--convert", "pinyin"},
      {"--encoding", "gbk", "中"},
      {"--line-buffered", "--query", "中"},
      {"--as-window", "--style", "numbers", "--convert", "pinyin"},
      {"--prefix", "中"},
      {"--json", "--convert", "pinyin"},
      {"--convert", "wubi86", "--words"},
      {"--convert", "pinyin", "--sandhi"},
      {"--from", "wubi86", ""},
      {"--from", "wubi86"},
      {"--help", "--version"},
      {"--data"},
  };
  for (const std::vector<std::string>& arguments : refused)
    EXPECT_THROW(parse_arguments(arguments), UsageError) << testing::PrintToString(arguments);
}

TEST(Arguments, EscapesWhatWouldDriveATerminal) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain 中文", "plain 中文"},
      {"\x1b[31mred\n", "\\x1b[31mred\\n"},
      {"tab\there\\", "tab\\there\\\\"},
      {"\xC2\x9B\x32J\x7F", "\\x9b2J\\x7f"},  // the one-character CSI of C1, DEL
      {"bad\xFF\xE4\xB8", "bad\\xff\\xe4\\xb8"},
  };
  for (const auto& [text, escaped] : cases)
    EXPECT_EQ(escaped_for_terminal(text), escaped);
}

}  // namespace
}  // namespace zhavik
