#include "TarvCore/Models/GitVersion.hpp"

#include <gtest/gtest.h>

#include "TarvCore/Rules/EnvironmentRules.hpp"

namespace tarv::core {
namespace {

TEST(GitVersionTest, ParsesTheVersionOutput) {
    struct Row {
        std::string output;
        std::optional<GitVersion> expected;
    };
    const std::vector<Row> rows = {
        {"git version 2.39.5\n", GitVersion{2, 39, 5}},
        {"git version 2.39.3 (Apple Git-146)", GitVersion{2, 39, 3}},
        {"git version 2.45.0.windows.1", GitVersion{2, 45, 0}},
        {"git version 2.30", GitVersion{2, 30, 0}},
        {"git version 2.40.0.rc1", GitVersion{2, 40, 0}},
        {"git version 2.39rc1.1", GitVersion{2, 39, 1}},
        {"git version 2.30.x", GitVersion{2, 30, 0}},
        {"git version 2..30.1", GitVersion{2, 30, 1}},
        {"git   version\t2.31.1  \n", GitVersion{2, 31, 1}},
        {"git\xE3\x80\x80version\xC2\xA0" "2.31.1", GitVersion{2, 31, 1}},  // Unicode white space
        {"version 3.0.0 git version 2.1.0", GitVersion{3, 0, 0}},                    // the first "version" counts
        {"git version 2", std::nullopt},
        {"version", std::nullopt},
        {"git version", std::nullopt},
        {"git version 2.x.1", std::nullopt},
        {"git version x.30.1", std::nullopt},
        {"git Version 2.30.1", std::nullopt},
        {"git version 99999999999999999999.1.0", std::nullopt},
        {"git version 2.1.99999999999999999999", GitVersion{2, 1, 0}},
        {"", std::nullopt},
    };
    for (const auto& r : rows) EXPECT_EQ(GitVersion::parse(r.output), r.expected) << r.output;
}

TEST(GitVersionTest, OrdersAgainstTheMinimum) {
    const GitVersion minimum = EnvironmentRules::minimumGitVersion;
    EXPECT_EQ(minimum, (GitVersion{2, 30, 0}));
    EXPECT_LT((GitVersion{2, 29, 9}), minimum);
    EXPECT_LT((GitVersion{1, 99, 99}), minimum);
    EXPECT_FALSE((GitVersion{2, 30, 0}) < minimum);
    EXPECT_GT((GitVersion{2, 30, 1}), minimum);
    EXPECT_GT((GitVersion{2, 100, 0}), (GitVersion{2, 31, 0}));  // numbers, not text
    EXPECT_GT((GitVersion{3, 0, 0}), (GitVersion{2, 99, 99}));
    EXPECT_EQ((GitVersion{2, 39, 3}).description(), "2.39.3");
}

}  // namespace
}  // namespace tarv::core
