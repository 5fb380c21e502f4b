#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace tarv::core {

// A defect of keymap.json; the offending entry is left out and the rest of the
// file applies.
struct KeymapProblem {
    // The file's version is newer than the one this program understands.
    struct UnsupportedVersion {
        std::int64_t version = 0;
        bool operator==(const UnsupportedVersion&) const = default;
    };
    // A key of "bindings" is no command identifier; `key` as written.
    struct UnknownCommand {
        std::string key;
        bool operator==(const UnknownCommand&) const = default;
    };
    // A chord text does not parse.
    struct InvalidKey {
        std::string command;
        std::string key;
        bool operator==(const InvalidKey&) const = default;
    };
    // A chord that the program keeps for itself.
    struct ReservedKey {
        std::string command;
        std::string key;
        bool operator==(const ReservedKey&) const = default;
    };
    // One chord bound by several commands; `key` in its display form.
    struct DuplicateKey {
        std::string key;
        std::vector<std::string> commands;
        bool operator==(const DuplicateKey&) const = default;
    };

    using Value = std::variant<UnsupportedVersion, UnknownCommand, InvalidKey, ReservedKey, DuplicateKey>;
    Value value;

    template <class Case>
        requires std::is_constructible_v<Value, Case&&>
    KeymapProblem(Case&& problem) : value(std::forward<Case>(problem)) {}  // NOLINT: implicit on purpose

    static KeymapProblem unsupportedVersion(std::int64_t version) { return UnsupportedVersion{version}; }
    static KeymapProblem unknownCommand(std::string key) { return UnknownCommand{std::move(key)}; }
    static KeymapProblem invalidKey(std::string command, std::string key) {
        return InvalidKey{std::move(command), std::move(key)};
    }
    static KeymapProblem reservedKey(std::string command, std::string key) {
        return ReservedKey{std::move(command), std::move(key)};
    }
    static KeymapProblem duplicateKey(std::string key, std::vector<std::string> commands) {
        return DuplicateKey{std::move(key), std::move(commands)};
    }

    bool operator==(const KeymapProblem&) const = default;
};

}  // namespace tarv::core
