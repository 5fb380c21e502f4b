#include "TarvCore/Rules/EnvironmentRules.hpp"

#include <gtest/gtest.h>

#include "TarvCore/Rules/IdentityRules.hpp"

namespace tarv::core {
namespace {

EnvironmentReport healthy() {
    return EnvironmentReport{"/usr/bin/git", GitVersion{2, 39, 5}, Identity{"Ada", "ada@example.com"},
                             {"store"}, "main"};
}

TEST(EnvironmentRulesTest, ReportsIssuesInOrder) {
    EXPECT_TRUE(EnvironmentRules::issues(healthy()).empty());

    EXPECT_EQ(EnvironmentRules::issues(EnvironmentReport{}), std::vector<EnvironmentIssue>{EnvironmentIssue::gitMissing()});

    const EnvironmentReport poor{"/usr/bin/git", GitVersion{2, 29, 9}, Identity{}, {}, "  "};
    EXPECT_EQ(EnvironmentRules::issues(poor),
              (std::vector<EnvironmentIssue>{EnvironmentIssue::gitTooOld({2, 29, 9}, {2, 30, 0}),
                                             EnvironmentIssue::identityMissing(),
                                             EnvironmentIssue::credentialHelperMissing(),
                                             EnvironmentIssue::defaultBranchUnset()}));

    auto exact = healthy();
    exact.gitVersion = GitVersion{2, 30, 0};
    EXPECT_TRUE(EnvironmentRules::issues(exact).empty());

    auto unknownVersion = healthy();
    unknownVersion.gitVersion = std::nullopt;
    EXPECT_TRUE(EnvironmentRules::issues(unknownVersion).empty());

    auto noBranch = healthy();
    noBranch.defaultBranch = std::nullopt;
    EXPECT_EQ(EnvironmentRules::issues(noBranch), std::vector<EnvironmentIssue>{EnvironmentIssue::defaultBranchUnset()});

    EXPECT_EQ(EnvironmentRules::issues(healthy(), GitVersion{3, 0, 0}),
              std::vector<EnvironmentIssue>{EnvironmentIssue::gitTooOld({2, 39, 5}, {3, 0, 0})});
}

TEST(IdentityRulesTest, CompletenessAndNames) {
    EXPECT_TRUE(IdentityRules::isComplete(Identity{"Ada", "x"}));
    EXPECT_FALSE(IdentityRules::isComplete(Identity{"  ", "ada@example.com"}));
    EXPECT_FALSE(IdentityRules::isComplete(Identity{"Ada", std::nullopt}));
    EXPECT_FALSE(IdentityRules::isComplete(Identity{"Ada", "\n"}));
    EXPECT_TRUE(IdentityRules::isValidName(" Ada "));
    EXPECT_FALSE(IdentityRules::isValidName(" \t"));
}

TEST(IdentityRulesTest, EmailForm) {
    struct Row {
        const char* email;
        bool valid;
    };
    const std::vector<Row> rows = {
        {"a@b.co", true},        {"  ada@example.com \n", true}, {"ada@example", false},
        {"@example.com", false}, {"ada@.example.com", false},    {"ada@example.com.", false},
        {"ada@@example.com", false}, {"a@b@c.d", false},         {"ada @example.com", false},
        {"ada@exa\xC2\xA0mple.com", false}, {"", false},         {"ada.example.com", false},
    };
    for (const auto& r : rows) EXPECT_EQ(IdentityRules::isValidEmail(r.email), r.valid) << r.email;
}

TEST(IdentityRulesTest, NoReplyEmail) {
    EXPECT_EQ(IdentityRules::githubNoReplyEmail(12345, "octo"), "12345+octo@users.noreply.github.com");
}

}  // namespace
}  // namespace tarv::core
