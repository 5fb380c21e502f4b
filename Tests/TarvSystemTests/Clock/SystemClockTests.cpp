#include "TarvSystem/Clock/SystemClock.hpp"

#include "TarvCore/Concurrency/CancellationError.hpp"

#include <gtest/gtest.h>

#include <thread>

namespace tarv::system {
namespace {

using namespace std::chrono_literals;
using Steady = std::chrono::steady_clock;

TEST(SystemClock, NowIsTheWallClock) {
    const auto before = std::chrono::system_clock::now();
    const auto now = SystemClock().now();
    EXPECT_LE(before, now);
    EXPECT_LE(now, std::chrono::system_clock::now());
}

TEST(SystemClock, SleepWaitsAtLeastTheDuration) {
    const auto start = Steady::now();
    SystemClock().sleep(120ms, std::stop_token());
    EXPECT_GE(Steady::now() - start, 120ms);
    SystemClock().sleep(0ms, std::stop_token());
}

TEST(SystemClock, ACancelledSleepEndsAtOnceWithTheCancellationError) {
    std::stop_source stopped;
    stopped.request_stop();
    const auto start = Steady::now();
    EXPECT_THROW(SystemClock().sleep(30s, stopped.get_token()), core::CancellationError);

    std::stop_source later;
    std::thread canceller([&] {
        std::this_thread::sleep_for(50ms);
        later.request_stop();
    });
    EXPECT_THROW(SystemClock().sleep(30s, later.get_token()), core::CancellationError);
    canceller.join();
    EXPECT_LT(Steady::now() - start, 10s);
}

}  // namespace
}  // namespace tarv::system
