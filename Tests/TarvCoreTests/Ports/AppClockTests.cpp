#include "TarvCore/Ports/AppClock.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tarv::core {
namespace {

class FixedClock final : public AppClock {
public:
    explicit FixedClock(std::chrono::milliseconds sinceEpoch) : instant_(sinceEpoch) {}
    std::chrono::system_clock::time_point now() const override { return instant_; }
    void sleep(std::chrono::milliseconds, std::stop_token) const override {}

private:
    std::chrono::system_clock::time_point instant_;
};

TEST(AppClockTest, UnixTimeTruncatesTowardZero) {
    const std::vector<std::pair<std::int64_t, std::int64_t>> rows = {
        {0, 0}, {2000, 2}, {2900, 2}, {2999, 2}, {-2900, -2}, {-3000, -3}, {1'700'000'000'999, 1'700'000'000},
    };
    for (const auto& [millis, seconds] : rows) {
        EXPECT_EQ(FixedClock(std::chrono::milliseconds(millis)).unixTime(), seconds) << millis;
    }
}

}  // namespace
}  // namespace tarv::core
