#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace tarv::core {

// One display row of the conflict resolver. `block` counts conflict blocks
// from 0.
struct ConflictRow {
    struct Context {
        std::string line;
        bool operator==(const Context&) const = default;
    };
    struct Header {
        std::int64_t block = 0;
        bool operator==(const Header&) const = default;
    };
    struct Actions {
        std::int64_t block = 0;
        bool operator==(const Actions&) const = default;
    };
    struct CurrentLabel {
        std::int64_t block = 0;
        bool operator==(const CurrentLabel&) const = default;
    };
    struct Current {
        std::int64_t block = 0;
        std::string line;
        bool operator==(const Current&) const = default;
    };
    struct IncomingLabel {
        std::int64_t block = 0;
        bool operator==(const IncomingLabel&) const = default;
    };
    struct Incoming {
        std::int64_t block = 0;
        std::string line;
        bool operator==(const Incoming&) const = default;
    };

    using Value = std::variant<Context, Header, Actions, CurrentLabel, Current, IncomingLabel, Incoming>;
    Value value;

    template <class Case>
        requires std::is_constructible_v<Value, Case&&>
    ConflictRow(Case&& row) : value(std::forward<Case>(row)) {}  // NOLINT: implicit on purpose

    bool operator==(const ConflictRow&) const = default;
};

}  // namespace tarv::core
