#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "TarvFeatures/Overlay/Overlay.hpp"

namespace tarv::features {
namespace {

const core::ListScroll firstRow{0, 0};
const core::ListScroll noRow{0, std::nullopt};

core::GitHubRepository repository(std::string fullName) {
    core::GitHubRepository repo;
    repo.fullName = std::move(fullName);
    repo.cloneURL = "https://example.com/" + repo.fullName + ".git";
    return repo;
}

TEST(OverlayStatesTests, ListsThatSelectTheFirstRowBeforeAnyRowsExist) {
    EXPECT_EQ(RepositoryPickerState{}.list, firstRow);
    EXPECT_EQ(PaletteState{}.list, firstRow);
    EXPECT_TRUE(RepositoryPickerState{}.filter.isEmpty());
    EXPECT_TRUE(PaletteState{}.query.isEmpty());
    EXPECT_FALSE(PaletteState{}.query.allowsNewlines());
}

TEST(OverlayStatesTests, BranchPicker) {
    const BranchPickerState picker;
    EXPECT_EQ(picker.tab, BranchPickerState::Tab::branches);
    EXPECT_EQ(picker.mode, BranchPickerState::Mode::switchBranch);
    EXPECT_TRUE(picker.filter.isEmpty());
    EXPECT_EQ(picker.list, firstRow);
    EXPECT_EQ(picker.pullRequests, PullRequestList::idle());
    EXPECT_TRUE(picker.pullRequestChecks.empty());
    EXPECT_EQ(BranchPickerState(BranchPickerState::Mode::deleteBranch).mode, BranchPickerState::Mode::deleteBranch);
}

TEST(OverlayStatesTests, NewBranchStartsWithTheOldNameOnlyWhenRenaming) {
    const NewBranchState renaming(std::nullopt, std::string("old-name"));
    EXPECT_EQ(renaming.name.text(), "old-name");
    EXPECT_EQ(renaming.name.cursor(), 8);
    EXPECT_EQ(renaming.renaming, "old-name");
    EXPECT_EQ(renaming.start, std::nullopt);

    const NewBranchState fromCommit(std::string("abc123"));
    EXPECT_TRUE(fromCommit.name.isEmpty());
    EXPECT_FALSE(fromCommit.name.allowsNewlines());
    EXPECT_EQ(fromCommit.start, "abc123");
    EXPECT_EQ(fromCommit.renaming, std::nullopt);
}

TEST(OverlayStatesTests, NewBranchJudgesTheCleanedName) {
    struct Row {
        const char* typed;
        const char* sanitized;
        bool valid;
    };
    const Row rows[] = {
        {"  my new  branch ", "my-new--branch", true},
        {"feature/login", "feature/login", true},
        {"", "", false},
        {"   ", "", false},
        {"bad..name", "bad..name", false},
        {"what?", "what?", false},
        {"tab\there", "tab-here", true},
    };
    for (const auto& row : rows) {
        NewBranchState state;
        state.name.setText(row.typed);
        EXPECT_EQ(state.sanitized(), row.sanitized) << row.typed;
        EXPECT_EQ(state.isValid(), row.valid) << row.typed;
    }
}

TEST(OverlayStatesTests, PromptsStartEmpty) {
    const PathPromptState adding;
    EXPECT_TRUE(adding.path.isEmpty());
    EXPECT_EQ(adding.error, std::nullopt);
    EXPECT_FALSE(adding.isChecking);
    EXPECT_FALSE(adding.isCreating);
    EXPECT_FALSE(adding.offersCreate);
    EXPECT_TRUE(PathPromptState(true).isCreating);

    const CoAuthorPromptState coAuthor;
    EXPECT_TRUE(coAuthor.input.isEmpty());
    EXPECT_EQ(coAuthor.error, std::nullopt);

    const DeleteBranchState deletion{"topic"};
    EXPECT_FALSE(deletion.needsForce);

    const core::CredentialPrompt asked{3, core::CredentialPrompt::Kind::username, "Username: ", std::nullopt};
    const CredentialPromptState credentials(asked);
    EXPECT_EQ(credentials.prompt, asked);
    EXPECT_TRUE(credentials.input.isEmpty());
}

TEST(OverlayStatesTests, ContextMenuHighlightsItsFirstItem) {
    const ContextMenuState menu({core::AppCommand::mergeBranch, core::AppCommand::deleteBranch}, 12, 5,
                                std::string("topic"));
    EXPECT_EQ(menu.items, (std::vector{core::AppCommand::mergeBranch, core::AppCommand::deleteBranch}));
    EXPECT_EQ(menu.target, "topic");
    EXPECT_EQ(menu.anchorX, 12);
    EXPECT_EQ(menu.anchorY, 5);
    EXPECT_EQ(menu.list, firstRow);
    EXPECT_EQ(ContextMenuState({core::AppCommand::copyPath}, 0, 0).target, std::nullopt);
}

TEST(OverlayStatesTests, StashPickerSelectsTheFirstEntryWhenThereIsOne) {
    EXPECT_EQ(StashPickerState({}).list, noRow);
    const std::vector<core::StashEntry> entries = {{"stash@{0}", "wip"}, {"stash@{1}", "older"}};
    const StashPickerState picker(entries);
    EXPECT_EQ(picker.entries, entries);
    EXPECT_EQ(picker.list, firstRow);
}

TEST(OverlayStatesTests, ClonePromptStartsOnTheURLWithNothingSelected) {
    const ClonePromptState prompt("/home/me/src");
    EXPECT_TRUE(prompt.url.isEmpty());
    EXPECT_EQ(prompt.destination.text(), "/home/me/src");
    EXPECT_FALSE(prompt.destination.allowsNewlines());
    EXPECT_EQ(prompt.field, ClonePromptState::Field::url);
    EXPECT_FALSE(prompt.isCloning);
    EXPECT_EQ(prompt.error, std::nullopt);
    EXPECT_EQ(prompt.remote, GitHubRepositoryList::signedOut());
    EXPECT_EQ(prompt.list, noRow);
    EXPECT_TRUE(prompt.matches().empty());
    EXPECT_EQ(prompt.selectedRepository(), std::nullopt);
}

TEST(OverlayStatesTests, ClonePromptSelectsAmongTheMatchesOfTheTypedText) {
    ClonePromptState prompt("/src");
    prompt.remote = GitHubRepositoryList::loaded({repository("me/app"), repository("me/tool"), repository("you/app")});
    EXPECT_EQ(prompt.matches().size(), 3u);
    EXPECT_EQ(prompt.selectedRepository(), std::nullopt) << "nothing selected yet";

    prompt.list.selected = 2;
    EXPECT_EQ(prompt.selectedRepository(), repository("you/app"));

    prompt.url.setText("APP");
    ASSERT_EQ(prompt.matches(), (std::vector{repository("me/app"), repository("you/app")}));
    EXPECT_EQ(prompt.selectedRepository(), std::nullopt) << "past the end of the narrowed list";
    prompt.list.selected = 1;
    EXPECT_EQ(prompt.selectedRepository(), repository("you/app"));
    prompt.list.selected = -1;
    EXPECT_EQ(prompt.selectedRepository(), std::nullopt);

    prompt.url.setText("https://example.com/me/app");
    prompt.list.selected = 0;
    EXPECT_EQ(prompt.selectedRepository(), std::nullopt) << "an address being typed matches nothing";
}

TEST(OverlayStatesTests, KindFollowsTheCaseOrder) {
    struct Row {
        Overlay overlay;
        Overlay::Kind kind;
    };
    using Kind = Overlay::Kind;
    const Row rows[] = {
        {RepositoryPickerState{}, Kind::repositories},
        {BranchPickerState(), Kind::branches},
        {PaletteState{}, Kind::palette},
        {Overlay::ConfirmDiscard{}, Kind::confirmDiscard},
        {DeleteBranchState{"x"}, Kind::confirmDeleteBranch},
        {Overlay::message(core::Text::raw("t"), core::Text::raw("b")), Kind::message},
        {NewBranchState(), Kind::newBranch},
        {PathPromptState(), Kind::addRepository},
        {CoAuthorPromptState{}, Kind::coAuthor},
        {SignInState{}, Kind::signIn},
        {NewTagState(), Kind::newTag},
        {TagPickerState(), Kind::tags},
        {WorktreePickerState(), Kind::worktrees},
        {NewWorktreeState(), Kind::newWorktree},
        {ClonePromptState(""), Kind::clone},
        {PublishRepositoryState(), Kind::publishRepository},
        {ContextMenuState({}, 0, 0), Kind::contextMenu},
        {CredentialPromptState(core::CredentialPrompt{}), Kind::credentials},
        {StashPickerState({}), Kind::stashes},
        {Overlay::Help{}, Kind::help},
    };
    static_assert(std::size(rows) == Overlay::kindCount);
    for (const auto& row : rows) {
        EXPECT_EQ(row.overlay.kind(), row.kind) << row.overlay.value.index();
    }
}

TEST(OverlayStatesTests, MessageHasNoFixesUnlessGiven) {
    const Overlay plain = Overlay::message(core::Text::raw("Title"), core::Text::raw("Body"));
    const auto* message = std::get_if<Overlay::Message>(&plain.value);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->title, core::Text::raw("Title"));
    EXPECT_EQ(message->body, core::Text::raw("Body"));
    EXPECT_TRUE(message->fixes.empty());

    const Overlay withFix =
        Overlay::message(core::Text::raw("Title"), core::Text::raw("Body"), {core::FailureFix::signIn()});
    EXPECT_EQ(std::get<Overlay::Message>(withFix.value).fixes, std::vector<core::FailureFix>{core::FailureFix::signIn()});
    EXPECT_NE(plain, withFix);
}

TEST(OverlayStatesTests, OverlaysCompareByKindAndState) {
    const Overlay picker = BranchPickerState(BranchPickerState::Mode::merge);
    Overlay copy = picker;
    EXPECT_EQ(copy, picker);
    std::get<BranchPickerState>(copy.value).filter.setText("ma");
    EXPECT_NE(copy, picker);
    EXPECT_NE(Overlay(PaletteState{}), Overlay(RepositoryPickerState{})) << "same fields, different kinds";
    copy = Overlay::Help{};
    EXPECT_EQ(copy, Overlay(Overlay::Help{}));
}

}  // namespace
}  // namespace tarv::features
