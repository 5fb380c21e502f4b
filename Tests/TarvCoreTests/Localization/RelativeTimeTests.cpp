#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "TarvCore/Localization/RelativeTime.hpp"

namespace tarv::core {
namespace {

struct Span {
    std::int64_t start;
    std::int64_t end;
    RelativeTime expected;
};

TEST(RelativeTime, BetweenClassifiesBySpanWithTruncation) {
    const std::vector<Span> spans = {
        {100, 159, RelativeTime::justNow()},
        {100, 160, RelativeTime::minutes(1)},
        {0, 0, RelativeTime::justNow()},
        {0, 3599, RelativeTime::minutes(59)},
        {0, 3600, RelativeTime::hours(1)},
        {0, 7199, RelativeTime::hours(1)},
        {0, 86399, RelativeTime::hours(23)},
        {0, 86400, RelativeTime::yesterday()},
        {0, 172799, RelativeTime::yesterday()},
        {0, 172800, RelativeTime::days(2)},
        {0, 2591999, RelativeTime::days(29)},
        {0, 2592000, RelativeTime::months(1)},
        {0, 31535999, RelativeTime::months(12)},
        {0, 31536000, RelativeTime::years(1)},
        {0, 31536000 * 3 - 1, RelativeTime::years(2)},
        // A time in the future reads as just now.
        {500, 100, RelativeTime::justNow()},
        {1'700'000'000, 1'700'000'090, RelativeTime::minutes(1)},
    };
    for (const auto& span : spans) {
        SCOPED_TRACE(testing::Message() << span.start << " -> " << span.end);
        EXPECT_EQ(RelativeTime::between(span.start, span.end), span.expected);
    }
}

TEST(RelativeTime, ExtremeTimesDoNotOverflow) {
    constexpr auto lowest = std::numeric_limits<std::int64_t>::min();
    constexpr auto highest = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(RelativeTime::between(highest, lowest), RelativeTime::justNow());
    EXPECT_EQ(RelativeTime::between(lowest, highest), RelativeTime::years(highest / 31536000));
}

TEST(RelativeTime, EqualityComparesCaseAndCount) {
    EXPECT_EQ(RelativeTime::days(3), RelativeTime::days(3));
    EXPECT_NE(RelativeTime::days(3), RelativeTime::days(4));
    EXPECT_NE(RelativeTime::days(3), RelativeTime::months(3));
}

}  // namespace
}  // namespace tarv::core
