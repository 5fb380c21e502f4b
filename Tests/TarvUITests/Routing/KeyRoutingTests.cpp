#include <functional>

#include <gtest/gtest.h>

#include "TarvUITests/Routing/RoutingFixtures.hpp"
#include "TarvCore/Rules/KeyChordParser.hpp"

namespace tarv::ui {
namespace {

using core::AppCommand;
using core::TextEdit;
using features::AppAction;
using features::AppState;
using features::OnboardingAction;
using features::Overlay;
using features::OverlayAction;
using features::WorkspaceAction;
using features::WorkspaceFocus;
using terminal::KeyCode;
using terminal::Modifiers;
using namespace fixtures;

struct KeyCase {
    const char* name;
    std::function<AppState()> state;
    terminal::KeyEvent key;
    Actions expected;
};

AppAction command(AppCommand c) { return AppAction::Command{c}; }
AppAction edit(TextEdit e) { return AppAction::Edit{std::move(e)}; }
AppAction insert(const char* text) { return edit(TextEdit::insert(text)); }

void expectRoutes(const std::vector<KeyCase>& cases, const Keymap& keymap = Keymap::standard()) {
    for (const KeyCase& c : cases) {
        const AppState state = c.state();
        EXPECT_EQ(InputRouter::routeKey(c.key, state, keymap), c.expected) << c.name;
    }
}

AppState focused(WorkspaceFocus focus) {
    AppState state = workspace();
    state.workspace->focus = focus;
    return state;
}

AppState filtering() {
    AppState state = workspace();
    state.workspace->changes.isFilterFocused = true;
    return state;
}

// A description of two lines with the cursor at the end of `row`.
AppState describing(std::int64_t row) {
    AppState state = focused(WorkspaceFocus::description);
    state.workspace->description = core::EditableText(row == 0 ? "first" : "first\nsecond", true);
    return state;
}

TEST(KeyRouting, PhaseAndOverlayDecideWhoSeesTheKey) {
    expectRoutes({
        {"workspace: q is the quit command", workspace, ch("q"), {command(AppCommand::quit)}},
        {"workspace: ctrl-Q quits at once", workspace, ctrl("q"), {AppAction::Quit{}}},
        {"workspace: j moves in the files list", workspace, ch("j"), {WorkspaceAction::MoveFileSelection{1}}},
        {"workspace: unbound key", workspace, ch("z"), {}},
        {"launching: q", launching, ch("q"), {AppAction::Quit{}}},
        {"launching: ctrl-Q", launching, ctrl("q"), {AppAction::Quit{}}},
        {"launching: r", launching, ch("r"), {}},
        {"launching: enter", launching, key(KeyCode::enter()), {}},
        {"launching: ctrl-P", launching, ctrl("p"), {}},
        {"tag picker: q does nothing", [] { return workspaceWith(features::TagPickerState()); }, ch("q"), {}},
        {"tag picker: ctrl-Q does not quit", [] { return workspaceWith(features::TagPickerState()); }, ctrl("q"), {}},
        {"tag picker: refresh is not reached", [] { return workspaceWith(features::TagPickerState()); },
         key(KeyCode::function(5)), {}},
        {"any overlay: escape with a modifier dismisses", [] { return workspaceWith(Overlay::Help{}); },
         key(KeyCode::escape(), Modifiers::alt), {OverlayAction::Dismiss{}}},
        {"overlay above the welcome screen", [] {
             AppState state = welcome();
             state.overlay = Overlay::Help{};
             return state;
         }, ch("a"), {}},
    });
}

// At 20 x 5 only the notice is drawn: a key that would discard or confirm
// something the user cannot see does nothing; quitting still works.
TEST(KeyRouting, BehindTheTooSmallNoticeOnlyQuittingActs) {
    using terminal::InputEvent;
    struct Case {
        const char* name;
        std::function<AppState()> state;
        InputEvent event;
        Actions expected;
    };
    const auto summary = [] { return focused(WorkspaceFocus::summary); };
    const auto confirming = [] { return workspaceWith(Overlay::ConfirmDiscard{}); };
    const Case cases[] = {
        {"d", workspace, InputEvent::key(ch("d")), {}},
        {"y in the discard confirmation", confirming, InputEvent::key(ch("y")), {}},
        {"typing into the summary", summary, InputEvent::key(ch("x")), {}},
        {"a paste into the summary", summary, InputEvent::paste("x"), {}},
        {"q", workspace, InputEvent::key(ch("q")), {command(AppCommand::quit)}},
        {"ctrl-Q", workspace, InputEvent::key(ctrl("q")), {AppAction::Quit{}}},
        {"ctrl-Q over an overlay", confirming, InputEvent::key(ctrl("q")), {AppAction::Quit{}}},
        {"ctrl-Q while typing", summary, InputEvent::key(ctrl("q")), {AppAction::Quit{}}},
        {"a focus change", workspace, InputEvent::focus(true), {AppAction::WindowFocus{true}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        InputRouter router;
        const AppState state = c.state();
        EXPECT_EQ(router.route(c.event, state, frameWith({}, {20, 5})), c.expected);
    }
    InputRouter router;
    for (const terminal::Size fits : {terminal::Size{50, 14}, terminal::Size{120, 40}}) {
        EXPECT_FALSE(router.route(InputEvent::key(ch("d")), workspace(), frameWith({}, fits)).empty())
            << "d acts once the workspace is drawn";
    }
}

TEST(KeyRouting, KeymapOverridesReachTheWorkspace) {
    const auto chord = [](const char* text) { return *core::KeyChordParser::parse(text); };
    const Keymap refreshOnR(Keymap::Overrides{{AppCommand::refresh, {chord("R")}}});
    expectRoutes({
                     {"refresh rebound to R", workspace, ch("R"), {command(AppCommand::refresh)}},
                     {"F5 freed", workspace, key(KeyCode::function(5)), {}},
                     {"r freed", workspace, ch("r"), {}},
                 },
                 refreshOnR);
    const Keymap quitOnS(Keymap::Overrides{{AppCommand::quit, {chord("s")}}});
    expectRoutes({
                     {"s quits", workspace, ch("s"), {command(AppCommand::quit)}},
                     {"q freed", workspace, ch("q"), {}},
                 },
                 quitOnS);
    const Keymap jClaimed(Keymap::Overrides{{AppCommand::showHistory, {chord("j")}}});
    expectRoutes({
                     {"claimed j", workspace, ch("j"), {command(AppCommand::showHistory)}},
                     {"down still moves", workspace, key(KeyCode::down()), {WorkspaceAction::MoveFileSelection{1}}},
                 },
                 jClaimed);
}

TEST(KeyRouting, TextFieldsTakePlainKeysAndLeaveControlChordsToTheGlobalKeys) {
    const auto summary = [] { return focused(WorkspaceFocus::summary); };
    expectRoutes({
        {"q typed", summary, ch("q"), {insert("q")}},
        {"? typed, not help", summary, ch("?"), {insert("?")}},
        {"shifted letter typed", summary, ch("Q", Modifiers::shift), {insert("Q")}},
        {"ctrl-Q quits", summary, ctrl("q"), {AppAction::Quit{}}},
        {"ctrl-S commits", summary, ctrl("s"), {command(AppCommand::commit)}},
        {"ctrl-P opens the palette", summary, ctrl("p"), {command(AppCommand::commandPalette)}},
        {"F5 refreshes", summary, key(KeyCode::function(5)), {command(AppCommand::refresh)}},
        {"F2 unbound, no edit", summary, key(KeyCode::function(2)), {}},
        {"ctrl-A unbound: line start", summary, ctrl("a"), {edit(TextEdit::moveToLineStart())}},
        {"alt-x: nothing", summary, alt("x"), {}},
        {"enter: to the description", summary, key(KeyCode::enter()), {WorkspaceAction::Focus{WorkspaceFocus::description}}},
        {"down: to the description", summary, key(KeyCode::down()), {WorkspaceAction::Focus{WorkspaceFocus::description}}},
        {"up in the summary edits", summary, key(KeyCode::up()), {edit(TextEdit::moveUp())}},
        {"tab", summary, key(KeyCode::tab()), {WorkspaceAction::CycleFocus{false}}},
        {"back tab", summary, key(KeyCode::backTab(), Modifiers::shift), {WorkspaceAction::CycleFocus{true}}},
        {"escape in the description", [] { return describing(0); }, key(KeyCode::escape()),
         {WorkspaceAction::SetFilterFocused{false}, WorkspaceAction::Focus{WorkspaceFocus::files}}},
        {"up on the first row: to the summary", [] { return describing(0); }, key(KeyCode::up()),
         {WorkspaceAction::Focus{WorkspaceFocus::summary}}},
        {"up on the second row edits", [] { return describing(1); }, key(KeyCode::up()), {edit(TextEdit::moveUp())}},
        {"enter in the description: newline", [] { return describing(1); }, key(KeyCode::enter()),
         {edit(TextEdit::newline())}},
        {"enter in the filter leaves it", filtering, key(KeyCode::enter()), {WorkspaceAction::SetFilterFocused{false}}},
        {"j typed into the filter", filtering, ch("j"), {insert("j")}},
        {"escape in the filter", filtering, key(KeyCode::escape()),
         {WorkspaceAction::SetFilterFocused{false}, WorkspaceAction::Focus{WorkspaceFocus::files}}},
    });
}

TEST(KeyRouting, TheWelcomeScreenMatchesExactly) {
    expectRoutes({
        {"q", welcome, ch("q"), {AppAction::Quit{}}},
        {"ctrl-Q", welcome, ctrl("q"), {AppAction::Quit{}}},
        {"enter", welcome, key(KeyCode::enter()), {command(AppCommand::openRepositoryPicker)}},
        {"shift-enter", welcome, key(KeyCode::enter(), Modifiers::shift), {}},
        {"ctrl-R", welcome, ctrl("r"), {command(AppCommand::openRepositoryPicker)}},
        {"a", welcome, ch("a"), {command(AppCommand::addRepository)}},
        {"ctrl-O", welcome, ctrl("o"), {command(AppCommand::addRepository)}},
        {"c", welcome, ch("c"), {command(AppCommand::cloneRepository)}},
        {"ctrl-N", welcome, ctrl("n"), {command(AppCommand::cloneRepository)}},
        {"n", welcome, ch("n"), {command(AppCommand::createRepository)}},
        {":", welcome, ch(":"), {command(AppCommand::commandPalette)}},
        {"ctrl-P", welcome, ctrl("p"), {command(AppCommand::commandPalette)}},
        {"?", welcome, ch("?"), {command(AppCommand::help)}},
        {"F1", welcome, key(KeyCode::function(1)), {command(AppCommand::help)}},
        {"A", welcome, ch("A", Modifiers::shift), {}},
        {"alt-a", welcome, alt("a"), {}},
        {"r (bound in the workspace only)", welcome, ch("r"), {}},
    });
}

TEST(KeyRouting, OnboardingFollowsItsStep) {
    using Step = features::OnboardingState::Step;
    const auto at = [](Step step) { return [step] { return onboardingAt(step); }; };
    const auto identityOn = [](features::OnboardingState::Field field) {
        return [field] {
            AppState state = onboardingAt(Step::identity());
            state.onboarding.focusedField = field;
            return state;
        };
    };
    using Field = features::OnboardingState::Field;
    const auto tooOld = at(Step::gitTooOld("2.10", "2.30"));
    expectRoutes({
        {"too old: enter continues", tooOld, key(KeyCode::enter()), {OnboardingAction::continueAnywayTapped()}},
        {"too old: r retries", tooOld, ch("r"), {OnboardingAction::retryTapped()}},
        {"too old: q quits", tooOld, ch("q"), {AppAction::Quit{}}},
        {"too old: x", tooOld, ch("x"), {}},
        {"failed: enter retries", at(Step::failed("boom")), key(KeyCode::enter()), {OnboardingAction::retryTapped()}},
        {"git missing: r retries", at(Step::gitMissing()), ch("r"), {OnboardingAction::retryTapped()}},
        {"git missing: ctrl-Q", at(Step::gitMissing()), ctrl("q"), {AppAction::Quit{}}},
        {"checking: q quits", at(Step::checking()), ch("q"), {AppAction::Quit{}}},
        {"checking: enter", at(Step::checking()), key(KeyCode::enter()), {}},
        {"idle: r", at(Step::idle()), ch("r"), {}},
        {"identity: tab", identityOn(Field::name), key(KeyCode::tab()), {OnboardingAction::cycleField(false)}},
        {"identity: back tab", identityOn(Field::name), key(KeyCode::backTab()), {OnboardingAction::cycleField(true)}},
        {"identity: ctrl-S saves", identityOn(Field::email), ctrl("s"), {OnboardingAction::saveTapped()}},
        {"identity: escape skips", identityOn(Field::email), key(KeyCode::escape()), {OnboardingAction::skipTapped()}},
        {"identity: enter moves on", identityOn(Field::email), key(KeyCode::enter()), {OnboardingAction::cycleField(false)}},
        {"identity: enter on the last field saves", identityOn(Field::defaultBranch), key(KeyCode::enter()),
         {OnboardingAction::saveTapped()}},
        {"identity: q typed", identityOn(Field::name), ch("q"), {insert("q")}},
        {"identity: ctrl-Q quits", identityOn(Field::name), ctrl("q"), {AppAction::Quit{}}},
        {"identity: alt-backspace", identityOn(Field::name), key(KeyCode::backspace(), Modifiers::alt),
         {edit(TextEdit::deleteWordBackward())}},
        {"identity: ctrl-X", identityOn(Field::name), ctrl("x"), {}},
    });
}

features::PaletteState palette() { return features::PaletteState{}; }

Overlay message() {
    return Overlay::message(core::Text::raw("Push failed"), core::Text::raw("Rejected"),
                            {core::FailureFix::pull(), core::FailureFix::retry()});
}

features::CredentialPromptState credential(core::CredentialPrompt::Kind kind) {
    core::CredentialPrompt prompt;
    prompt.kind = kind;
    prompt.message = "Password: ";
    return features::CredentialPromptState(prompt);
}

TEST(KeyRouting, EachOverlayHasItsOwnKeys) {
    const auto with = [](auto overlay) { return [overlay] { return workspaceWith(overlay); }; };
    const auto paletteOpen = [] {
        AppState state = workspaceWith(palette());
        state.viewports.picker = 8;
        return state;
    };
    const auto pullRequests = [] {
        features::BranchPickerState picker;
        picker.tab = features::BranchPickerState::Tab::pullRequests;
        return workspaceWith(picker);
    };
    const auto visibility = [] {
        features::PublishRepositoryState publish("repo");
        publish.field = features::PublishRepositoryState::Field::visibility;
        return workspaceWith(publish);
    };
    const auto offeringCreate = [] {
        features::PathPromptState prompt;
        prompt.offersCreate = true;
        return workspaceWith(prompt);
    };
    using Kind = core::CredentialPrompt::Kind;
    using PublishField = features::PublishRepositoryState::Field;
    expectRoutes({
        {"palette: : typed into the query", paletteOpen, ch(":"), {insert(":")}},
        {"palette: ctrl-P closes it", paletteOpen, ctrl("p"), {OverlayAction::Dismiss{}}},
        {"palette: enter", paletteOpen, key(KeyCode::enter()), {OverlayAction::ActivateSelection{}}},
        {"palette: page down by the list's rows", paletteOpen, key(KeyCode::pageDown()), {OverlayAction::MoveSelection{7}}},
        {"palette: backspace", paletteOpen, key(KeyCode::backspace()), {edit(TextEdit::backspace())}},
        {"message: 2 applies the second fix", with(message()), ch("2"), {OverlayAction::ApplyFix{core::FailureFix::retry()}}},
        {"message: 1 the first", with(message()), ch("1"), {OverlayAction::ApplyFix{core::FailureFix::pull()}}},
        {"message: 3 nothing", with(message()), ch("3"), {}},
        {"message: 0 nothing", with(message()), ch("0"), {}},
        {"message: alt-2 nothing", with(message()), alt("2"), {}},
        {"message: q dismisses", with(message()), ch("q"), {OverlayAction::Dismiss{}}},
        {"message: enter dismisses", with(message()), key(KeyCode::enter()), {OverlayAction::Dismiss{}}},
        {"credentials, password: y typed", with(credential(Kind::password)), ch("y"), {insert("y")}},
        {"credentials, password: enter submits", with(credential(Kind::password)), key(KeyCode::enter()),
         {OverlayAction::Submitted{}}},
        {"credentials, confirmation: y confirms", with(credential(Kind::confirmation)), ch("y"), {OverlayAction::Confirm{}}},
        {"credentials, confirmation: n dismisses", with(credential(Kind::confirmation)), ch("n"), {OverlayAction::Dismiss{}}},
        {"credentials, confirmation: x", with(credential(Kind::confirmation)), ch("x"), {}},
        {"branches: letters filter", with(features::BranchPickerState()), ch("a"), {insert("a")}},
        {"branches: tab to pull requests", with(features::BranchPickerState()), key(KeyCode::tab()),
         {OverlayAction::SetBranchTab{features::BranchPickerState::Tab::pullRequests}}},
        {"pull requests: letters do nothing", pullRequests, ch("a"), {}},
        {"pull requests: tab back", pullRequests, key(KeyCode::tab()),
         {OverlayAction::SetBranchTab{features::BranchPickerState::Tab::branches}}},
        {"branches: ctrl-N", with(features::BranchPickerState()), ctrl("n"), {command(AppCommand::newBranch)}},
        {"repositories: ctrl-O", with(features::RepositoryPickerState()), ctrl("o"), {command(AppCommand::addRepository)}},
        {"repositories: up", with(features::RepositoryPickerState()), key(KeyCode::up()), {OverlayAction::MoveSelection{-1}}},
        {"repositories: typed", with(features::RepositoryPickerState()), ch("x"), {insert("x")}},
        {"discard: y", with(Overlay::ConfirmDiscard{}), ch("y"), {OverlayAction::Confirm{}}},
        {"discard: n", with(Overlay::ConfirmDiscard{}), ch("n"), {OverlayAction::Dismiss{}}},
        {"discard: Y", with(Overlay::ConfirmDiscard{}), ch("Y", Modifiers::shift), {}},
        {"new branch: enter", with(features::NewBranchState()), key(KeyCode::enter()), {OverlayAction::Submitted{}}},
        {"new branch: typed", with(features::NewBranchState()), ch("q"), {insert("q")}},
        {"add repository: ctrl-N creates", offeringCreate, ctrl("n"), {OverlayAction::CreateRepositoryInstead{}}},
        {"add repository: ctrl-N not offered", with(features::PathPromptState()), ctrl("n"), {}},
        {"clone: tab", with(features::ClonePromptState("/home")), key(KeyCode::tab()), {OverlayAction::SwitchCloneField{}}},
        {"clone: down without matches edits", with(features::ClonePromptState("/home")), key(KeyCode::down()),
         {edit(TextEdit::moveDown())}},
        {"publish: space toggles privacy", visibility, ch(" "), {OverlayAction::TogglePublishPrivate{}}},
        {"publish: x in the visibility field", visibility, ch("x"), {}},
        {"publish: tab", with(features::PublishRepositoryState("repo")), key(KeyCode::tab()),
         {OverlayAction::FocusPublishField{PublishField::description}}},
        {"publish: back tab", with(features::PublishRepositoryState("repo")), key(KeyCode::backTab()),
         {OverlayAction::FocusPublishField{PublishField::visibility}}},
        {"sign-in: enter", with(features::SignInState()), key(KeyCode::enter()), {OverlayAction::Confirm{}}},
        {"tags: d drops", with(features::TagPickerState()), ch("d"), {OverlayAction::DropSelection{}}},
        {"stashes: delete drops", with(features::StashPickerState({})), key(KeyCode::deleteKey()), {OverlayAction::DropSelection{}}},
        {"worktrees: n", with(features::WorktreePickerState()), ch("n"), {command(AppCommand::newWorktree)}},
        {"context menu: enter", with(features::ContextMenuState({AppCommand::copyPath}, 1, 1)), key(KeyCode::enter()),
         {OverlayAction::ActivateSelection{}}},
        {"context menu: letter", with(features::ContextMenuState({AppCommand::copyPath}, 1, 1)), ch("c"), {}},
        {"help: ?", with(Overlay::Help{}), ch("?"), {OverlayAction::Dismiss{}}},
        // The help scrolls with the list keys (8 lines shown).
        {"help: j", with(Overlay::Help{}), ch("j"), {OverlayAction::Scroll{1}}},
        {"help: up", with(Overlay::Help{}), key(KeyCode::up()), {OverlayAction::Scroll{-1}}},
        {"help: page down", with(Overlay::Help{}), key(KeyCode::pageDown()), {OverlayAction::Scroll{7}}},
        {"help: page up", with(Overlay::Help{}), key(KeyCode::pageUp()), {OverlayAction::Scroll{-7}}},
        {"help: ctrl-D", with(Overlay::Help{}), ctrl("d"), {OverlayAction::Scroll{4}}},
        {"help: ctrl-U", with(Overlay::Help{}), ctrl("u"), {OverlayAction::Scroll{-4}}},
        {"help: End", with(Overlay::Help{}), key(KeyCode::end()), {OverlayAction::Scroll{1'000'000}}},
        {"help: g", with(Overlay::Help{}), ch("g"), {OverlayAction::Scroll{-1'000'000}}},
        {"help: other letters", with(Overlay::Help{}), ch("x"), {}},
    });
}

TEST(KeyRouting, TextEditOfEachKey) {
    struct Row {
        terminal::KeyEvent key;
        std::optional<TextEdit> edit;
    };
    const std::vector<Row> rows = {
        {ctrl("a"), TextEdit::moveToLineStart()},
        {ctrl("e"), TextEdit::moveToLineEnd()},
        {ctrl("u"), TextEdit::deleteToLineStart()},
        {ctrl("k"), TextEdit::deleteToLineEnd()},
        {ctrl("w"), TextEdit::deleteWordBackward()},
        {ctrl("d"), TextEdit::deleteForward()},
        {ctrl("x"), std::nullopt},
        {key(KeyCode::left(), Modifiers::control), std::nullopt},
        {ch("é"), TextEdit::insert("é")},
        {ch("A", Modifiers::shift), TextEdit::insert("A")},
        {alt("b"), std::nullopt},
        {key(KeyCode::backspace()), TextEdit::backspace()},
        {key(KeyCode::backspace(), Modifiers::alt), TextEdit::deleteWordBackward()},
        {key(KeyCode::deleteKey()), TextEdit::deleteForward()},
        {key(KeyCode::left()), TextEdit::moveLeft()},
        {key(KeyCode::right(), Modifiers::shift), TextEdit::moveRight()},
        {key(KeyCode::up()), TextEdit::moveUp()},
        {key(KeyCode::down()), TextEdit::moveDown()},
        {key(KeyCode::home()), TextEdit::moveToLineStart()},
        {key(KeyCode::end()), TextEdit::moveToLineEnd()},
        {key(KeyCode::enter()), std::nullopt},
        {key(KeyCode::tab()), std::nullopt},
        {key(KeyCode::escape()), std::nullopt},
        {key(KeyCode::insert()), std::nullopt},
        {key(KeyCode::pageUp()), std::nullopt},
        {key(KeyCode::function(3)), std::nullopt},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_TRUE(InputRouter::textEdit(rows[i].key) == rows[i].edit) << "row " << i;
    }
    EXPECT_TRUE(InputRouter::isPrintable(ch("A", Modifiers::shift)));
    EXPECT_FALSE(InputRouter::isPrintable(alt("a")));
    EXPECT_FALSE(InputRouter::isPrintable(key(KeyCode::enter())));
}

}  // namespace
}  // namespace tarv::ui
