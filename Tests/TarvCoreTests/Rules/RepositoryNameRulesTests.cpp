#include "TarvCore/Rules/RepositoryNameRules.hpp"

#include <gtest/gtest.h>

using namespace tarv::core;

TEST(RepositoryNameRules, Validity) {
    EXPECT_TRUE(RepositoryNameRules::isValid(std::string(100, 'a')));
    EXPECT_FALSE(RepositoryNameRules::isValid(std::string(101, 'a')));
    EXPECT_TRUE(RepositoryNameRules::isValid("my-repo_1.0"));
    for (const char* invalid : {"", ".", "..", "\u00E9", "a b", " a", "a/b", "a!"})
        EXPECT_FALSE(RepositoryNameRules::isValid(invalid)) << invalid;
    EXPECT_TRUE(RepositoryNameRules::isValid("..."));
}

TEST(RepositoryNameRules, SanitizeReplacesEachScalar) {
    EXPECT_EQ(RepositoryNameRules::sanitize("My Repo!"), "My-Repo-");
    EXPECT_EQ(RepositoryNameRules::sanitize("  caf\u00E9  "), "caf-");
    EXPECT_EQ(RepositoryNameRules::sanitize("cafe\u0301"), "cafe-");
    EXPECT_EQ(RepositoryNameRules::sanitize("e\u0301t\u00E9"), "e-t-");
    EXPECT_EQ(RepositoryNameRules::sanitize(std::string("a\xFF" "b")), "a-b");
}
