#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace zhavik {

// A fresh folder with an empty img/ for each test, for dictionary files written by the test.
class DictionaryFolder : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::path(testing::TempDir()) /
              testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_ / "img");
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  // Writes `bytes` as the file `name` below the folder.
  void write(const std::filesystem::path& name, const std::string& bytes) {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
  }

  std::filesystem::path folder_;
};

}  // namespace zhavik
