#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <variant>

namespace tarv::core {

// Failures of git itself or of a git-level request. Thrown by the git engine;
// a value with equality. `what()` names the case for developers; the words a
// user sees come from the error texts.
struct GitError : std::exception {
    // git ran and ended with an exit code the caller did not allow.
    // `command` is "git " and the caller's arguments joined by single blanks;
    // `stderr` is git's standard error, trimmed (may be empty); when git
    // wrote nothing there, its short standard output.
    struct CommandFailed {
        std::string command;
        std::int32_t exitCode = 0;
        std::string stderr;
        bool operator==(const CommandFailed&) const = default;
    };
    // git's output could not be parsed; `message` says what was wrong.
    struct InvalidOutput {
        std::string message;
        bool operator==(const InvalidOutput&) const = default;
    };
    // The engine refused the request; `message` is shown to the user as is,
    // `englishMessage` instead in an English interface when the refusal has
    // one (empty: `message` serves both).
    struct InvalidArgument {
        std::string message;
        std::string englishMessage{};
        bool operator==(const InvalidArgument&) const = default;
    };
    // `path` is not inside a git repository.
    struct NotARepository {
        std::string path;
        bool operator==(const NotARepository&) const = default;
    };
    // No usable git executable was found.
    struct GitNotFound {
        bool operator==(const GitNotFound&) const = default;
    };

    using Value = std::variant<CommandFailed, InvalidOutput, InvalidArgument, NotARepository, GitNotFound>;
    Value value;

    explicit GitError(Value value) : value(std::move(value)) {}

    static GitError commandFailed(std::string command, std::int32_t exitCode, std::string stderr) {
        return GitError(CommandFailed{std::move(command), exitCode, std::move(stderr)});
    }
    static GitError invalidOutput(std::string message) { return GitError(InvalidOutput{std::move(message)}); }
    static GitError invalidArgument(std::string message) { return GitError(InvalidArgument{std::move(message), {}}); }
    static GitError invalidArgument(std::string message, std::string englishMessage) {
        return GitError(InvalidArgument{std::move(message), std::move(englishMessage)});
    }
    static GitError notARepository(std::string path) { return GitError(NotARepository{std::move(path)}); }
    static GitError gitNotFound() { return GitError(GitNotFound{}); }

    // The case name, for developers.
    const char* what() const noexcept override;
    // The case with its payload, for developers (test output, debugging).
    std::string description() const;

    bool operator==(const GitError& other) const { return value == other.value; }
};

}  // namespace tarv::core
