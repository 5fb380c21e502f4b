#include <gtest/gtest.h>

#include <stdexcept>
#include <stop_token>
#include <thread>

#include "Support/RepoClientSync.hpp"
#include "TarvEngine/Service/GitWriteQueue.hpp"

namespace tarv::engine {
namespace {

using tarv::testing::eventually;
using tarv::testing::EventLog;
using tarv::testing::Gate;

// A write that records its start and end and, when given a gate, stays
// inside the queue until the test opens it.
auto recordedWrite(GitWriteQueue& queue, EventLog& log, const std::string& key, const std::string& name,
                   Gate* gate = nullptr, bool fails = false) {
    return [&queue, &log, key, name, gate, fails] {
        try {
            queue.serialized(key, [&] {
                log.add(name + " start");
                if (gate) gate->wait();
                log.add(name + " end");
                if (fails) throw std::runtime_error(name);
            });
        } catch (const std::runtime_error& error) {
            // Logged after the turn was given away, so only its presence counts.
            if (error.what() != name) log.add(name + " threw something else");
        }
    };
}

TEST(GitWriteQueue, WritesToOneKeyRunOneAfterAnotherInArrivalOrderAlsoAfterAFailure) {
    GitWriteQueue queue;
    EventLog log;
    Gate holdA;
    std::jthread a(recordedWrite(queue, log, "/repo", "A", &holdA, /*fails=*/true));
    ASSERT_TRUE(eventually([&] { return log.contains("A start"); }));
    std::jthread b(recordedWrite(queue, log, "/repo", "B"));
    ASSERT_TRUE(eventually([&] { return queue.waiting("/repo") == 1; }));
    std::jthread c(recordedWrite(queue, log, "/repo", "C"));
    ASSERT_TRUE(eventually([&] { return queue.waiting("/repo") == 2; }));
    EXPECT_EQ(log.events(), (std::vector<std::string>{"A start"}));

    holdA.open();
    a.join();
    b.join();
    c.join();
    EXPECT_EQ(log.events(),
              (std::vector<std::string>{"A start", "A end", "B start", "B end", "C start", "C end"}));
    EXPECT_FALSE(queue.knows("/repo"));
}

TEST(GitWriteQueue, OtherKeysAndKeysSpelledDifferentlyRunMeanwhile) {
    for (const std::string other : {"/other", "/repo/"}) {
        GitWriteQueue queue;
        EventLog log;
        Gate hold;
        std::jthread a(recordedWrite(queue, log, "/repo", "A", &hold));
        ASSERT_TRUE(eventually([&] { return log.contains("A start"); }));
        recordedWrite(queue, log, other, "B")();  // would hang if it waited for A
        EXPECT_EQ(log.events(), (std::vector<std::string>{"A start", "B start", "B end"})) << other;
        EXPECT_TRUE(queue.isBusy("/repo"));
        EXPECT_FALSE(queue.knows(other));
        hold.open();
    }
}

TEST(GitWriteQueue, ACancelledWaiterKeepsItsPlaceAndRunsWithItsStopRequested) {
    GitWriteQueue queue;
    EventLog log;
    Gate hold;
    std::jthread a(recordedWrite(queue, log, "/repo", "A", &hold));
    ASSERT_TRUE(eventually([&] { return log.contains("A start"); }));

    std::stop_source cancelB;
    std::jthread b([&, token = cancelB.get_token()] {
        queue.serialized("/repo", [&] { log.add(token.stop_requested() ? "B runs cancelled" : "B runs"); });
    });
    ASSERT_TRUE(eventually([&] { return queue.waiting("/repo") == 1; }));
    std::jthread c(recordedWrite(queue, log, "/repo", "C"));
    ASSERT_TRUE(eventually([&] { return queue.waiting("/repo") == 2; }));

    cancelB.request_stop();
    EXPECT_EQ(queue.waiting("/repo"), 2u);
    hold.open();
    a.join();
    b.join();
    c.join();
    EXPECT_EQ(log.events(), (std::vector<std::string>{"A start", "A end", "B runs cancelled", "C start", "C end"}));
}

TEST(GitWriteQueue, PassesTheBodysResultAndErrorThroughUnchanged) {
    GitWriteQueue queue;
    EXPECT_EQ(queue.serialized("/repo", [] { return std::string("value"); }), "value");
    EXPECT_THROW(queue.serialized("/repo", []() -> int { throw std::logic_error("x"); }), std::logic_error);
    EXPECT_FALSE(queue.knows("/repo"));
    // A body that moves a result out works with move-only types too.
    auto moved = queue.serialized("/repo", [] { return std::make_unique<int>(7); });
    EXPECT_EQ(*moved, 7);
}

}  // namespace
}  // namespace tarv::engine
