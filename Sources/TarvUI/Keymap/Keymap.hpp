#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Models/AppCommand.hpp"
#include "TarvCore/Models/KeyChord.hpp"
#include "TarvFeatures/App/AppAction.hpp"
#include "TarvFeatures/Workspace/Pane.hpp"
#include "TarvTerminal/Input/KeyEvent.hpp"
#include "TarvUI/Keymap/Binding.hpp"

namespace tarv::features {
struct AppState;
}

namespace tarv::ui {

// What a key means in the workspace: an ordered list of bindings, first
// match wins. The defaults are six tables in this order: global (19),
// files (12), the Changes diff (20), the History diff (13), the commit list
// (7) and the commit's files (4), 75 bindings.
//
// A keymap file's overrides are applied once, at construction; the value is
// immutable afterwards. A chord given to a command is taken from every other
// binding that used it (navigation ones included; their display text
// stays), a command given an empty list loses every binding, and a command
// without a default key gets a global binding that acts only where the
// palette would offer it.
class Keymap {
public:
    using Overrides = std::map<core::AppCommand, std::vector<core::KeyChord>>;

    struct CommandShortcut {
        core::AppCommand command;
        std::optional<std::string> shortcut;
        bool operator==(const CommandShortcut&) const = default;
    };

    struct Hint {
        std::string keys;
        core::Text label;
        bool operator==(const Hint&) const = default;
    };

    explicit Keymap(const Overrides& overrides = {});

    // The keymap without overrides, built on first use.
    static const Keymap& standard();

    const std::vector<Binding>& bindings() const { return bindings_; }

    // The actions of the first binding of the focused pane's scope that
    // lists `event`, else of the first global one; none when the key is not
    // bound. Without an open workspace only the global bindings count.
    std::optional<std::vector<features::AppAction>> resolve(const terminal::KeyEvent& event,
                                                            const features::AppState& state) const;
    std::optional<std::vector<features::AppAction>> resolveGlobal(const terminal::KeyEvent& event,
                                                                  const features::AppState& state) const;

    // Whether some binding of `command` lists `event`.
    bool triggers(core::AppCommand command, const terminal::KeyEvent& event) const;
    // The display text of the first binding of `command`; none when unbound.
    std::optional<std::string> shortcut(core::AppCommand command) const;
    // One entry per command, in declaration order.
    std::vector<CommandShortcut> commandShortcuts() const;
    // The hint bar's keys for the state, those without a key left out.
    std::vector<Hint> hints(const features::AppState& state) const;

    // The default bindings of a diff pane: `diff` (the Changes diff, with
    // its conflict and line-selection keys) or `historyDiff`.
    static std::vector<Binding> diff(Binding::Scope scope);

    // The next ("]") or previous ("[") hunk of a diff pane, or the next or
    // previous conflict block while the Changes diff shows a conflict.
    static std::vector<features::AppAction> jump(const features::AppState& state, features::Pane pane,
                                                 bool forward);

private:
    std::vector<Binding> bindings_;
};

}  // namespace tarv::ui
