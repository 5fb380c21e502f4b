#include "TarvCore/Rules/BranchNameRules.hpp"

#include <gtest/gtest.h>

using namespace tarv::core;

TEST(BranchNameRules, Validity) {
    for (const char* valid : {"feature/x", "a@b", "@x", "x", "main", "v1.2", "fix-\u00E9t\u00E9", "a.b/c"}) {
        EXPECT_TRUE(BranchNameRules::isValid(valid)) << valid;
    }
    for (const char* invalid :
         {"", "@", "feature/.x", ".x", "x.lock", "x/", "a..b", "a//b", "a@{b", "-x", "/x", "x.", "a b", "a~b", "a^b",
          "a:b", "a?b", "a*b", "a[b", "a\\b", "a\tb", "a\x7f" "b", "a\r\nb", "a\nb", "x ", " x", "a \u0301b"}) {
        EXPECT_FALSE(BranchNameRules::isValid(invalid)) << invalid;
    }
}

TEST(BranchNameRules, SanitizeTrimsAndReplacesInnerWhiteSpace) {
    EXPECT_EQ(BranchNameRules::sanitize("  my new  branch "), "my-new--branch");
    EXPECT_EQ(BranchNameRules::sanitize("a\r\nb\tc\u00A0d"), "a-b-c-d");
    EXPECT_EQ(BranchNameRules::sanitize("Keep--Case"), "Keep--Case");
    EXPECT_FALSE(BranchNameRules::isValid("x "));
    EXPECT_TRUE(BranchNameRules::isValid(BranchNameRules::sanitize("x ")));
}
