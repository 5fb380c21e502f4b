#include "TarvFeatures/Branches/BranchRows.hpp"

#include <gtest/gtest.h>

#include "TarvFeatures/Branches/PullRequestList.hpp"

namespace tarv::features {
namespace {

core::Branch local(std::string name, std::int64_t timestamp = 0, bool current = false) {
    core::Branch branch;
    branch.name = std::move(name);
    branch.lastCommitTimestamp = timestamp;
    branch.isCurrent = current;
    return branch;
}

core::Branch remote(std::string name, std::int64_t timestamp = 0) {
    core::Branch branch = local(std::move(name), timestamp);
    branch.isRemote = true;
    return branch;
}

using Names = std::vector<std::string>;

// Each section as its title's case and its branch names.
std::vector<std::pair<core::Text, Names>> layout(const std::vector<core::Branch>& branches, std::string_view filter) {
    std::vector<std::pair<core::Text, Names>> out;
    for (const auto& section : BranchRows::sections(branches, filter)) {
        Names names;
        for (const auto& branch : section.branches) names.push_back(branch.name);
        out.emplace_back(section.title, names);
    }
    return out;
}

const core::Text defaults = core::Text::defaultBranch();
const core::Text recent = core::Text::recentBranches();
const core::Text others = core::Text::otherBranches();

TEST(BranchRows, DefaultBranchNamePrecedence) {
    struct Case {
        std::vector<core::Branch> branches;
        std::optional<std::string> name;
    };
    const Case cases[] = {
        {{local("trunk"), local("develop")}, "develop"},
        {{local("develop"), local("master"), local("main")}, "main"},
        {{local("master"), local("trunk")}, "master"},
        {{remote("origin/main"), local("feature")}, std::nullopt},
        {{remote("main"), local("trunk")}, "trunk"},  // a remote named "main" does not count
        {{local("Main"), local("mainline")}, std::nullopt},
        {{}, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(BranchRows::defaultBranchName(c.branches), c.name);
}

TEST(BranchRows, SectionsOfSmallRepositories) {
    struct Case {
        std::string name;
        std::vector<core::Branch> branches;
        std::string filter;
        std::vector<std::pair<core::Text, Names>> sections;
    };
    const Case cases[] = {
        {"remote default without a local one",
         {remote("origin/main"), local("feature")},
         "",
         {{recent, {"feature"}}, {others, {"origin/main"}}}},
        {"remote counterpart of a local branch is hidden",
         {local("main", 5, true), local("feature", 3), remote("origin/feature"), remote("origin/main"),
          remote("origin/topic"), remote("HEAD")},
         "",
         {{defaults, {"main"}}, {recent, {"feature"}}, {others, {"origin/topic"}}}},
        {"the current branch is not special",
         {local("a", 1, true), local("b", 2)},
         "",
         {{recent, {"b", "a"}}}},
        {"a filter that matches nothing", {local("main"), local("feature")}, "zzz", {}},
        {"no branches", {}, "", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(layout(c.branches, c.filter), c.sections) << c.name;
}

TEST(BranchRows, TenNewestAreRecentAndTheRestOpenTheOtherSection) {
    std::vector<core::Branch> branches = {local("main", 1)};
    for (int i = 0; i < 12; ++i) branches.push_back(local("b" + std::to_string(i), 100 + i));
    branches.push_back(remote("origin/x"));
    const auto sections = layout(branches, "");
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0], (std::pair<core::Text, Names>{defaults, {"main"}}));
    EXPECT_EQ(sections[1], (std::pair<core::Text, Names>{recent, {"b11", "b10", "b9", "b8", "b7", "b6", "b5", "b4",
                                                                   "b3", "b2"}}));
    EXPECT_EQ(sections[2], (std::pair<core::Text, Names>{others, {"b1", "b0", "origin/x"}}));
}

TEST(BranchRows, EqualTimestampsKeepTheMatchOrder) {
    const std::vector<core::Branch> branches = {local("zeta", 7), local("alpha", 7), local("mid", 9),
                                                local("beta", 7)};
    EXPECT_EQ(layout(branches, ""), (std::vector<std::pair<core::Text, Names>>{
                                        {recent, {"mid", "zeta", "alpha", "beta"}}}));
    // With a filter the matcher's ranking is the order ties keep: the exact
    // name ranks before a longer one that merely contains the letters.
    const std::vector<core::Branch> ranked = {local("fix-typo-extra", 7), local("fix", 7)};
    EXPECT_EQ(layout(ranked, "fix"),
              (std::vector<std::pair<core::Text, Names>>{{recent, {"fix", "fix-typo-extra"}}}));
}

TEST(BranchRows, FilterAppliesToEverySection) {
    const std::vector<core::Branch> branches = {local("main", 1), local("feature/login", 5), local("fix", 4),
                                                remote("origin/feature/logout")};
    EXPECT_EQ(layout(branches, "login"),
              (std::vector<std::pair<core::Text, Names>>{{recent, {"feature/login"}}}));
    EXPECT_EQ(layout(branches, "  "), layout(branches, ""));
}

TEST(BranchRows, SelectableIsTheSectionsInOrder) {
    std::vector<core::Branch> branches = {remote("origin/zz", 50), local("main", 1)};
    for (int i = 0; i < 11; ++i) branches.push_back(local("t" + std::to_string(i), i));
    for (const std::string filter : {"", "t", "z", "nothing"}) {
        std::vector<core::Branch> flat;
        for (const auto& section : BranchRows::sections(branches, filter)) {
            flat.insert(flat.end(), section.branches.begin(), section.branches.end());
        }
        EXPECT_EQ(BranchRows::selectable(branches, filter), flat) << filter;
    }
}

TEST(PullRequestList, ItemsOnlyWhenLoaded) {
    const core::PullRequest pr{7, "Fix", "ana", "fix", false, false, 0, "abc"};
    EXPECT_EQ(PullRequestList(), PullRequestList::idle());
    EXPECT_EQ(PullRequestList::loaded({pr}).items(), (std::vector<core::PullRequest>{pr}));
    for (const auto& list : {PullRequestList::failed(core::Text::hostingNotFound()), PullRequestList::idle(),
                             PullRequestList::signedOut(), PullRequestList::notGitHub(), PullRequestList::loading()}) {
        EXPECT_TRUE(list.items().empty());
    }
}

}  // namespace
}  // namespace tarv::features
