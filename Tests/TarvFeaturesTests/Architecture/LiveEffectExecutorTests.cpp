#include "TarvFeatures/Architecture/LiveEffectExecutor.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "Support/MainQueuePump.hpp"
#include "TarvCore/Concurrency/MainQueue.hpp"

namespace tarv::features {
namespace {

using namespace std::chrono_literals;

// Jobs handed straight to a live executor, each counting its end when the
// main queue runs it.
struct Fixture {
    std::shared_ptr<core::MainQueue> queue;
    std::shared_ptr<LiveEffectExecutor> executor;
    int ended = 0;

    explicit Fixture(LiveEffectExecutor::Limits limits = LiveEffectExecutor::Limits(), core::MainQueue::Now now = {})
        : queue(std::make_shared<core::MainQueue>(std::move(now))),
          executor(std::make_shared<LiveEffectExecutor>(queue, limits)) {}

    std::stop_source start(std::function<void()> body, std::optional<std::string> lane = std::nullopt,
                           std::chrono::milliseconds delay = 0ms) {
        std::stop_source stop;
        executor->start(EffectExecutor::Job{stop, [body = std::move(body)](std::stop_token) { body(); },
                                            [this] { ++ended; }, std::move(lane), delay});
        return stop;
    }

    bool pumpUntil(const std::function<bool()>& done) { return testing::pumpMainQueue(*queue, done, 20s); }
};

// Opens once; every waiter goes on.
struct Gate {
    std::promise<void> opened;
    std::shared_future<void> future = opened.get_future().share();
    void open() { opened.set_value(); }
    void wait() const { future.wait(); }
};

TEST(LiveEffectExecutorTest, JobsOfALaneRunOneAtATimeInTheOrderStarted) {
    Fixture f;
    std::mutex mutex;
    std::vector<int> order;
    std::atomic<int> inside{0};
    std::atomic<bool> overlapped{false};
    for (int i = 0; i < 30; ++i) {
        f.start([&, i] {
            if (inside.fetch_add(1) != 0) overlapped = true;
            std::this_thread::yield();
            {
                std::lock_guard lock(mutex);
                order.push_back(i);
            }
            inside.fetch_sub(1);
        }, "writes /r");
    }
    ASSERT_TRUE(f.pumpUntil([&] { return f.ended == 30; }));
    std::vector<int> expected(30);
    for (int i = 0; i < 30; ++i) expected[static_cast<std::size_t>(i)] = i;
    EXPECT_EQ(order, expected);
    EXPECT_FALSE(overlapped);
}

TEST(LiveEffectExecutorTest, ALaterJobOfALaneWaitsWhileOthersRunAndAStoppedOneNeverStarts) {
    Fixture f;
    Gate gate;
    std::promise<void> firstStarted;
    std::atomic<bool> secondRan{false};
    std::atomic<bool> stoppedRan{false};
    std::atomic<bool> otherRan{false};
    f.start([&] {
        firstStarted.set_value();
        gate.wait();
    }, "writes /r");
    std::stop_source stopped = f.start([&] { stoppedRan = true; }, "writes /r");
    f.start([&] { secondRan = true; }, "writes /r");
    ASSERT_EQ(firstStarted.get_future().wait_for(20s), std::future_status::ready);

    // A job outside the lane runs to its end meanwhile; the lane's do not.
    f.start([&] { otherRan = true; });
    ASSERT_TRUE(f.pumpUntil([&] { return f.ended == 1 && f.executor->runningCount() == 3; }));
    EXPECT_TRUE(otherRan);
    EXPECT_FALSE(secondRan);

    stopped.request_stop();
    gate.open();
    ASSERT_TRUE(f.pumpUntil([&] { return f.ended == 4 && f.executor->runningCount() == 0; }));
    EXPECT_TRUE(secondRan);
    EXPECT_FALSE(stoppedRan) << "a job stopped before it started ran";
}

TEST(LiveEffectExecutorTest, WorkersAreReusedAndABlockedPoolStillRunsAJobThatWaitedItsPatience) {
    Fixture f(LiveEffectExecutor::Limits{2, 20ms});
    for (int i = 0; i < 40; ++i) f.start([] {});
    ASSERT_TRUE(f.pumpUntil([&] { return f.ended == 40; }));
    EXPECT_LE(f.executor->workerCount(), 2u);

    // Both workers block (as a stream or a prompt would); a third job still
    // gets a thread of its own once it has waited.
    Gate gate;
    std::atomic<int> blocked{0};
    f.start([&] { ++blocked; gate.wait(); });
    f.start([&] { ++blocked; gate.wait(); });
    std::atomic<bool> third{false};
    f.start([&] { third = true; });
    ASSERT_TRUE(f.pumpUntil([&] { return third.load(); }));
    EXPECT_EQ(blocked.load(), 2);

    // Once nothing waits, the extra thread ends.
    gate.open();
    ASSERT_TRUE(f.pumpUntil([&] { return f.ended == 43 && f.executor->workerCount() <= 2; }));
}

TEST(LiveEffectExecutorTest, ATimerStartsFromTheMainQueueOnceDueAndNeverWhenStoppedBefore) {
    auto now = std::make_shared<std::atomic<std::int64_t>>(0);
    Fixture f(LiveEffectExecutor::Limits(), [now] {
        return core::MainQueue::Clock::time_point(std::chrono::milliseconds(now->load()));
    });
    std::atomic<int> fired{0};
    f.start([&] { ++fired; }, std::nullopt, 4000ms);
    std::stop_source replaced = f.start([&] { fired += 10; }, std::nullopt, 4000ms);
    EXPECT_EQ(f.queue->timerTimeout(), 4000);
    EXPECT_EQ(f.executor->runningCount(), 0u) << "a timer holds no worker while it waits";
    EXPECT_EQ(f.executor->workerCount(), 0u);

    *now = 3999;
    EXPECT_EQ(f.queue->runDueTimers(), 0u);
    replaced.request_stop();
    *now = 4000;
    ASSERT_TRUE(f.pumpUntil([&] { return f.ended == 2; }));
    EXPECT_EQ(fired.load(), 1);
    EXPECT_EQ(f.queue->timerTimeout(), -1);
}

}  // namespace
}  // namespace tarv::features
