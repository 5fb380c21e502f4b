#include "TarvCore/Localization/RelativeTime.hpp"

#include <limits>

namespace tarv::core {

namespace {

constexpr std::int64_t minute = 60;
constexpr std::int64_t hour = 3600;
constexpr std::int64_t day = 86400;
constexpr std::int64_t month = 30 * day;
constexpr std::int64_t year = 365 * day;

}  // namespace

RelativeTime RelativeTime::between(std::int64_t start, std::int64_t end) {
    // Unix times in seconds are far from the limits, but a wild value must not
    // overflow: saturate the span instead.
    std::int64_t span = 0;
    if (__builtin_sub_overflow(end, start, &span)) {
        span = end < start ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
    }
    if (span < minute) {
        return justNow();
    }
    if (span < hour) {
        return minutes(span / minute);
    }
    if (span < day) {
        return hours(span / hour);
    }
    if (span < 2 * day) {
        return yesterday();
    }
    if (span < month) {
        return days(span / day);
    }
    if (span < year) {
        return months(span / month);
    }
    return years(span / year);
}

}  // namespace tarv::core
