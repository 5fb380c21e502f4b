#include <gtest/gtest.h>

#include "TarvFeatures/Repositories/GitHubRepositoryList.hpp"
#include "TarvFeatures/Repositories/NewWorktreeState.hpp"
#include "TarvFeatures/Repositories/RepositoryRows.hpp"
#include "TarvFeatures/Repositories/WorktreePickerState.hpp"

namespace tarv::features {
namespace {

core::GitHubRepository repo(std::string fullName) {
    return core::GitHubRepository{std::move(fullName), false, "https://example.test/x.git", false};
}

std::vector<std::string> fullNames(const std::vector<core::GitHubRepository>& repositories) {
    std::vector<std::string> names;
    for (const auto& r : repositories) names.push_back(r.fullName);
    return names;
}

TEST(GitHubRepositoryList, Matching) {
    const auto list = GitHubRepositoryList::loaded({repo("ana/tarv"), repo("ana/Notes"), repo("org/tarv-site")});
    struct Case {
        std::string text;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"", {"ana/tarv", "ana/Notes", "org/tarv-site"}},
        {"   ", {"ana/tarv", "ana/Notes", "org/tarv-site"}},
        {"TARV", {"ana/tarv", "org/tarv-site"}},
        {" notes ", {"ana/Notes"}},
        {"ana/", {"ana/tarv", "ana/Notes"}},
        {"git@", {}},                    // the start of an scp-style address
        {"https://github.com/a", {}},  // an address with a scheme
        {"zzz", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(fullNames(list.matching(c.text)), c.names) << c.text;
    for (const auto& other : {GitHubRepositoryList::signedOut(), GitHubRepositoryList::loading(),
                              GitHubRepositoryList::failed(core::Text::hostingNotFound())}) {
        EXPECT_TRUE(other.matching("").empty());
        EXPECT_TRUE(other.matching("ana").empty());
        EXPECT_TRUE(other.items().empty());
    }
    EXPECT_EQ(GitHubRepositoryList(), GitHubRepositoryList::signedOut());
}

core::RepositoryEntry entry(std::string name, std::int64_t lastOpened, std::optional<std::string> remote = {}) {
    return core::RepositoryEntry{"/src/" + name, name, std::move(remote), lastOpened, std::nullopt};
}

TEST(RepositoryRows, RecentGroupHoldsThreeAndSelectableFlattensTheGroups) {
    const std::vector<core::RepositoryEntry> entries = {
        entry("a", 1), entry("b", 4), entry("c", 3), entry("d", 2, "https://github.com/ana/d.git")};
    const auto groups = RepositoryRows::groups(entries, "");
    ASSERT_FALSE(groups.empty());
    EXPECT_EQ(groups.front().kind, core::RepoGroup::Kind::recent());
    std::vector<std::string> recent;
    for (const auto& e : groups.front().entries) recent.push_back(e.name);
    EXPECT_EQ(recent, (std::vector<std::string>{"b", "c", "d"}));

    for (const std::string filter : {"", "d", "zz"}) {
        std::vector<core::RepositoryEntry> flat;
        for (const auto& group : RepositoryRows::groups(entries, filter)) {
            flat.insert(flat.end(), group.entries.begin(), group.entries.end());
        }
        EXPECT_EQ(RepositoryRows::selectable(entries, filter), flat) << filter;
    }
    EXPECT_TRUE(RepositoryRows::selectable(entries, "zz").empty());
}

TEST(NewWorktreeState, DestinationBesideTheRepository) {
    struct Case {
        std::string repository;
        std::string branch;
        std::string destination;
    };
    const Case cases[] = {
        {"/work/app", "feature/login", "/work/app-feature-login"},
        {"/work/app/", "feature/login", "/work/app-feature-login"},
        {"app", "fix", "./app-fix"},
        {"/work/app", "  team/ana/fix  ", "/work/app-team-ana-fix"},
        {"/app", "x", "/app-x"},
        {"/work/app", "", "/work/app-"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NewWorktreeState(core::EditableText(c.branch), c.repository).destination(), c.destination)
            << c.repository << " " << c.branch;
    }
}

TEST(NewWorktreeState, InitialAndValidity) {
    const NewWorktreeState fresh("/work/app");
    EXPECT_TRUE(fresh.branch.isEmpty());
    EXPECT_FALSE(fresh.branch.allowsNewlines());
    EXPECT_FALSE(fresh.isValid());
    EXPECT_TRUE(NewWorktreeState(core::EditableText("  feature/x "), "/r").isValid());
    EXPECT_FALSE(NewWorktreeState(core::EditableText("a b"), "/r").isValid());
}

TEST(WorktreePickerState, SelectsTheFirstWorktreeUnlessThereIsNone) {
    EXPECT_EQ(WorktreePickerState().list, (core::ListScroll{0, std::nullopt}));
    EXPECT_EQ(WorktreePickerState(std::vector<core::Worktree>{}).list, (core::ListScroll{0, std::nullopt}));
    EXPECT_EQ(WorktreePickerState({core::Worktree{"/w", "main", "abc", true}}).list, (core::ListScroll{0, 0}));
}

}  // namespace
}  // namespace tarv::features
