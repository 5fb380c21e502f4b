#pragma once

#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace tarv::core {

// A reducer's request to suspend the interface and run an outside program;
// the application runtime carries it out.
struct ExternalRequest {
    // Open `path` in the user's terminal editor.
    struct TerminalEditor {
        std::string path;
        bool operator==(const TerminalEditor&) const = default;
    };

    // Run a command line on the terminal (the editor that TARV_EDITOR names,
    // then the file's path); the first word is looked up on PATH.
    struct Command {
        std::vector<std::string> words;
        bool operator==(const Command&) const = default;
    };

    using Value = std::variant<TerminalEditor, Command>;
    Value value;

    template <class Case>
        requires std::is_constructible_v<Value, Case&&>
    ExternalRequest(Case&& request) : value(std::forward<Case>(request)) {}  // NOLINT: implicit on purpose

    static ExternalRequest terminalEditor(std::string path) { return TerminalEditor{std::move(path)}; }
    static ExternalRequest command(std::vector<std::string> words) { return Command{std::move(words)}; }

    bool operator==(const ExternalRequest&) const = default;
};

}  // namespace tarv::core
