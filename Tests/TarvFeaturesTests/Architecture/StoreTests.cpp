#include "TarvFeatures/Architecture/Store.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <future>
#include <stdexcept>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Support/MainQueuePump.hpp"
#include "Support/ManualExecutor.hpp"
#include "TarvCore/Concurrency/MainQueue.hpp"
#include "TarvFeatures/Architecture/LiveEffectExecutor.hpp"

namespace tarv::features {
namespace {

using testing::ManualExecutor;

struct LogState {
    std::vector<std::string> log;
    std::vector<std::thread::id> reducedOn;
};

// A reducer whose effects the test supplies: every action is logged, then
// `effects` decides what work follows.
struct ScriptedReducer {
    using State = LogState;
    using Action = std::string;
    std::function<Effect<std::string>(const std::string&)> effects;

    Effect<std::string> reduce(State& state, Action action) const {
        state.log.push_back(action);
        state.reducedOn.push_back(std::this_thread::get_id());
        return effects ? effects(action) : Effect<std::string>::none();
    }
};

using TestEffect = Effect<std::string>;

TestEffect sendsOnce(std::optional<std::string> id, std::string message) {
    return TestEffect::run(std::move(id), [message](TestEffect::Send send, std::stop_token) { send(message); });
}

struct ManualStore {
    std::shared_ptr<ManualExecutor> executor = std::make_shared<ManualExecutor>();
    Store<ScriptedReducer> store;
    explicit ManualStore(std::function<TestEffect(const std::string&)> effects)
        : store(LogState{}, ScriptedReducer{std::move(effects)}, executor) {}
};

TEST(EffectTest, MergeMapAndEmptiness) {
    EXPECT_TRUE(TestEffect::merge(std::vector<TestEffect>{}).isEmpty());
    EXPECT_TRUE(TestEffect::none().isEmpty());

    auto x = TestEffect::merge(TestEffect::cancel("a"), sendsOnce("b", "m"), TestEffect::cancel("c"));
    auto merged = TestEffect::merge(TestEffect::none(), x);
    ASSERT_EQ(merged.jobs.size(), 1u);
    EXPECT_EQ(merged.jobs[0].id, std::optional<std::string>("b"));
    EXPECT_EQ(merged.cancelledIDs, (std::vector<std::string>{"a", "c"}));

    auto onlyCancels = TestEffect::cancel("x").map<int>([](std::string s) { return static_cast<int>(s.size()); });
    EXPECT_TRUE(onlyCancels.jobs.empty());
    EXPECT_EQ(onlyCancels.cancelledIDs, std::vector<std::string>{"x"});

    auto mapped = sendsOnce(std::nullopt, "four").map<int>([](std::string s) { return static_cast<int>(s.size()); });
    ASSERT_EQ(mapped.jobs.size(), 1u);
    EXPECT_FALSE(mapped.jobs[0].id.has_value());
    std::vector<int> sent;
    mapped.jobs[0].work([&](int v) { sent.push_back(v); }, std::stop_token{});
    EXPECT_EQ(sent, std::vector<int>{4});
}

TEST(StoreTest, OnChangeOncePerSendAndActionsComeBackLater) {
    ManualStore s([](const std::string& a) { return a == "go" ? sendsOnce(std::nullopt, "done") : TestEffect::none(); });
    int changes = 0;
    s.store.setOnChange([&] { ++changes; });
    s.store.send("tick");
    s.store.send("tick");
    EXPECT_EQ(changes, 2);

    s.store.send("go");
    EXPECT_EQ(s.store.activeEffectCount(), 1u);
    s.executor->runJob(0);
    // The job's action is not reduced inside the job or the send that started it.
    EXPECT_EQ(s.store.state().log.back(), "go");
    s.executor->drain();
    EXPECT_EQ(s.store.state().log, (std::vector<std::string>{"tick", "tick", "go", "done"}));
    EXPECT_EQ(s.store.activeEffectCount(), 0u);
    EXPECT_EQ(changes, 4);
}

TEST(StoreTest, JobWithSameIdReplacesAndCancelsTheRunningOne) {
    ManualStore s([](const std::string& a) { return (a == "load1" || a == "load2") ? sendsOnce("status", a + "-result") : TestEffect::none(); });
    s.store.send("load1");
    s.store.send("load2");
    ASSERT_EQ(s.executor->jobCount(), 2u);
    EXPECT_TRUE(s.executor->isStopRequested(0));
    EXPECT_FALSE(s.executor->isStopRequested(1));
    EXPECT_EQ(s.store.activeEffectCount(), 1u);

    // The replaced job finishes late: its action is dropped, and it does
    // not remove its successor's entry.
    s.executor->runJob(0);
    s.executor->drain();
    EXPECT_EQ(s.store.state().log.back(), "load2");
    EXPECT_EQ(s.store.activeEffectCount(), 1u);

    s.executor->runJob(1);
    s.executor->drain();
    EXPECT_EQ(s.store.activeEffectCount(), 0u);
}

TEST(StoreTest, CancelThenStartUnderTheSameIdInOneEffect) {
    ManualStore s([](const std::string& a) {
        if (a == "first") return sendsOnce("diff", "x");
        if (a == "again") return TestEffect::merge(TestEffect::cancel("diff"), sendsOnce("diff", "y"));
        return TestEffect::none();
    });
    s.store.send("first");
    s.store.send("again");
    EXPECT_TRUE(s.executor->isStopRequested(0));
    EXPECT_FALSE(s.executor->isStopRequested(1));
    EXPECT_EQ(s.store.activeEffectCount(), 1u);
    s.executor->runJob(1);
    s.executor->drain();
    EXPECT_EQ(s.store.activeEffectCount(), 0u);
}

TEST(StoreTest, TwoJobsWithOneIdInOneEffectAndTwoAnonymousJobs) {
    ManualStore s([](const std::string& a) {
        if (a == "same") return TestEffect::merge(sendsOnce("k", "a"), sendsOnce("k", "b"));
        if (a == "anon") return TestEffect::merge(sendsOnce(std::nullopt, "c"), sendsOnce(std::nullopt, "d"));
        return TestEffect::none();
    });
    s.store.send("same");
    EXPECT_TRUE(s.executor->isStopRequested(0));
    EXPECT_EQ(s.store.activeEffectCount(), 1u);

    s.store.send("anon");
    EXPECT_EQ(s.store.activeEffectCount(), 3u);
    EXPECT_FALSE(s.executor->isStopRequested(2));
    EXPECT_FALSE(s.executor->isStopRequested(3));
    s.executor->runAllJobs();
    s.executor->drain();
    EXPECT_EQ(s.store.activeEffectCount(), 0u);
    // "a" was replaced by "b" in the same effect: what it sends is dropped.
    EXPECT_EQ(s.store.state().log, (std::vector<std::string>{"same", "anon", "b", "c", "d"}));
}

TEST(StoreTest, UnknownCancelIdIsIgnored) {
    ManualStore s([](const std::string&) { return TestEffect::cancel("nothing"); });
    s.store.send("x");
    EXPECT_EQ(s.store.activeEffectCount(), 0u);
}

TEST(StoreTest, CancelEffectsEmptiesTableAndNothingACancelledJobSendsIsReduced) {
    ManualStore s([](const std::string& a) {
        if (a == "start") {
            return TestEffect::run("long", [](TestEffect::Send send, std::stop_token stop) {
                send(stop.stop_requested() ? "saw-cancel" : "not-cancelled");
            });
        }
        return TestEffect::none();
    });
    s.store.send("start");
    s.store.cancelEffects();
    EXPECT_EQ(s.store.activeEffectCount(), 0u);
    s.executor->runJob(0);
    s.executor->drain();
    EXPECT_EQ(s.store.state().log, std::vector<std::string>{"start"});
    EXPECT_EQ(s.store.activeEffectCount(), 0u);
}

// A job of lane "L" sending `message`; a write when `write`.
TestEffect inLane(std::string id, std::string message, bool write) {
    TestEffect::Work work = [message](TestEffect::Send send, std::stop_token) { send(message); };
    if (write) return TestEffect::write(std::move(id), "L", std::move(work));
    TestEffect effect;
    effect.jobs.push_back(TestEffect::Job{std::move(id), std::move(work), "L", false, std::chrono::milliseconds(0)});
    return effect;
}

TEST(StoreTest, ALaneRunsItsJobsInOrderOneAtATimeAndAReadStoppedWhileItWaitsNeverStarts) {
    ManualStore s([](const std::string& a) {
        if (a == "w1" || a == "w2") return inLane(a, a + "-done", true);
        if (a == "r1" || a == "r2") return inLane("read", a + "-done", false);
        return TestEffect::none();
    });
    for (const char* action : {"w1", "w2", "r1", "r2"}) s.store.send(action);
    ASSERT_EQ(s.executor->jobCount(), 4u);
    EXPECT_FALSE(s.executor->waitsForLane(0));
    EXPECT_TRUE(s.executor->waitsForLane(1));
    EXPECT_THROW(s.executor->runJob(1), std::logic_error);
    EXPECT_TRUE(s.executor->isStopRequested(2)) << "r2 replaced r1";

    s.executor->runJob(0);
    s.executor->runJob(1);
    EXPECT_TRUE(s.executor->job(2).skipped) << "r1 was stopped before its turn: it never starts";
    s.executor->runJob(3);
    s.executor->drain();
    EXPECT_EQ(s.store.state().log,
              (std::vector<std::string>{"w1", "w2", "r1", "r2", "w1-done", "w2-done", "r2-done"}));
    EXPECT_EQ(s.store.activeEffectCount(), 0u);
}

TEST(StoreTest, AWriteIsNeverStoppedAndReportsAfterItWasReplacedOrCancelled) {
    ManualStore s([](const std::string& a) { return a == "cancel" ? TestEffect::cancel("branch") : inLane("branch", a + "-done", true); });
    s.store.send("switch a");
    s.store.send("switch b");
    s.store.send("cancel");
    s.store.cancelEffects();
    EXPECT_FALSE(s.executor->isStopRequested(0));
    EXPECT_FALSE(s.executor->isStopRequested(1));
    EXPECT_EQ(s.store.activeEffectCount(), 0u);
    s.executor->runAllJobs();
    s.executor->drain();
    EXPECT_EQ(s.store.state().log,
              (std::vector<std::string>{"switch a", "switch b", "cancel", "switch a-done", "switch b-done"}));
}

TEST(StoreTest, AnActionOfAJobStoppedWhileTheActionWaitsInTheQueueIsDropped) {
    ManualStore s([](const std::string& a) { return a.starts_with("open") ? sendsOnce("remote", a + "-remote") : TestEffect::none(); });
    s.store.send("open a");
    s.executor->runJob(0);  // its action is queued, not yet reduced
    s.store.send("open b");
    s.executor->runJob(1);
    s.executor->drain();
    EXPECT_EQ(s.store.state().log, (std::vector<std::string>{"open a", "open b", "open b-remote"}));
}

TEST(StoreTest, ATimerStartsWhenItsTimeHasComeAndNeverOnceReplaced) {
    ManualStore s([](const std::string& a) {
        if (a.starts_with("dismiss")) return TestEffect::none();
        return TestEffect::after("toast", std::chrono::seconds(4),
                                 [a](TestEffect::Send send, std::stop_token) { send("dismiss " + a); });
    });
    s.store.send("first");
    s.store.send("second");
    ASSERT_EQ(s.executor->jobCount(), 2u);
    EXPECT_EQ(s.executor->job(1).delay, std::chrono::seconds(4));
    EXPECT_FALSE(s.executor->job(1).started);
    s.executor->runAllJobs();
    EXPECT_TRUE(s.executor->job(0).skipped);
    s.executor->drain();
    EXPECT_EQ(s.store.state().log, (std::vector<std::string>{"first", "second", "dismiss second"}));
}

TEST(StoreTest, ActionsAfterTheStoreIsGoneAreDropped) {
    auto executor = std::make_shared<ManualExecutor>();
    {
        Store<ScriptedReducer> store(LogState{}, ScriptedReducer{[](const std::string&) {
                                         return sendsOnce(std::nullopt, "late");
                                     }},
                                     executor);
        store.send("go");
    }
    executor->runJob(0);
    EXPECT_EQ(executor->drain(), 2u);  // the action and the end: both do nothing
}

TEST(StoreTest, ThrowingJobEndsQuietly) {
    ManualStore s([](const std::string& a) {
        return a == "go" ? TestEffect::run(std::nullopt, [](TestEffect::Send, std::stop_token) { throw 42; })
                         : TestEffect::none();
    });
    s.store.send("go");
    s.executor->runJob(0);
    s.executor->drain();
    EXPECT_EQ(s.store.activeEffectCount(), 0u);
}

// Pumps the main queue on this thread until `done` holds or time runs out.
bool pumpUntil(core::MainQueue& queue, const std::function<bool()>& done,
               std::chrono::seconds limit = std::chrono::seconds(20)) {
    return testing::pumpMainQueue(queue, done, limit);
}

TEST(LiveExecutorStoreTest, ActionsArriveInOrderOnTheMainThreadAndNoneOfACancelledJob) {
    auto queue = std::make_shared<core::MainQueue>();
    auto executor = std::make_shared<LiveEffectExecutor>(queue);
    std::promise<void> started;
    auto startedFuture = started.get_future();
    std::atomic<bool> sawStop{false};

    Store<ScriptedReducer> store(
        LogState{},
        ScriptedReducer{[&](const std::string& a) {
            if (a == "count") {
                return TestEffect::run("count", [](TestEffect::Send send, std::stop_token) {
                    for (int i = 0; i < 50; ++i) send("n-" + std::to_string(i));
                });
            }
            if (a != "start") return TestEffect::none();
            return TestEffect::run("job", [&](TestEffect::Send send, std::stop_token stop) {
                send("first");
                started.set_value();
                while (!stop.stop_requested()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
                sawStop = true;
                for (int i = 0; i < 50; ++i) send("late-" + std::to_string(i));
            });
        }},
        executor);

    const auto mainThread = std::this_thread::get_id();
    store.send("start");
    ASSERT_EQ(startedFuture.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    store.send("cancel-now");
    store.cancelEffects();
    EXPECT_EQ(store.activeEffectCount(), 0u);
    store.send("count");

    ASSERT_TRUE(pumpUntil(*queue, [&] { return store.state().log.size() == 53 && executor->runningCount() == 0; }));
    queue->drain();
    EXPECT_TRUE(sawStop);
    std::vector<std::string> expected{"start", "cancel-now", "count"};
    // "first" was posted before the cancel but reduced after it: dropped too.
    for (int i = 0; i < 50; ++i) expected.push_back("n-" + std::to_string(i));
    EXPECT_EQ(store.state().log, expected);
    for (auto id : store.state().reducedOn) EXPECT_EQ(id, mainThread);
    EXPECT_EQ(store.activeEffectCount(), 0u);
}

TEST(LiveExecutorStoreTest, TimersHoldNoWorkerWhileTheyWaitAndReplacedOnesNeverRun) {
    auto now = std::make_shared<std::atomic<std::int64_t>>(0);
    auto queue = std::make_shared<core::MainQueue>(
        [now] { return core::MainQueue::Clock::time_point(std::chrono::milliseconds(now->load())); });
    auto executor = std::make_shared<LiveEffectExecutor>(queue);
    std::atomic<int> bodies{0};
    Store<ScriptedReducer> store(LogState{}, ScriptedReducer{[&](const std::string& a) {
                                     if (a.starts_with("dismiss")) return TestEffect::none();
                                     return TestEffect::after("toast", std::chrono::seconds(4),
                                                              [&, a](TestEffect::Send send, std::stop_token) {
                                                                  ++bodies;
                                                                  send("dismiss " + a);
                                                              });
                                 }},
                                 executor);
    for (int i = 0; i < 100; ++i) store.send("show " + std::to_string(i));
    EXPECT_EQ(queue->timerCount(), 100u);
    EXPECT_EQ(executor->workerCount(), 0u) << "a waiting timer holds a thread";
    EXPECT_EQ(executor->runningCount(), 0u);

    *now = 4000;
    ASSERT_TRUE(pumpUntil(*queue, [&] { return store.state().log.size() == 101 && store.activeEffectCount() == 0; }));
    EXPECT_EQ(store.state().log.back(), "dismiss show 99");
    EXPECT_EQ(bodies.load(), 1) << "a replaced timer ran";
    EXPECT_LE(executor->workerCount(), 1u);
    EXPECT_EQ(queue->timerCount(), 0u);
}

TEST(LiveExecutorStoreTest, JobThatOutlivesTheStoreIsHarmless) {
    auto queue = std::make_shared<core::MainQueue>();
    auto executor = std::make_shared<LiveEffectExecutor>(queue);
    std::promise<void> release;
    auto gate = release.get_future().share();
    {
        Store<ScriptedReducer> store(LogState{}, ScriptedReducer{[gate](const std::string&) {
                                         return TestEffect::run(std::nullopt, [gate](TestEffect::Send send, std::stop_token) {
                                             gate.wait();
                                             send("after");
                                         });
                                     }},
                                     executor);
        store.send("go");
    }
    release.set_value();
    ASSERT_TRUE(executor->waitForIdle(std::chrono::seconds(20)));
    EXPECT_EQ(queue->drain(), 2u);
}

}  // namespace
}  // namespace tarv::features
