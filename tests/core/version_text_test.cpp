#include "core/version_text.h"

#include <gtest/gtest.h>

namespace zhavik {
namespace {

// The revision follows the minor number directly, with no separator (3.9.0 is 3.90, as the
// window title shows).
TEST(VersionText, RevisionFollowsTheMinorNumber) {
  EXPECT_EQ(version_text(1, 2, 15), "1.215");
}

}  // namespace
}  // namespace zhavik
