#include "TarvUI/Keymap/Keymap.hpp"

#include <algorithm>
#include <iterator>
#include <type_traits>
#include <utility>
#include <variant>

#include "TarvCore/Rules/KeyChordParser.hpp"
#include "TarvFeatures/App/AppState.hpp"
#include "TarvFeatures/Palette/PaletteCommands.hpp"
#include "TarvUI/Keymap/KeymapDefaults.hpp"

namespace tarv::ui {

using core::AppCommand;
using features::AppAction;
using features::AppState;
using terminal::KeyCode;
using terminal::KeyEvent;
using Scope = Binding::Scope;
using Actions = std::vector<AppAction>;

namespace {

std::vector<Binding> defaults() {
    std::vector<Binding> all;
    all.reserve(75);
    for (auto table : {KeymapDefaults::global(), KeymapDefaults::files(), KeymapDefaults::diff(Scope::diff),
                       KeymapDefaults::diff(Scope::historyDiff), KeymapDefaults::historyList(),
                       KeymapDefaults::historyFiles()}) {
        std::move(table.begin(), table.end(), std::back_inserter(all));
    }
    return all;
}

std::vector<KeyEvent> keyEvents(const std::vector<core::KeyChord>& chords) {
    std::vector<KeyEvent> keys;
    keys.reserve(chords.size());
    for (const auto& chord : chords) keys.push_back(keyEvent(chord));
    return keys;
}

bool lists(const Binding& binding, const KeyEvent& event) {
    return std::find(binding.keys.begin(), binding.keys.end(), event) != binding.keys.end();
}

Scope scopeOf(features::WorkspaceFocus focus) {
    switch (focus) {
        case features::WorkspaceFocus::files:
        case features::WorkspaceFocus::summary:
        case features::WorkspaceFocus::description: return Scope::files;
        case features::WorkspaceFocus::diff: return Scope::diff;
        case features::WorkspaceFocus::historyList: return Scope::historyList;
        case features::WorkspaceFocus::historyFiles: return Scope::historyFiles;
        case features::WorkspaceFocus::historyDiff: return Scope::historyDiff;
    }
    return Scope::files;
}

// Whether the palette offers `command` in this state.
bool offeredByPalette(const AppState& state, AppCommand command) {
    const auto offered = features::PaletteCommands::available(state);
    return std::find(offered.begin(), offered.end(), command) != offered.end();
}

// A binding for a command that has no default key: it acts only where the
// palette would offer the command, and consumes the key everywhere.
Binding addedBinding(AppCommand command, const std::vector<core::KeyChord>& chords) {
    Binding binding = KeymapDefaults::commandBinding(Scope::global, command, keyEvents(chords),
                                                     core::KeyChordParser::display(chords.front()));
    binding.action = [command](const AppState& state) {
        if (!offeredByPalette(state, command)) return Actions{};
        return Actions{AppAction(AppAction::Command{command})};
    };
    return binding;
}

}  // namespace

Keymap::Keymap(const Overrides& overrides) : bindings_(defaults()) {
    if (overrides.empty()) return;

    std::vector<KeyEvent> claimed;
    for (const auto& [command, chords] : overrides) {
        for (const auto& chord : chords) claimed.push_back(keyEvent(chord));
    }

    std::vector<Binding> result;
    result.reserve(bindings_.size());
    std::vector<bool> hasDefault(core::appCommandCount, false);
    for (Binding& binding : bindings_) {
        if (binding.command) hasDefault[static_cast<std::size_t>(*binding.command)] = true;
        const auto entry = binding.command ? overrides.find(*binding.command) : overrides.end();
        if (entry == overrides.end()) {
            std::erase_if(binding.keys, [&](const KeyEvent& key) {
                return std::find(claimed.begin(), claimed.end(), key) != claimed.end();
            });
            if (!binding.keys.empty()) result.push_back(std::move(binding));
            continue;
        }
        if (entry->second.empty()) continue;
        binding.keys = keyEvents(entry->second);
        binding.display = core::KeyChordParser::display(entry->second.front());
        result.push_back(std::move(binding));
    }
    for (const AppCommand command : core::allAppCommands) {
        const auto entry = overrides.find(command);
        if (hasDefault[static_cast<std::size_t>(command)] || entry == overrides.end() || entry->second.empty()) continue;
        result.push_back(addedBinding(command, entry->second));
    }
    bindings_ = std::move(result);
}

const Keymap& Keymap::standard() {
    static const Keymap keymap;
    return keymap;
}

std::optional<Actions> Keymap::resolve(const KeyEvent& event, const AppState& state) const {
    if (!state.workspace || bindings_.empty()) return resolveGlobal(event, state);
    const Scope scope = scopeOf(state.workspace->focus);
    for (const Binding& binding : bindings_) {
        if (binding.scope == scope && lists(binding, event)) return binding.action(state);
    }
    return resolveGlobal(event, state);
}

std::optional<Actions> Keymap::resolveGlobal(const KeyEvent& event, const AppState& state) const {
    for (const Binding& binding : bindings_) {
        if (binding.scope == Scope::global && lists(binding, event)) return binding.action(state);
    }
    return std::nullopt;
}

bool Keymap::triggers(AppCommand command, const KeyEvent& event) const {
    return std::any_of(bindings_.begin(), bindings_.end(),
                       [&](const Binding& b) { return b.command == command && lists(b, event); });
}

std::optional<std::string> Keymap::shortcut(AppCommand command) const {
    for (const Binding& binding : bindings_) {
        if (binding.command == command) return binding.display;
    }
    return std::nullopt;
}

std::vector<Keymap::CommandShortcut> Keymap::commandShortcuts() const {
    std::vector<CommandShortcut> result;
    result.reserve(core::appCommandCount);
    for (const AppCommand command : core::allAppCommands) result.push_back({command, shortcut(command)});
    return result;
}

std::vector<Binding> Keymap::diff(Scope scope) { return KeymapDefaults::diff(scope); }

std::string_view scopeName(Scope scope) {
    switch (scope) {
        case Scope::global: return "global";
        case Scope::files: return "files";
        case Scope::diff: return "diff";
        case Scope::historyList: return "historyList";
        case Scope::historyFiles: return "historyFiles";
        case Scope::historyDiff: return "historyDiff";
    }
    return "global";
}

KeyEvent keyEvent(const core::KeyChord& chord) {
    using Key = core::KeyChord::Key;
    terminal::Modifiers modifiers;
    if (chord.control) modifiers.insert(terminal::Modifiers::control);
    if (chord.alt) modifiers.insert(terminal::Modifiers::alt);
    const KeyCode code = std::visit(
        [](const auto& key) -> KeyCode {
            using K = std::decay_t<decltype(key)>;
            if constexpr (std::is_same_v<K, Key::Character>) return KeyCode::character(key.value);
            else if constexpr (std::is_same_v<K, Key::Function>) return KeyCode::function(key.number);
            else if constexpr (std::is_same_v<K, Key::Space>) return KeyCode::character(" ");
            else if constexpr (std::is_same_v<K, Key::Enter>) return KeyCode::enter();
            else if constexpr (std::is_same_v<K, Key::Tab>) return KeyCode::tab();
            else if constexpr (std::is_same_v<K, Key::Escape>) return KeyCode::escape();
            else if constexpr (std::is_same_v<K, Key::Backspace>) return KeyCode::backspace();
            else if constexpr (std::is_same_v<K, Key::Delete>) return KeyCode::deleteKey();
            else if constexpr (std::is_same_v<K, Key::Up>) return KeyCode::up();
            else if constexpr (std::is_same_v<K, Key::Down>) return KeyCode::down();
            else if constexpr (std::is_same_v<K, Key::Left>) return KeyCode::left();
            else if constexpr (std::is_same_v<K, Key::Right>) return KeyCode::right();
            else if constexpr (std::is_same_v<K, Key::Home>) return KeyCode::home();
            else if constexpr (std::is_same_v<K, Key::End>) return KeyCode::end();
            else if constexpr (std::is_same_v<K, Key::PageUp>) return KeyCode::pageUp();
            else return KeyCode::pageDown();
        },
        chord.key.value);
    return KeyEvent{code, modifiers};
}

}  // namespace tarv::ui
