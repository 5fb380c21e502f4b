#include "TarvCore/Concurrency/Siblings.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

#include "TarvCore/Concurrency/CancellationError.hpp"

namespace tarv::core {
namespace {

void waitForStop(std::stop_token stop) {
    while (!stop.stop_requested()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    throw CancellationError{};
}

TEST(SiblingsTest, ResultsComeBackInArgumentOrder) {
    std::stop_source caller;
    auto [a, b, c] = runSiblings(
        caller.get_token(),
        [](std::stop_token) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            return 1;
        },
        [](std::stop_token) { return std::string("two"); }, [](std::stop_token) {});
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, "two");
    EXPECT_EQ(c, std::monostate{});
}

// Each sibling waits until the other has begun: siblings run one after
// another would never both begin (each gives up after 10 s).
TEST(SiblingsTest, SiblingsRunAtOnce) {
    std::atomic<int> begun{0};
    auto meet = [&](std::stop_token) {
        ++begun;
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (begun < 3 && std::chrono::steady_clock::now() < limit) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return begun == 3;
    };
    auto [a, b, c] = runSiblings(std::stop_token{}, meet, meet, meet);
    EXPECT_TRUE(a && b && c);
}

TEST(SiblingsTest, FirstFailureStopsTheOthersAndIsRethrown) {
    std::stop_source caller;
    std::atomic<bool> otherStopped{false};
    EXPECT_THROW(runSiblings(
                     caller.get_token(),
                     [&](std::stop_token stop) {
                         try {
                             waitForStop(stop);
                         } catch (const CancellationError&) {
                             otherStopped = true;
                             throw;
                         }
                     },
                     [](std::stop_token) -> int { throw std::runtime_error("boom"); }),
                 std::runtime_error);
    EXPECT_TRUE(otherStopped);
}

TEST(SiblingsTest, CallersCancellationReachesEverySibling) {
    std::stop_source caller;
    std::jthread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        caller.request_stop();
    });
    EXPECT_THROW(runSiblings(caller.get_token(), waitForStop, waitForStop), CancellationError);
}

}  // namespace
}  // namespace tarv::core
