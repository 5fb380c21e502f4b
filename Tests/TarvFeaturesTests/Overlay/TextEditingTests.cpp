// Edits of the focused text field: where an edit lands (the open overlay,
// the identity form, the workspace's filter, summary or description), what
// each overlay kind does with it, and how the Changes list follows its
// filter.
#include <gtest/gtest.h>

#include "../Workspace/WorkspaceFixtures.hpp"
#include "Support/AppStoreHarness.hpp"
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {
namespace {

using namespace fixtures;
using core::TextEdit;
using tarv::testing::AppStoreHarness;

// A single-line text with the cursor at `cursor` (the end when negative).
core::EditableText line(const std::string& text, std::int64_t cursor = -1) {
    core::EditableText field(text, false);
    if (cursor >= 0) field.setCursor(cursor);
    return field;
}

core::ListScroll listAt(std::int64_t offset, std::optional<std::int64_t> selected) {
    return core::ListScroll{.offset = offset, .selected = selected};
}

void sendEdit(AppStoreHarness& h, TextEdit edit) { h.send(AppAction::Edit{std::move(edit)}); }

// Two known repositories and an open workspace with three local branches.
AppState pickerWorld() {
    AppState state = withWorkspace();
    state.onboarding.step = OnboardingState::Step::done();
    state.repositories = {core::RepositoryEntry{.path = "/w/alpha", .name = "alpha", .remoteURL = {}, .lastOpened = 0, .isPrivate = {}},
                          core::RepositoryEntry{.path = "/w/beta", .name = "beta", .remoteURL = {}, .lastOpened = 0, .isPrivate = {}}};
    state.workspace->branches = {core::Branch{.name = "main", .isCurrent = true}, core::Branch{.name = "topic"},
                                 core::Branch{.name = "feature"}};
    return state;
}

template <class Payload>
Payload with(Payload payload, auto change) {
    change(payload);
    return payload;
}

TEST(OverlayTextEditingTest, EachKindEditsItsFieldAndWhatFollowsFromIt) {
    const auto remote = GitHubRepositoryList::loaded(
        {core::GitHubRepository{.fullName = "o/alpha", .cloneURL = "https://h/o/alpha.git"},
         core::GitHubRepository{.fullName = "o/beta", .cloneURL = "https://h/o/beta.git"}});
    const auto clone = [&](auto change) {
        ClonePromptState prompt("/home");
        prompt.remote = remote;
        prompt.list = listAt(0, 1);
        prompt.error = core::Text::cloneInvalidURL();
        change(prompt);
        return prompt;
    };
    const auto publish = [](auto change) {
        PublishRepositoryState form("tarv");
        form.error = core::Text::raw("taken");
        change(form);
        return form;
    };
    struct Case {
        const char* name;
        Overlay given;
        TextEdit edit;
        Overlay expected;
    };
    const Case cases[] = {
        {"a repository filter that changed starts at the first row",
         with(RepositoryPickerState(), [](auto& p) { p.filter = line("a"); p.list = listAt(2, 3); }),
         TextEdit::insert("l"),
         with(RepositoryPickerState(), [](auto& p) { p.filter = line("al"); p.list = listAt(0, 0); })},
        {"a repository filter matching nothing selects nothing",
         with(RepositoryPickerState(), [](auto& p) { p.list = listAt(1, 1); }), TextEdit::insert("zz"),
         with(RepositoryPickerState(), [](auto& p) { p.filter = line("zz"); p.list = listAt(0, std::nullopt); })},
        {"a cursor move keeps the repository selection",
         with(RepositoryPickerState(), [](auto& p) { p.filter = line("a"); p.list = listAt(0, 1); }),
         TextEdit::moveLeft(),
         with(RepositoryPickerState(), [](auto& p) { p.filter = line("a", 0); p.list = listAt(0, 1); })},
        {"a backspace at the start keeps the repository selection",
         with(RepositoryPickerState(), [](auto& p) { p.filter = line("a", 0); p.list = listAt(0, 1); }),
         TextEdit::backspace(),
         with(RepositoryPickerState(), [](auto& p) { p.filter = line("a", 0); p.list = listAt(0, 1); })},
        {"the branch filter counts branch rows on the pull-request tab",
         with(BranchPickerState(), [](auto& p) { p.tab = BranchPickerState::Tab::pullRequests; p.list = listAt(0, std::nullopt); }),
         TextEdit::insert("top"),
         with(BranchPickerState(), [](auto& p) {
             p.tab = BranchPickerState::Tab::pullRequests;
             p.filter = line("top");
             p.list = listAt(0, 0);
         })},
        {"a branch filter matching nothing selects nothing",
         with(BranchPickerState(BranchPickerState::Mode::merge), [](auto& p) { p.list = listAt(0, 2); }),
         TextEdit::insert("zzz"),
         with(BranchPickerState(BranchPickerState::Mode::merge),
              [](auto& p) { p.filter = line("zzz"); p.list = listAt(0, std::nullopt); })},
        {"a palette query that changed starts at the first result",
         with(PaletteState(), [](auto& p) { p.list = listAt(3, 5); }), TextEdit::insert("s"),
         with(PaletteState(), [](auto& p) { p.query = line("s"); p.list = listAt(0, 0); })},
        {"a palette query matching nothing selects nothing", PaletteState(), TextEdit::insert("qqqqxj"),
         with(PaletteState(), [](auto& p) { p.query = line("qqqqxj"); p.list = listAt(0, std::nullopt); })},
        {"the new branch name", NewBranchState(), TextEdit::insert("fix"),
         with(NewBranchState(), [](auto& p) { p.name = line("fix"); })},
        {"the new tag name", NewTagState(core::EditableText(), "c1"), TextEdit::insert("v1"),
         NewTagState(line("v1"), "c1")},
        {"the new worktree branch", with(NewWorktreeState(), [](auto& p) { p.repositoryPath = "/r"; }),
         TextEdit::insert("wt"),
         with(NewWorktreeState(), [](auto& p) { p.repositoryPath = "/r"; p.branch = line("wt"); })},
        {"a path edit clears the error and withdraws the offer to create",
         with(PathPromptState(true), [](auto& p) {
             p.path = line("/x");
             p.error = core::Text::notARepository("/x");
             p.offersCreate = true;
             p.isChecking = true;
         }),
         TextEdit::insert("y"),
         with(PathPromptState(true), [](auto& p) { p.path = line("/xy"); p.isChecking = true; })},
        {"a co-author edit clears the error",
         with(CoAuthorPromptState(), [](auto& p) { p.error = core::Text::coAuthorInvalid(); }),
         TextEdit::insert("A"), with(CoAuthorPromptState(), [](auto& p) { p.input = line("A"); })},
        {"a cursor move in the clone address starts its list over",
         clone([](auto& p) { p.url = line("o"); }), TextEdit::moveLeft(),
         clone([](auto& p) { p.url = line("o", 0); p.list = listAt(0, 0); p.error.reset(); })},
        {"a clone address matching nothing selects nothing", clone([](auto&) {}), TextEdit::insert("zz"),
         clone([](auto& p) { p.url = line("zz"); p.list = listAt(0, std::nullopt); p.error.reset(); })},
        {"the clone destination keeps the list",
         clone([](auto& p) { p.field = ClonePromptState::Field::destination; }), TextEdit::insert("/x"),
         clone([](auto& p) {
             p.field = ClonePromptState::Field::destination;
             p.destination = line("/home/x");
             p.error.reset();
         })},
        {"nothing changes in the publish form while publishing",
         publish([](auto& p) { p.isPublishing = true; }), TextEdit::insert("x"),
         publish([](auto& p) { p.isPublishing = true; })},
        {"a key on the publish visibility clears the error only",
         publish([](auto& p) { p.field = PublishRepositoryState::Field::visibility; }), TextEdit::insert("x"),
         publish([](auto& p) { p.field = PublishRepositoryState::Field::visibility; p.error.reset(); })},
        {"the publish description",
         publish([](auto& p) { p.field = PublishRepositoryState::Field::description; }), TextEdit::insert("d"),
         publish([](auto& p) {
             p.field = PublishRepositoryState::Field::description;
             p.description = line("d");
             p.error.reset();
         })},
        {"the publish name", publish([](auto&) {}), TextEdit::insert("2"),
         publish([](auto& p) { p.name = line("tarv2"); p.error.reset(); })},
        {"the credential answer",
         CredentialPromptState(core::CredentialPrompt{7, core::CredentialPrompt::Kind::password, "Password:", std::nullopt}),
         TextEdit::insert("s3cret"),
         with(CredentialPromptState(core::CredentialPrompt{7, core::CredentialPrompt::Kind::password, "Password:", std::nullopt}),
              [](auto& p) { p.input = line("s3cret"); })},
        {"help has no field", Overlay::Help{}, TextEdit::insert("x"), Overlay::Help{}},
        {"a message has no field", Overlay::message(core::Text::raw("t"), core::Text::raw("b")), TextEdit::backspace(),
         Overlay::message(core::Text::raw("t"), core::Text::raw("b"))},
        {"the tag picker has no field", TagPickerState({core::Tag{"v1", "c1"}}), TextEdit::insert("x"),
         TagPickerState({core::Tag{"v1", "c1"}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = pickerWorld();
        state.workspace->focus = WorkspaceFocus::summary;
        state.overlay = c.given;
        AppStoreHarness h(std::move(state));
        sendEdit(h, c.edit);
        EXPECT_TRUE(h.state().overlay == c.expected);
        EXPECT_TRUE(h.lastJobIds().empty());
        EXPECT_TRUE(h.state().workspace->summary.isEmpty()) << "an open overlay takes every edit";
    }
}

TEST(OverlayTextEditingTest, TheBranchFilterCountsNoRowsWithoutARepository) {
    AppState state;
    BranchPickerState picker;
    state.overlay = picker;
    AppStoreHarness h(std::move(state));
    sendEdit(h, TextEdit::insert("m"));
    const auto* shown = std::get_if<BranchPickerState>(&h.state().overlay->value);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->list, listAt(0, std::nullopt));
}

TEST(OverlayTextEditingTest, WithoutAnOverlayEditsGoToTheFocusedWorkspaceField) {
    struct Case {
        const char* name;
        WorkspaceFocus focus;
        bool filterFocused;
        std::string summary;
        std::string description;
        std::string filter;
    };
    const Case cases[] = {
        {"summary", WorkspaceFocus::summary, false, "x", "", ""},
        {"description", WorkspaceFocus::description, false, "", "x", ""},
        {"focused filter", WorkspaceFocus::files, true, "", "", "x"},
        {"file list without the filter", WorkspaceFocus::files, false, "", "", ""},
        {"diff", WorkspaceFocus::diff, true, "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withWorkspace();
        state.onboarding.step = OnboardingState::Step::done();
        state.workspace->focus = c.focus;
        state.workspace->changes.isFilterFocused = c.filterFocused;
        AppStoreHarness h(std::move(state));
        sendEdit(h, TextEdit::insert("x"));
        const WorkspaceState& w = *h.state().workspace;
        EXPECT_EQ(w.summary.text(), c.summary);
        EXPECT_EQ(w.description.text(), c.description);
        EXPECT_EQ(w.changes.filter.text(), c.filter);
        EXPECT_TRUE(h.lastJobIds().empty());
    }
}

TEST(OverlayTextEditingTest, APasteIsOneInsertionIntoTheFocusedField) {
    AppState state = withWorkspace();
    state.onboarding.step = OnboardingState::Step::done();
    state.workspace->focus = WorkspaceFocus::description;
    state.workspace->description = core::EditableText("ab", true);
    state.workspace->description.setCursor(1);
    AppStoreHarness h(std::move(state));
    h.send(AppAction::Pasted{"line 1\nline 2"});
    EXPECT_EQ(h.state().workspace->description.text(), "aline 1\nline 2b");
    EXPECT_EQ(h.state().workspace->description.cursor(), 14);
}

TEST(OverlayTextEditingTest, TheIdentityFormTakesEditsOnlyAtItsStep) {
    AppState identity;
    identity.onboarding.step = OnboardingState::Step::identity();
    identity.onboarding.focusedField = OnboardingState::Field::email;
    identity.onboarding.validationError = OnboardingState::ValidationError::invalidEmail;
    AppStoreHarness h(identity);
    sendEdit(h, TextEdit::insert("a@b.c"));
    EXPECT_EQ(h.state().onboarding.email.text(), "a@b.c");
    EXPECT_EQ(h.state().onboarding.name.text(), "");
    EXPECT_FALSE(h.state().onboarding.validationError);
    EXPECT_TRUE(h.lastJobIds().empty());

    AppState checking = identity;
    checking.onboarding.step = OnboardingState::Step::checking();
    AppStoreHarness other(checking);
    sendEdit(other, TextEdit::insert("a@b.c"));
    AppState after = other.state();
    after.now = checking.now;
    EXPECT_TRUE(after == checking);
}

TEST(OverlayTextEditingTest, AnEditReachingNoFieldChangesNothing) {
    AppState welcome;
    welcome.onboarding.step = OnboardingState::Step::done();
    welcome.launchHandled = true;
    AppStoreHarness h(welcome);
    sendEdit(h, TextEdit::insert("x"));
    AppState after = h.state();
    after.now = welcome.now;
    EXPECT_TRUE(after == welcome);
    EXPECT_TRUE(h.lastJobIds().empty());
}

TEST(OverlayTextEditingTest, TheChangesListFollowsItsFilter) {
    struct Case {
        const char* name;
        std::string filterBefore;
        TextEdit edit;
        std::optional<std::string> selectedPath;
        core::ListScroll list;
        Ids jobs;
    };
    const Case cases[] = {
        {"the selected file still shown stays selected", "", TextEdit::insert("txt"), "b.txt", listAt(0, 1), {}},
        {"a hidden selection moves to the first shown file", "", TextEdit::insert(".md"), "c.md", listAt(0, 0),
         {"diff"}},
        {"a filter hiding every file clears the selection", "", TextEdit::insert("zz"), std::nullopt,
         listAt(0, std::nullopt), {}},
        {"a cursor move changes nothing", "md", TextEdit::moveLeft(), "b.txt", listAt(2, 1), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withWorkspace();
        state.onboarding.step = OnboardingState::Step::done();
        WorkspaceState& w = *state.workspace;
        w.status = statusOf(Paths{"a.txt", "b.txt", "c.md"});
        w.isStatusLoaded = true;
        w.changes.selectedPath = "b.txt";
        w.changes.list = listAt(2, 1);
        w.changes.filter = line(c.filterBefore);
        w.changes.isFilterFocused = true;
        w.changes.diff.path = "b.txt";
        AppStoreHarness h(std::move(state));
        sendEdit(h, c.edit);
        const ChangesState& changes = h.state().workspace->changes;
        EXPECT_EQ(changes.selectedPath, c.selectedPath);
        EXPECT_EQ(changes.list, c.list);
        EXPECT_EQ(h.lastJobIds(), c.jobs);
        if (!c.selectedPath) {
            EXPECT_TRUE(changes.diff == DiffViewState(false));
        }
    }
}

}  // namespace
}  // namespace tarv::features
