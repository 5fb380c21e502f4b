#include "TarvCore/Rules/RepoGrouping.hpp"

#include <gtest/gtest.h>

using namespace tarv::core;
using Kind = RepoGroup::Kind;

namespace {

RepositoryEntry entry(std::string name, std::optional<std::string> url = std::nullopt, std::int64_t opened = 0) {
    return RepositoryEntry{"/src/" + name, std::move(name), std::move(url), opened, std::nullopt};
}

std::vector<std::string> names(const RepoGroup& group) {
    std::vector<std::string> result;
    for (const auto& e : group.entries) result.push_back(e.name);
    return result;
}

std::vector<Kind> kinds(const std::vector<RepoGroup>& groups) {
    std::vector<Kind> result;
    for (const auto& g : groups) result.push_back(g.kind);
    return result;
}

}  // namespace

TEST(RepoGrouping, NoEntriesNoGroups) { EXPECT_TRUE(RepoGrouping::groups({}).empty()); }

TEST(RepoGrouping, RecentOwnersAndOther) {
    const std::vector<RepositoryEntry> registry = {
        entry("zeta", "git@github.com:gamma/zeta.git", 50),
        entry("Alpha", "https://github.com/Beta/Alpha", 10),
        entry("beta2", "https://github.com/alpha/beta2", 40),
        entry("local", std::nullopt, 30),
        entry("odd", "not a url", 20),
        entry("ownerless", "https://example.com/ownerless"),
        entry("apple", "https://github.com/Beta/apple"),
    };
    const auto groups = RepoGrouping::groups(registry);
    EXPECT_EQ(kinds(groups), (std::vector<Kind>{Kind::recent(), Kind::owner("alpha"), Kind::owner("Beta"),
                                                Kind::owner("gamma"), Kind::other()}));
    EXPECT_EQ(names(groups[0]), (std::vector<std::string>{"zeta", "beta2", "local"}));
    EXPECT_EQ(names(groups[2]), (std::vector<std::string>{"Alpha", "apple"}));
    EXPECT_EQ(names(groups[4]), (std::vector<std::string>{"local", "odd", "ownerless"}));

    EXPECT_EQ(RepoGrouping::groups(registry, "   "), groups);
    EXPECT_EQ(kinds(RepoGrouping::groups(registry, "", 0)).front(), Kind::owner("alpha"));
    EXPECT_EQ(kinds(RepoGrouping::groups(registry, "", -4)).front(), Kind::owner("alpha"));
    EXPECT_EQ(names(RepoGrouping::groups(registry, "", 100)[0]).size(), 5u);
}

TEST(RepoGrouping, NothingOpenedMeansNoRecentGroup) {
    const auto groups = RepoGrouping::groups({entry("a"), entry("b")});
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].kind, Kind::other());
    EXPECT_EQ(names(groups[0]), (std::vector<std::string>{"a", "b"}));
}

TEST(RepoGrouping, FilterMatchesOwnerAndNameAndDropsRecent) {
    const std::vector<RepositoryEntry> registry = {
        entry("tools", "git@github.com:octo/tools.git", 5),
        entry("cli", "git@github.com:octo/cli.git", 6),
        entry("octopus", std::nullopt, 7),
        entry("other", "git@github.com:someone/other.git", 8),
    };
    const auto groups = RepoGrouping::groups(registry, "octo");
    EXPECT_EQ(kinds(groups), (std::vector<Kind>{Kind::owner("octo"), Kind::other()}));
    EXPECT_EQ(names(groups[0]), (std::vector<std::string>{"cli", "tools"}));
    EXPECT_EQ(names(groups[1]), (std::vector<std::string>{"octopus"}));
}

TEST(RepoGrouping, NamesSortIgnoringCaseAndKeepOrderWhenEqual) {
    RepositoryEntry first = entry("same");
    first.path = "/one";
    RepositoryEntry second = entry("SAME");
    second.path = "/two";
    const auto groups = RepoGrouping::groups({entry("b"), second, first, entry("A")});
    EXPECT_EQ(names(groups[0]), (std::vector<std::string>{"A", "b", "SAME", "same"}));
}
