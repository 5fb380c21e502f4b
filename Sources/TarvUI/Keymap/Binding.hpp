#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Models/AppCommand.hpp"
#include "TarvCore/Models/KeyChord.hpp"
#include "TarvFeatures/App/AppAction.hpp"
#include "TarvTerminal/Input/KeyEvent.hpp"

namespace tarv::features {
struct AppState;
}

namespace tarv::ui {

// One entry of the keymap: where it applies, the keys that trigger it, how
// it is shown in help and hints, the command it stands for (none for pure
// navigation) and what it sends. The action reads the state at the moment
// the key is pressed; an empty result means the key is consumed and nothing
// happens.
struct Binding {
    enum class Scope { global, files, diff, historyList, historyFiles, historyDiff };
    static constexpr std::array<Scope, 6> allScopes = {Scope::global, Scope::files, Scope::diff,
                                                       Scope::historyList, Scope::historyFiles, Scope::historyDiff};

    using Action = std::function<std::vector<features::AppAction>(const features::AppState&)>;

    Scope scope = Scope::global;
    // Compared with == on key code and the exact modifier set.
    std::vector<terminal::KeyEvent> keys;
    std::string display;
    core::Text help;
    std::optional<core::AppCommand> command;
    // Carried with the binding; the hint bar builds its own fixed lists.
    bool hint = false;
    Action action;
};

// The case name of a scope ("global", "files", ...).
std::string_view scopeName(Binding::Scope scope);

// The key event a keymap-file chord stands for: control and alt become
// modifiers (a chord never carries shift), the space key is the character
// " ", every named key its key code.
terminal::KeyEvent keyEvent(const core::KeyChord& chord);

}  // namespace tarv::ui
