#pragma once

#include <exception>
#include <string>
#include <variant>

namespace tarv::core {

// A configuration file (the keymap file) exists but is not valid JSON of the
// expected shape.
struct ConfigurationError : std::exception {
    // `path` is the file's path.
    struct Malformed {
        std::string path;
        bool operator==(const Malformed&) const = default;
    };

    using Value = std::variant<Malformed>;
    Value value;

    explicit ConfigurationError(Value value) : value(std::move(value)) {}

    static ConfigurationError malformed(std::string path) { return ConfigurationError(Malformed{std::move(path)}); }

    const char* what() const noexcept override { return "ConfigurationError.malformed"; }
    std::string description() const { return std::string(what()) + ": " + std::get<Malformed>(value).path; }

    bool operator==(const ConfigurationError& other) const { return value == other.value; }
};

}  // namespace tarv::core
