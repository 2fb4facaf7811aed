#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#ifdef _WIN32
#define popen _popen
#define pclose _pclose
#endif

// The outline that a real HTML parser (Python's html.parser, through
// tests/core/html_outline.py) reads from a page: its head, its paragraphs with [字|zì] for a
// ruby, and an "error: ..." line for whatever does not belong in a ruby page.
// The page's file name is drawn at random: other runs of the same test (another build on the
// machine) share the temporary folder.
inline std::string outline_of(const std::string& page) {
  const std::filesystem::path file =
      std::filesystem::path(testing::TempDir()) /
      ("ruby-page-" + std::to_string(std::random_device{}()) + ".html");
  std::ofstream(file, std::ios::binary) << page;
  const std::string command = "python3 \"" + std::string(ZHAVIK_SOURCE_DIR) +
                              "/tests/core/html_outline.py\" \"" + file.string() + "\"";
  std::string outline;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
      outline.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0);
  }
  std::filesystem::remove(file);
  return outline;
}
