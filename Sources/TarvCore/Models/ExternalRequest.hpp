#pragma once

#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace tarv::core {

// A reducer's request to suspend the interface and run an outside program;
// the application runtime carries it out.
struct ExternalRequest {
    // Open `path` in the user's terminal editor.
    struct TerminalEditor {
        std::string path;
        bool operator==(const TerminalEditor&) const = default;
    };

    using Value = std::variant<TerminalEditor>;
    Value value;

    template <class Case>
        requires std::is_constructible_v<Value, Case&&>
    ExternalRequest(Case&& request) : value(std::forward<Case>(request)) {}  // NOLINT: implicit on purpose

    static ExternalRequest terminalEditor(std::string path) { return TerminalEditor{std::move(path)}; }

    bool operator==(const ExternalRequest&) const = default;
};

}  // namespace tarv::core
