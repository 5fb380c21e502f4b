// Keys while an overlay is open: escape dismisses every overlay, then each
// kind has its own short table; keys it does not list are swallowed, so
// nothing reaches the screen underneath. Each kind's case names the view
// that draws it (TarvUI/Components; OverlayDispatch picks the view), so an
// overlay's keys and its drawing are one hop apart.
#include <algorithm>

#include "TarvFeatures/App/AppState.hpp"
#include "TarvUI/Routing/InputRouter.hpp"
#include "TarvUI/Routing/KeyMatch.hpp"

namespace tarv::ui {

using core::AppCommand;
using features::AppAction;
using features::AppState;
using features::Overlay;
using features::OverlayAction;
using terminal::KeyCode;
using terminal::KeyEvent;

namespace {

using Actions = std::vector<AppAction>;

AppAction command(AppCommand command) { return AppAction::Command{command}; }

std::int64_t page(const AppState& state) { return std::max<std::int64_t>(state.viewports.picker - 1, 1); }

// The list moves without enter (the clone form's matches use these).
std::optional<Actions> listMove(const KeyEvent& key, const AppState& state) {
    if (KeyMatch::named<KeyCode::Up>(key)) return Actions{OverlayAction::MoveSelection{-1}};
    if (KeyMatch::named<KeyCode::Down>(key)) return Actions{OverlayAction::MoveSelection{1}};
    if (KeyMatch::named<KeyCode::PageUp>(key)) return Actions{OverlayAction::MoveSelection{-page(state)}};
    if (KeyMatch::named<KeyCode::PageDown>(key)) return Actions{OverlayAction::MoveSelection{page(state)}};
    return std::nullopt;
}

// Enter activates the selected row; the arrows and page keys move.
std::optional<Actions> listStep(const KeyEvent& key, const AppState& state) {
    if (KeyMatch::named<KeyCode::Enter>(key)) return Actions{OverlayAction::ActivateSelection{}};
    return listMove(key, state);
}

Actions textEditing(const KeyEvent& key) {
    if (auto edit = InputRouter::textEdit(key)) return {AppAction::Edit{std::move(*edit)}};
    return {};
}

bool isDrop(const KeyEvent& key) { return KeyMatch::plain(key, "d") || KeyMatch::named<KeyCode::Delete>(key); }

// The fix whose number is typed, 1 for the first.
Actions messageKey(const KeyEvent& key, const Overlay::Message& message) {
    const std::string* character = key.code.characterText();
    if (character != nullptr && key.modifiers.isEmpty() && !character->empty() &&
        std::all_of(character->begin(), character->end(), [](char c) { return c >= '0' && c <= '9'; }) &&
        character->size() <= 9) {
        const std::size_t number = std::stoul(*character);
        if (number >= 1 && number <= message.fixes.size()) return {OverlayAction::ApplyFix{message.fixes[number - 1]}};
    }
    if (KeyMatch::named<KeyCode::Enter>(key) || KeyMatch::plain(key, "q")) return {OverlayAction::Dismiss{}};
    return {};
}

Actions branchesKey(const KeyEvent& key, const AppState& state, const features::BranchPickerState& picker) {
    using Tab = features::BranchPickerState::Tab;
    if (KeyMatch::named<KeyCode::Tab>(key)) {
        return {OverlayAction::SetBranchTab{picker.tab == Tab::branches ? Tab::pullRequests : Tab::branches}};
    }
    if (KeyMatch::control(key, "n")) return {command(AppCommand::newBranch)};
    if (auto step = listStep(key, state)) return std::move(*step);
    if (picker.tab == Tab::branches) return textEditing(key);
    return {};
}

Actions paletteKey(const KeyEvent& key, const AppState& state, const Keymap& keymap) {
    if (InputRouter::isPrintable(key)) return textEditing(key);
    if (keymap.triggers(AppCommand::commandPalette, key)) return {OverlayAction::Dismiss{}};
    if (auto step = listStep(key, state)) return std::move(*step);
    return textEditing(key);
}

Actions cloneKey(const KeyEvent& key, const AppState& state, const features::ClonePromptState& clone) {
    if (KeyMatch::named<KeyCode::Enter>(key)) return {OverlayAction::Submitted{}};
    if (clone.field == features::ClonePromptState::Field::url) {
        if (auto move = listMove(key, state); move && !clone.matches().empty()) return std::move(*move);
    }
    if (KeyMatch::named<KeyCode::Tab>(key)) return {OverlayAction::SwitchCloneField{}};
    return textEditing(key);
}

Actions publishKey(const KeyEvent& key, const features::PublishRepositoryState& publish) {
    using State = features::PublishRepositoryState;
    if (KeyMatch::named<KeyCode::Enter>(key)) return {OverlayAction::Submitted{}};
    const bool backTab = KeyMatch::named<KeyCode::BackTab>(key);
    if (backTab || KeyMatch::named<KeyCode::Tab>(key)) {
        return {OverlayAction::FocusPublishField{State::fieldAfter(publish.field, backTab)}};
    }
    if (publish.field == State::Field::visibility) {
        if (KeyMatch::plain(key, " ")) return {OverlayAction::TogglePublishPrivate{}};
        return {};
    }
    return textEditing(key);
}

Actions credentialsKey(const KeyEvent& key, const features::CredentialPromptState& credentials) {
    const bool enter = KeyMatch::named<KeyCode::Enter>(key);
    if (credentials.prompt.kind == core::CredentialPrompt::Kind::confirmation) {
        if (enter || KeyMatch::plain(key, "y")) return {OverlayAction::Confirm{}};
        if (KeyMatch::plain(key, "n")) return {OverlayAction::Dismiss{}};
        return {};
    }
    if (enter) return {OverlayAction::Submitted{}};
    return textEditing(key);
}

Actions confirmKey(const KeyEvent& key) {
    if (KeyMatch::named<KeyCode::Enter>(key) || KeyMatch::plain(key, "y")) return {OverlayAction::Confirm{}};
    if (KeyMatch::plain(key, "n")) return {OverlayAction::Dismiss{}};
    return {};
}

Actions submitOrEdit(const KeyEvent& key) {
    if (KeyMatch::named<KeyCode::Enter>(key)) return {OverlayAction::Submitted{}};
    return textEditing(key);
}

Actions listOnly(const KeyEvent& key, const AppState& state) { return listStep(key, state).value_or(Actions{}); }

// The help scrolls with the list keys: a line, a page, half a page, to
// either end.
Actions helpKey(const KeyEvent& key, const AppState& state) {
    constexpr std::int64_t toEnd = 1'000'000;
    const std::int64_t shown = std::max<std::int64_t>(state.viewports.picker, 1);
    const auto scroll = [](std::int64_t by) { return Actions{OverlayAction::Scroll{by}}; };
    if (KeyMatch::named<KeyCode::Enter>(key) || KeyMatch::plain(key, "q") || KeyMatch::plain(key, "?")) {
        return {OverlayAction::Dismiss{}};
    }
    if (KeyMatch::named<KeyCode::Up>(key) || KeyMatch::plain(key, "k")) return scroll(-1);
    if (KeyMatch::named<KeyCode::Down>(key) || KeyMatch::plain(key, "j")) return scroll(1);
    if (KeyMatch::named<KeyCode::PageUp>(key)) return scroll(-std::max<std::int64_t>(shown - 1, 1));
    if (KeyMatch::named<KeyCode::PageDown>(key)) return scroll(std::max<std::int64_t>(shown - 1, 1));
    if (KeyMatch::control(key, "u")) return scroll(-std::max<std::int64_t>(shown / 2, 1));
    if (KeyMatch::control(key, "d")) return scroll(std::max<std::int64_t>(shown / 2, 1));
    if (KeyMatch::named<KeyCode::Home>(key) || KeyMatch::plain(key, "g")) return scroll(-toEnd);
    if (KeyMatch::named<KeyCode::End>(key) || KeyMatch::plain(key, "G")) return scroll(toEnd);
    return {};
}

}  // namespace

std::vector<AppAction> InputRouter::overlayKey(const KeyEvent& key, const AppState& state, const Keymap& keymap) {
    if (KeyMatch::named<KeyCode::Escape>(key)) return {OverlayAction::Dismiss{}};
    const Overlay& overlay = *state.overlay;
    switch (overlay.kind()) {
    case Overlay::Kind::repositories:  // RepositoryPickerView
        if (KeyMatch::control(key, "o")) return {command(AppCommand::addRepository)};
        if (KeyMatch::control(key, "n")) return {command(AppCommand::cloneRepository)};
        if (auto step = listStep(key, state)) return std::move(*step);
        return textEditing(key);
    case Overlay::Kind::branches:  // BranchPickerView, PullRequestListView
        return branchesKey(key, state, std::get<features::BranchPickerState>(overlay.value));
    case Overlay::Kind::palette:  // PaletteView
        return paletteKey(key, state, keymap);
    case Overlay::Kind::confirmDiscard:  // DialogViews::confirmDiscard
    case Overlay::Kind::confirmDeleteBranch:  // DialogViews::confirmDeleteBranch
        return confirmKey(key);
    case Overlay::Kind::message:  // DialogViews::message
        return messageKey(key, std::get<Overlay::Message>(overlay.value));
    case Overlay::Kind::newBranch:  // DialogViews::newBranch
    case Overlay::Kind::coAuthor:  // DialogViews::coAuthor
    case Overlay::Kind::newTag:  // TagViews::newTag
    case Overlay::Kind::newWorktree:  // WorktreeViews::newWorktree
        return submitOrEdit(key);
    case Overlay::Kind::addRepository:  // DialogViews::addRepository
        if (KeyMatch::control(key, "n") && std::get<features::PathPromptState>(overlay.value).offersCreate) {
            return {OverlayAction::CreateRepositoryInstead{}};
        }
        return submitOrEdit(key);
    case Overlay::Kind::clone:  // CloneView
        return cloneKey(key, state, std::get<features::ClonePromptState>(overlay.value));
    case Overlay::Kind::publishRepository:  // PublishRepositoryView
        return publishKey(key, std::get<features::PublishRepositoryState>(overlay.value));
    case Overlay::Kind::signIn:  // SignInView
        if (KeyMatch::named<KeyCode::Enter>(key)) return {OverlayAction::Confirm{}};
        return {};
    case Overlay::Kind::tags:  // TagViews::picker
    case Overlay::Kind::stashes:  // StashPickerView
        if (isDrop(key)) return {OverlayAction::DropSelection{}};
        return listOnly(key, state);
    case Overlay::Kind::worktrees:  // WorktreeViews::picker
        if (KeyMatch::plain(key, "n")) return {command(AppCommand::newWorktree)};
        if (isDrop(key)) return {OverlayAction::DropSelection{}};
        return listOnly(key, state);
    case Overlay::Kind::contextMenu:  // DialogViews::contextMenu
        return listOnly(key, state);
    case Overlay::Kind::credentials:  // DialogViews::credentials
        return credentialsKey(key, std::get<features::CredentialPromptState>(overlay.value));
    case Overlay::Kind::help:  // HelpView
        return helpKey(key, state);
    }
    return {};
}

}  // namespace tarv::ui
