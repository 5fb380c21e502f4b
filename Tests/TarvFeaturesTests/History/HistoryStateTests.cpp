#include "TarvFeatures/History/HistoryState.hpp"

#include <gtest/gtest.h>

#include "TarvFeatures/History/NewTagState.hpp"
#include "TarvFeatures/History/TagPickerState.hpp"

namespace tarv::features {
namespace {

TEST(HistoryState, StartsEmptyAndExpectingAPage) {
    const HistoryState state;
    EXPECT_TRUE(state.commits.empty() && state.files.empty());
    EXPECT_TRUE(state.hasMore);
    EXPECT_FALSE(state.isLoading || state.isLoadingFiles);
    EXPECT_EQ(state.diff, DiffViewState(false));
    EXPECT_EQ(HistoryState::pageSize, 100);
}

TEST(HistoryState, SelectedCommitOnlyInsideTheLoadedCommits) {
    HistoryState state;
    state.commits.resize(2);
    state.commits[0].sha = "a1";
    state.commits[1].sha = "b2";
    struct Case {
        std::optional<std::int64_t> selected;
        const char* sha;
    };
    const Case cases[] = {{std::nullopt, nullptr}, {0, "a1"}, {1, "b2"}, {2, nullptr}, {-1, nullptr}};
    for (const Case& c : cases) {
        state.list.selected = c.selected;
        const core::Commit* commit = state.selectedCommit();
        if (c.sha) {
            ASSERT_NE(commit, nullptr);
            EXPECT_EQ(commit->sha, c.sha);
        } else {
            EXPECT_EQ(commit, nullptr) << c.selected.value_or(-99);
        }
    }
}

TEST(NewTagState, NameIsValidWhenItsTrimmedFormIsABranchName) {
    struct Case {
        std::string name;
        bool valid;
    };
    const Case cases[] = {{"v1.0", true}, {"  v1.0  ", true}, {"", false}, {"   ", false},
                          {"v 1", false}, {"a..b", false},    {"x.lock", false}};
    for (const Case& c : cases) {
        EXPECT_EQ(NewTagState(core::EditableText(c.name), "abc").isValid(), c.valid) << c.name;
    }
    const NewTagState fresh("abc123");
    EXPECT_EQ(fresh.commit, "abc123");
    EXPECT_TRUE(fresh.name.isEmpty());
    EXPECT_FALSE(fresh.name.allowsNewlines());
}

TEST(TagPickerState, SelectsTheFirstTagUnlessThereIsNone) {
    EXPECT_EQ(TagPickerState(std::vector<core::Tag>{}).list, (core::ListScroll{0, std::nullopt}));
    EXPECT_EQ(TagPickerState({core::Tag{"v1", "a"}, core::Tag{"v2", "b"}}).list, (core::ListScroll{0, 0}));
}

}  // namespace
}  // namespace tarv::features
