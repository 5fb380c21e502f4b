#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <variant>

namespace tarv::terminal {

// Taking the terminal failed: its attributes could not be read or set (with
// the errno of the failed call), or the descriptor is not a terminal.
class TerminalError : public std::exception {
public:
    struct AttributesFailed {
        std::int32_t errnoValue = 0;
        bool operator==(const AttributesFailed&) const = default;
    };
    struct NotATTY {
        bool operator==(const NotATTY&) const = default;
    };
    using Case = std::variant<AttributesFailed, NotATTY>;

    static TerminalError attributesFailed(std::int32_t errnoValue) { return TerminalError(AttributesFailed{errnoValue}); }
    static TerminalError notATTY() { return TerminalError(NotATTY{}); }

    const Case& value() const { return value_; }
    bool isNotATTY() const { return std::holds_alternative<NotATTY>(value_); }

    const char* what() const noexcept override { return message_.c_str(); }

    bool operator==(const TerminalError& other) const { return value_ == other.value_; }

private:
    explicit TerminalError(Case value);

    Case value_;
    std::string message_;
};

}  // namespace tarv::terminal
