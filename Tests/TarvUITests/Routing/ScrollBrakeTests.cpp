#include <gtest/gtest.h>

#include "TarvUI/Routing/ScrollBrake.hpp"

namespace tarv::ui {
namespace {

using namespace std::chrono_literals;
using Direction = ScrollBrake::Direction;

// Feeds ticks to one brake on a hand-moved clock.
struct Wheel {
    ScrollBrake brake;
    ScrollBrake::Clock::time_point now{1h};

    bool tick(Direction direction, ScrollBrake::Clock::duration after) {
        now += after;
        return brake.accept(direction, now);
    }
    void key(ScrollBrake::Clock::duration after) {
        now += after;
        brake.noteOtherInput(now);
    }
};

TEST(ScrollBrake, OneGestureIsCappedUntilAPause) {
    Wheel wheel;
    for (int i = 1; i <= 50; ++i) EXPECT_TRUE(wheel.tick(Direction::down, 10ms)) << "tick " << i;
    for (int i = 51; i <= 80; ++i) EXPECT_FALSE(wheel.tick(Direction::down, 10ms)) << "tick " << i;
    EXPECT_FALSE(wheel.tick(Direction::down, 249ms)) << "a gap under the release gap keeps the stream";
    EXPECT_TRUE(wheel.tick(Direction::down, 250ms)) << "a pause starts a new gesture";
    for (int i = 2; i <= 50; ++i) EXPECT_TRUE(wheel.tick(Direction::down, 10ms));
    EXPECT_FALSE(wheel.tick(Direction::down, 10ms));
}

TEST(ScrollBrake, AReversalBrakesTheOldDirection) {
    Wheel wheel;
    for (int i = 0; i < 5; ++i) wheel.tick(Direction::down, 10ms);
    EXPECT_TRUE(wheel.tick(Direction::up, 300ms));
    EXPECT_FALSE(wheel.tick(Direction::down, 100ms));
    for (int i = 0; i < 20; ++i) EXPECT_FALSE(wheel.tick(Direction::down, 200ms)) << "inertia " << i;
    EXPECT_TRUE(wheel.tick(Direction::up, 10ms)) << "the other direction is judged normally";
    EXPECT_FALSE(wheel.tick(Direction::down, 100ms)) << "and does not release the brake";
    EXPECT_TRUE(wheel.tick(Direction::down, 250ms)) << "a gap of the release gap lets go";
}

TEST(ScrollBrake, ABrakeHoldsAtMostEightSeconds) {
    Wheel wheel;
    wheel.tick(Direction::down, 0ms);
    wheel.tick(Direction::up, 10ms);  // brakes down from here
    for (int i = 0; i < 39; ++i) EXPECT_FALSE(wheel.tick(Direction::down, 200ms));  // 7.8 s
    EXPECT_FALSE(wheel.tick(Direction::down, 190ms));                                // 7.99 s
    EXPECT_TRUE(wheel.tick(Direction::down, 10ms)) << "exactly 8 s after engaging";
}

TEST(ScrollBrake, OtherInputBrakesAWheelStillMoving) {
    struct Row {
        std::chrono::milliseconds keyAfterLastTick;
        bool nextTickAccepted;
    };
    for (const Row row : {Row{500ms, false}, Row{999ms, false}, Row{1000ms, true}, Row{3000ms, true}}) {
        Wheel wheel;
        wheel.tick(Direction::down, 0ms);
        wheel.key(row.keyAfterLastTick);
        EXPECT_EQ(wheel.tick(Direction::down, 100ms), row.nextTickAccepted) << row.keyAfterLastTick.count();
    }
    Wheel untouched;
    untouched.key(0ms);
    EXPECT_TRUE(untouched.tick(Direction::down, 10ms)) << "no wheel before the key: nothing to brake";
}

}  // namespace
}  // namespace tarv::ui
