#pragma once

#include <exception>
#include <string>
#include <variant>

namespace tarv::core {

// Storing a secret failed.
struct SecretStoreError : std::exception {
    // `message` is the keychain command's error output, trimmed.
    struct WriteFailed {
        std::string message;
        bool operator==(const WriteFailed&) const = default;
    };

    using Value = std::variant<WriteFailed>;
    Value value;

    explicit SecretStoreError(Value value) : value(std::move(value)) {}

    static SecretStoreError writeFailed(std::string message) {
        return SecretStoreError(WriteFailed{std::move(message)});
    }

    const char* what() const noexcept override { return "SecretStoreError.writeFailed"; }
    std::string description() const { return std::string(what()) + ": " + std::get<WriteFailed>(value).message; }

    bool operator==(const SecretStoreError& other) const { return value == other.value; }
};

}  // namespace tarv::core
