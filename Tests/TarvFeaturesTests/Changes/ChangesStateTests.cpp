#include "TarvFeatures/Changes/ChangesState.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "../Diff/DiffFixtures.hpp"
#include "TarvCore/Models/ConflictDocument.hpp"

namespace tarv::features {
namespace {

using core::ChangeKind;
using testing::diffOf;
using testing::LineKind;

core::FileChange file(std::string path, ChangeKind kind = ChangeKind::modified,
                      std::optional<std::string> originalPath = std::nullopt) {
    return core::FileChange{std::move(path), std::move(originalPath), kind, false, true};
}

core::WorkingTreeStatus statusOf(std::vector<core::FileChange> files) {
    core::WorkingTreeStatus status;
    status.files = std::move(files);
    return status;
}

std::vector<std::string> pathsOf(const VisibleFiles& files) {
    std::vector<std::string> paths;
    for (std::int64_t i = 0; i < files.size(); ++i) paths.push_back(files[i].path);
    return paths;
}

// Two removed and two added lines: change lines (0,0) (0,1) (0,2) (0,3).
core::Diff changed() {
    return diffOf({{LineKind::removed, LineKind::removed, LineKind::added, LineKind::added, LineKind::context}});
}

TEST(ChangesState, StartsEmpty) {
    const ChangesState state;
    EXPECT_EQ(state.filter, core::EditableText(""));
    EXPECT_FALSE(state.filter.allowsNewlines());
    EXPECT_EQ(state.diff, DiffViewState(false));
    EXPECT_EQ(state.list, core::ListScroll{});
    EXPECT_TRUE(state.included.empty() && state.knownPaths.empty() && state.partial.empty() && state.conflicts.empty());
    EXPECT_EQ(state.conflictOffset + state.conflictCursor, 0);
}

TEST(ChangesState, VisibleFilesFollowTheFilter) {
    const auto status = statusOf({file("src/Main.swift"), file("README.md"), file("docs/Café.md"),
                                  file("new.txt", ChangeKind::renamed, "src/old.txt"), file("kit/ß.txt")});
    struct Case {
        std::string filter;
        std::vector<std::string> paths;
    };
    const Case cases[] = {
        {"", {"src/Main.swift", "README.md", "docs/Café.md", "new.txt", "kit/ß.txt"}},
        {"  \t", {"src/Main.swift", "README.md", "docs/Café.md", "new.txt", "kit/ß.txt"}},
        {"MAIN", {"src/Main.swift"}},
        {" readme ", {"README.md"}},
        {"src", {"src/Main.swift"}},  // the original path of a rename is not searched
        {"CAFÉ", {"docs/Café.md"}},   // both sides lower-cased beyond ASCII
        {"é", {"docs/Café.md"}},
        {"\u212A", {"kit/ß.txt"}},  // the Kelvin sign lower-cases to "k"
        {"ß.t", {"kit/ß.txt"}},
        {"xyz", {}},
        {"C/m", {"src/Main.swift"}},
    };
    for (const Case& c : cases) {
        ChangesState state;
        state.filter.setText(c.filter);
        EXPECT_EQ(pathsOf(state.visibleFiles(status)), c.paths) << c.filter;
    }
}

TEST(ChangesState, SelectedFileIsTheFirstWithThePath) {
    const auto status = statusOf({file("a"), file("b", ChangeKind::added), file("b")});
    ChangesState state;
    EXPECT_EQ(state.selectedFile(status), nullptr);
    state.selectedPath = "b";
    EXPECT_EQ(state.selectedFile(status), &status.files[1]);
    state.selectedPath = "c";
    EXPECT_EQ(state.selectedFile(status), nullptr);
}

// The per-key shortcuts (the selected file looked for at the list's
// selection, the included count taken from `included` once the status is
// applied) give the answers of a plain scan of the status, whatever the
// list's selection, the filter and the status.
TEST(ChangesState, ShortcutsAnswerLikeAScanOfTheStatus) {
    const auto scanSelected = [](const ChangesState& state, const core::WorkingTreeStatus& status) {
        const core::FileChange* found = nullptr;
        for (const auto& f : status.files) {
            if (!found && state.selectedPath && f.path == *state.selectedPath) found = &f;
        }
        return found;
    };
    const auto scanCount = [](const ChangesState& state, const core::WorkingTreeStatus& status) {
        return static_cast<std::int64_t>(std::count_if(status.files.begin(), status.files.end(),
                                                       [&](const auto& f) { return state.included.contains(f.path); }));
    };
    const std::vector<std::optional<std::string>> selections = {std::nullopt, "a", "b", "dir/c", "gone"};
    const std::vector<std::optional<std::int64_t>> rows = {std::nullopt, -1, 0, 1, 2, 3, 40};
    const std::vector<std::set<std::string>> inclusions = {{}, {"a"}, {"a", "b", "dir/c"}};
    for (const auto& selected : selections) {
        for (const auto& row : rows) {
            for (const auto& included : inclusions) {
                for (int variant = 0; variant < 3; ++variant) {
                    auto status = statusOf({file("a"), file("b", ChangeKind::conflicted), file("dir/c")});
                    ChangesState state;
                    state.knownPaths = {"a", "b", "dir/c"};
                    state.included = included;
                    state.selectedPath = selected;
                    state.list.selected = row;
                    state.conflicts["b"] = core::ConflictDocument::parse("<<<<<<< ours\nx\n=======\ny\n>>>>>>> theirs\n");
                    if (variant == 1) state.filter.setText("c");  // rows index the filtered list
                    if (variant == 2) status.files.insert(status.files.begin(), file("new"));  // not applied yet
                    const std::string name = selected.value_or("none") + " row " +
                                             (row ? std::to_string(*row) : "none") + " included " +
                                             std::to_string(included.size()) + " variant " + std::to_string(variant);
                    const auto* expected = scanSelected(state, status);
                    EXPECT_EQ(state.selectedFile(status), expected) << name;
                    const bool conflicted = expected && expected->kind == ChangeKind::conflicted;
                    EXPECT_EQ(state.activeConflict(status), conflicted ? &state.conflicts.at("b") : nullptr) << name;
                    EXPECT_EQ(state.includedCount(status), scanCount(state, status)) << name;
                }
            }
        }
    }
}

TEST(ChangesState, CommitSelectionTakesWholeAndPartialFilesInStatusOrder) {
    const auto status = statusOf({
        file("moved.txt", ChangeKind::renamed, "old.txt"),
        file("excluded.txt"),
        file("untracked.txt", ChangeKind::untracked),
        file("added.txt", ChangeKind::added),
        file("modified.txt"),
        file("whole.txt"),
    });
    const PartialFileSelection part{{{0, 1}}, changed()};
    ChangesState state;
    state.included = {"whole.txt", "modified.txt", "added.txt", "untracked.txt", "moved.txt", "gone.txt"};
    state.partial = {{"untracked.txt", part}, {"added.txt", part}, {"modified.txt", part}};

    const core::CommitSelection selection = state.commitSelection(status);
    EXPECT_EQ(selection.wholePaths, (std::vector<std::string>{"moved.txt", "old.txt", "whole.txt"}));
    ASSERT_EQ(selection.partials.size(), 3u);
    EXPECT_EQ(selection.partials[0], (core::PartialSelection{"untracked.txt", true, changed(), {{0, 1}}}));
    EXPECT_EQ(selection.partials[1], (core::PartialSelection{"added.txt", true, changed(), {{0, 1}}}));
    EXPECT_EQ(selection.partials[2], (core::PartialSelection{"modified.txt", false, changed(), {{0, 1}}}));

    std::vector<std::string> included;
    for (const auto& f : state.includedChanges(status)) included.push_back(f.path);
    EXPECT_EQ(included, (std::vector<std::string>{"moved.txt", "untracked.txt", "added.txt", "modified.txt",
                                                  "whole.txt"}));
    EXPECT_EQ(state.includedCount(status), 5);

    const ChangesState nothing;
    EXPECT_TRUE(nothing.commitSelection(status).isEmpty());
    EXPECT_EQ(nothing.includedCount(status), 0);
}

TEST(ChangesState, ActiveConflictNeedsAConflictedSelectionAndItsDocument) {
    const auto status = statusOf({file("c.txt", ChangeKind::conflicted), file("m.txt")});
    const core::ConflictDocument document = core::ConflictDocument::parse("a\n<<<<<<< HEAD\nx\n=======\ny\n>>>>>>> b\n");
    struct Case {
        std::optional<std::string> selected;
        std::vector<std::string> documents;
        bool active;
    };
    const Case cases[] = {
        {"c.txt", {"c.txt"}, true},
        {"c.txt", {}, false},         // not arrived yet
        {"m.txt", {"m.txt"}, false},  // a stale document of a file no longer conflicted
        {std::nullopt, {"c.txt"}, false},
        {"gone.txt", {"gone.txt"}, false},
    };
    for (const Case& c : cases) {
        ChangesState state;
        state.selectedPath = c.selected;
        for (const auto& path : c.documents) state.conflicts.emplace(path, document);
        const core::ConflictDocument* active = state.activeConflict(status);
        EXPECT_EQ(active != nullptr, c.active) << c.selected.value_or("none");
        if (active) {
            EXPECT_EQ(active, &state.conflicts.at("c.txt"));
        }
    }
}

TEST(ChangesState, SelectionOfTheSelectedFile) {
    const std::set<core::LineRef> all = {{0, 0}, {0, 1}, {0, 2}, {0, 3}};
    struct Case {
        std::string name;
        std::optional<std::string> selected;
        bool diffLoaded;
        bool included;
        std::optional<std::set<core::LineRef>> partial;
        SelectedLines selection;
        std::set<core::LineRef> lines;
    };
    const Case cases[] = {
        {"no selection", std::nullopt, true, true, std::nullopt, SelectedLines::none(), {}},
        {"diff loading", "f", false, true, std::nullopt, SelectedLines::none(), {}},
        {"partial", "f", true, true, std::set<core::LineRef>{{0, 2}}, SelectedLines::some({{0, 2}}), {{0, 2}}},
        {"whole", "f", true, true, std::nullopt, SelectedLines::all(), all},
        {"excluded", "f", true, false, std::nullopt, SelectedLines::none(), {}},
    };
    for (const Case& c : cases) {
        ChangesState state;
        state.selectedPath = c.selected;
        if (c.diffLoaded) state.diff.setDiff(changed());
        if (c.included) state.included.insert("f");
        if (c.partial) state.partial["f"] = PartialFileSelection{*c.partial, changed()};
        EXPECT_EQ(state.selection(), c.selection) << c.name;
        EXPECT_EQ(state.selectedLines(), c.lines) << c.name;
    }
}

TEST(SelectedLines, Contains) {
    EXPECT_FALSE(SelectedLines::none().contains({0, 0}));
    EXPECT_TRUE(SelectedLines::all().contains({7, 9}));
    EXPECT_TRUE(SelectedLines::some({{1, 2}}).contains({1, 2}));
    EXPECT_FALSE(SelectedLines::some({{1, 2}}).contains({2, 1}));
}

}  // namespace
}  // namespace tarv::features
