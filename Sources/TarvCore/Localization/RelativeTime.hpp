#pragma once

#include <cstdint>
#include <variant>

namespace tarv::core {

// How long ago something happened, in whole units (never rounded up).
struct RelativeTime {
    struct Minutes {
        std::int64_t count;
        bool operator==(const Minutes&) const = default;
    };
    struct Hours {
        std::int64_t count;
        bool operator==(const Hours&) const = default;
    };
    struct Days {
        std::int64_t count;
        bool operator==(const Days&) const = default;
    };
    struct Months {
        std::int64_t count;
        bool operator==(const Months&) const = default;
    };
    struct Years {
        std::int64_t count;
        bool operator==(const Years&) const = default;
    };
    struct JustNow {
        bool operator==(const JustNow&) const = default;
    };
    struct Yesterday {
        bool operator==(const Yesterday&) const = default;
    };

    using Value = std::variant<Minutes, Hours, Days, Months, Years, JustNow, Yesterday>;
    Value value;

    static RelativeTime minutes(std::int64_t count) { return {Minutes{count}}; }
    static RelativeTime hours(std::int64_t count) { return {Hours{count}}; }
    static RelativeTime days(std::int64_t count) { return {Days{count}}; }
    static RelativeTime months(std::int64_t count) { return {Months{count}}; }
    static RelativeTime years(std::int64_t count) { return {Years{count}}; }
    static RelativeTime justNow() { return {JustNow{}}; }
    static RelativeTime yesterday() { return {Yesterday{}}; }

    // The age of something that happened at `start` (Unix seconds) seen at
    // `end`. A time in the future reads as just now.
    static RelativeTime between(std::int64_t start, std::int64_t end);

    bool operator==(const RelativeTime&) const = default;
};

}  // namespace tarv::core
