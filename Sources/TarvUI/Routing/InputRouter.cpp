#include "TarvUI/Routing/InputRouter.hpp"

#include <algorithm>
#include <utility>

#include "TarvFeatures/App/AppState.hpp"
#include "TarvUI/Routing/KeyMatch.hpp"
#include "TarvUI/Screens/AppView.hpp"

namespace tarv::ui {

using features::AppAction;
using features::AppState;
using features::WorkspaceAction;
using features::WorkspaceFocus;
using terminal::KeyCode;
using terminal::KeyEvent;
using terminal::Modifiers;
using terminal::MouseEvent;

InputRouter::InputRouter(Keymap keymap, Now now) : keymap_(std::move(keymap)), now_(std::move(now)) {}

std::vector<AppAction> InputRouter::route(const terminal::InputEvent& event, const AppState& state,
                                          const RenderedFrame& frame) {
    return route(event, state, frame.grid.size, [&frame]() -> const RenderedFrame& { return frame; });
}

std::vector<AppAction> InputRouter::route(const terminal::InputEvent& event, const AppState& state,
                                          terminal::Size size, const FrameSource& frame) {
    using E = terminal::InputEvent;
    const bool hidden = AppView::showsTooSmallNotice(size);
    if (const auto* key = event.get<E::Key>()) {
        scrollBrake_.noteOtherInput(now());
        return hidden ? quitOnly(key->event, state, keymap_) : routeKey(key->event, state, keymap_);
    }
    if (hidden && !event.is<E::Focus>()) return {};
    if (const auto* mouse = event.get<E::Mouse>()) {
        const Clock::time_point instant = now();
        if (mouse->event.kind.is<MouseEvent::Press>()) scrollBrake_.noteOtherInput(instant);
        if (const auto* wheel = std::get_if<MouseEvent::Scroll>(&mouse->event.kind.value)) {
            const bool vertical =
                wheel->direction == MouseEvent::Direction::up || wheel->direction == MouseEvent::Direction::down;
            if (vertical && !scrollBrake_.accept(wheel->direction, instant)) return {};
        }
        return routeMouse(mouse->event, state, frame(), instant);
    }
    if (const auto* paste = event.get<E::Paste>()) {
        if (!state.isEditingText()) return {};
        return {AppAction::Pasted{paste->text}};
    }
    if (const auto* focus = event.get<E::Focus>()) return {AppAction::WindowFocus{focus->gained}};
    return {};
}

std::vector<AppAction> InputRouter::routeKey(const KeyEvent& key, const AppState& state, const Keymap& keymap) {
    if (state.overlay) return overlayKey(key, state, keymap);
    switch (state.phase()) {
    case AppState::Phase::onboarding: return onboardingKey(key, state);
    case AppState::Phase::launching:
        if (KeyMatch::control(key, "q") || KeyMatch::plain(key, "q")) return {AppAction::Quit{}};
        return {};
    case AppState::Phase::welcome: return welcomeKey(key);
    case AppState::Phase::workspace: return workspaceKey(key, state, keymap);
    }
    return {};
}

std::vector<AppAction> InputRouter::quitOnly(const KeyEvent& key, const AppState& state, const Keymap& keymap) {
    if (KeyMatch::control(key, "q")) return {AppAction::Quit{}};
    std::vector<AppAction> actions = routeKey(key, state, keymap);
    const bool quits = !actions.empty() && std::all_of(actions.begin(), actions.end(), [](const AppAction& action) {
        return action == AppAction(AppAction::Quit{}) || action == AppAction(AppAction::Command{core::AppCommand::quit});
    });
    return quits ? actions : std::vector<AppAction>{};
}

std::vector<AppAction> InputRouter::workspaceKey(const KeyEvent& key, const AppState& state, const Keymap& keymap) {
    if (KeyMatch::control(key, "q")) return {AppAction::Quit{}};
    if (!state.workspace) return {};
    if (!state.isEditingText()) return keymap.resolve(key, state).value_or(std::vector<AppAction>{});
    if (key.code.is<KeyCode::Function>() || key.modifiers.contains(Modifiers::control)) {
        if (auto actions = keymap.resolveGlobal(key, state)) return std::move(*actions);
    }
    return editingKey(key, state);
}

std::vector<AppAction> InputRouter::editingKey(const KeyEvent& key, const AppState& state) {
    const features::WorkspaceState& ws = *state.workspace;
    if (KeyMatch::named<KeyCode::Escape>(key)) {
        return {WorkspaceAction::SetFilterFocused{false}, WorkspaceAction::Focus{WorkspaceFocus::files}};
    }
    if (KeyMatch::named<KeyCode::Up>(key) && ws.focus == WorkspaceFocus::description &&
        ws.description.cursorPosition().row == 0) {
        return {WorkspaceAction::Focus{WorkspaceFocus::summary}};
    }
    if (KeyMatch::named<KeyCode::Down>(key) && ws.focus == WorkspaceFocus::summary) {
        return {WorkspaceAction::Focus{WorkspaceFocus::description}};
    }
    if (KeyMatch::named<KeyCode::Enter>(key)) {
        if (ws.focus == WorkspaceFocus::files && ws.changes.isFilterFocused) {
            return {WorkspaceAction::SetFilterFocused{false}};
        }
        if (ws.focus == WorkspaceFocus::summary) return {WorkspaceAction::Focus{WorkspaceFocus::description}};
        return {AppAction::Edit{core::TextEdit::newline()}};
    }
    if (KeyMatch::named<KeyCode::Tab>(key)) return {WorkspaceAction::CycleFocus{false}};
    if (KeyMatch::named<KeyCode::BackTab>(key)) return {WorkspaceAction::CycleFocus{true}};
    if (auto edit = textEdit(key)) return {AppAction::Edit{std::move(*edit)}};
    return {};
}

namespace {

std::optional<core::TextEdit> controlEdit(const std::string* character) {
    if (character == nullptr) return std::nullopt;
    if (*character == "a") return core::TextEdit::moveToLineStart();
    if (*character == "e") return core::TextEdit::moveToLineEnd();
    if (*character == "u") return core::TextEdit::deleteToLineStart();
    if (*character == "k") return core::TextEdit::deleteToLineEnd();
    if (*character == "w") return core::TextEdit::deleteWordBackward();
    if (*character == "d") return core::TextEdit::deleteForward();
    return std::nullopt;
}

}  // namespace

std::optional<core::TextEdit> InputRouter::textEdit(const KeyEvent& key) {
    const std::string* character = key.code.characterText();
    if (key.modifiers.contains(Modifiers::control)) return controlEdit(character);
    if (character != nullptr) {
        if (key.modifiers.contains(Modifiers::alt)) return std::nullopt;
        return core::TextEdit::insert(*character);
    }
    if (key.code.is<KeyCode::Backspace>()) {
        return key.modifiers.contains(Modifiers::alt) ? core::TextEdit::deleteWordBackward()
                                                      : core::TextEdit::backspace();
    }
    if (key.code.is<KeyCode::Delete>()) return core::TextEdit::deleteForward();
    if (key.code.is<KeyCode::Left>()) return core::TextEdit::moveLeft();
    if (key.code.is<KeyCode::Right>()) return core::TextEdit::moveRight();
    if (key.code.is<KeyCode::Up>()) return core::TextEdit::moveUp();
    if (key.code.is<KeyCode::Down>()) return core::TextEdit::moveDown();
    if (key.code.is<KeyCode::Home>()) return core::TextEdit::moveToLineStart();
    if (key.code.is<KeyCode::End>()) return core::TextEdit::moveToLineEnd();
    return std::nullopt;
}

bool InputRouter::isPrintable(const KeyEvent& key) {
    Modifiers others = key.modifiers;
    others.remove(Modifiers::shift);
    return key.code.is<KeyCode::Character>() && others.isEmpty();
}

}  // namespace tarv::ui
