#include "core/version_text.h"

#include <gtest/gtest.h>

namespace zhavik {
namespace {

TEST(VersionText, RevisionFollowsTheMinorNumberDirectly) {
  EXPECT_EQ(version_text(3, 9, 0), "3.90");
  EXPECT_EQ(version_text(1, 2, 15), "1.215");
}

}  // namespace
}  // namespace zhavik
