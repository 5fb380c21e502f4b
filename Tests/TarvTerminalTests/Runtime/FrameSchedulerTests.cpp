#include <gtest/gtest.h>

#include <vector>

#include "TarvTerminal/Runtime/FrameScheduler.hpp"

namespace tarv::terminal {
namespace {

using namespace std::chrono_literals;
using Clock = FrameScheduler::Clock;

struct Fixture {
    Clock::time_point now{std::chrono::seconds(1000)};
    std::vector<Clock::time_point> frames;
    FrameScheduler scheduler{[this] { frames.push_back(now); }, 8ms, [this] { return now; }};
};

TEST(FrameScheduler, FirstRequestIsDueAtOnce) {
    Fixture f;
    EXPECT_EQ(f.scheduler.pollTimeout(), -1);
    f.scheduler.request();
    EXPECT_FALSE(f.frames.size());
    EXPECT_EQ(f.scheduler.pollTimeout(), 0);
    EXPECT_TRUE(f.scheduler.runDue());
    EXPECT_EQ(f.frames.size(), 1u);
    EXPECT_FALSE(f.scheduler.runDue());
}

TEST(FrameScheduler, ABurstAfterAFrameGivesOneFrameAfterTheInterval) {
    Fixture f;
    f.scheduler.request();
    f.scheduler.runDue();
    const Clock::time_point first = f.now;
    for (int i = 0; i < 100; ++i) {
        f.now += 10us;
        f.scheduler.request();
        f.scheduler.runDue();
    }
    EXPECT_EQ(f.frames.size(), 1u);
    EXPECT_EQ(f.scheduler.deadline(), first + 8ms);
    EXPECT_EQ(f.scheduler.pollTimeout(), 7);
    f.now = first + 8ms - 1us;
    EXPECT_FALSE(f.scheduler.runDue());
    f.now = first + 8ms;
    EXPECT_TRUE(f.scheduler.runDue());
    EXPECT_EQ(f.frames, (std::vector<Clock::time_point>{first, first + 8ms}));
    EXPECT_FALSE(f.scheduler.isPending());
}

TEST(FrameScheduler, LateRequestIsDrawnWithoutDelay) {
    Fixture f;
    f.scheduler.request();
    f.scheduler.runDue();
    f.now += 20ms;
    f.scheduler.request();
    EXPECT_EQ(f.scheduler.pollTimeout(), 0);
    EXPECT_TRUE(f.scheduler.runDue());
}

TEST(FrameScheduler, RequestFromInsideRenderGivesOneMoreFrameLater) {
    Clock::time_point now{std::chrono::seconds(5)};
    int depth = 0;
    int frames = 0;
    int maxDepth = 0;
    FrameScheduler* self = nullptr;
    FrameScheduler scheduler(
        [&] {
            ++frames;
            ++depth;
            maxDepth = std::max(maxDepth, depth);
            if (frames == 1) self->request();
            --depth;
        },
        8ms, [&] { return now; });
    self = &scheduler;
    scheduler.request();
    EXPECT_TRUE(scheduler.runDue());
    EXPECT_EQ(frames, 1);
    EXPECT_TRUE(scheduler.isPending());
    EXPECT_FALSE(scheduler.runDue());
    now += 8ms;
    EXPECT_TRUE(scheduler.runDue());
    EXPECT_EQ(frames, 2);
    EXPECT_EQ(maxDepth, 1);
    EXPECT_FALSE(scheduler.isPending());
}

TEST(FrameScheduler, FloodNeverExceedsOneFramePerInterval) {
    Fixture f;
    // A request every 100 microseconds for one second, the loop checking for
    // due frames as often.
    for (int i = 0; i < 10000; ++i) {
        f.scheduler.request();
        f.scheduler.runDue();
        f.now += 100us;
    }
    ASSERT_GE(f.frames.size(), 2u);
    for (std::size_t k = 1; k < f.frames.size(); ++k) EXPECT_GE(f.frames[k] - f.frames[k - 1], 8ms);
    EXPECT_GE(f.frames.size(), 120u);
    EXPECT_LE(f.frames.size(), 126u);
}

}  // namespace
}  // namespace tarv::terminal
