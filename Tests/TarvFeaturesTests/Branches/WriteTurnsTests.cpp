// Turns of the repository writes: a write waits for the ones asked for
// before it, whichever thread starts first; a turn dropped unrun or a write
// that throws holds nobody up; patience bounds the wait.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "TarvFeatures/Branches/WriteTurns.hpp"

namespace tarv::features {
namespace {

using namespace std::chrono_literals;

struct Journal {
    std::mutex mutex;
    std::vector<std::string> entries;
    void add(const std::string& entry) {
        const std::lock_guard lock(mutex);
        entries.push_back(entry);
    }
};

TEST(WriteTurnsTest, ALaterWriteWhoseThreadStartsFirstStillRunsSecond) {
    auto turns = std::make_shared<WriteTurns>(30s);
    auto first = turns->take();
    auto second = turns->take();
    Journal journal;
    std::atomic<bool> waiting = false;
    std::thread later([&] {
        waiting = true;
        second->run([&] { journal.add("second"); });
    });
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!waiting && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    first->run([&] { journal.add("first"); });
    later.join();
    EXPECT_EQ(journal.entries, (std::vector<std::string>{"first", "second"}));
}

TEST(WriteTurnsTest, NothingEarlierHoldsUpAWrite) {
    struct Case {
        const char* name;
        void (*before)(std::shared_ptr<WriteTurns::Turn>&);
    };
    const Case cases[] = {
        {"the earlier turn was dropped unrun", [](std::shared_ptr<WriteTurns::Turn>& turn) { turn.reset(); }},
        {"the earlier write threw",
         [](std::shared_ptr<WriteTurns::Turn>& turn) {
             EXPECT_THROW(turn->run([] { throw std::runtime_error("git failed"); }), std::runtime_error);
         }},
        {"the earlier write ran", [](std::shared_ptr<WriteTurns::Turn>& turn) { turn->run([] {}); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto turns = std::make_shared<WriteTurns>(30s);
        auto earlier = turns->take();
        auto later = turns->take();
        c.before(earlier);
        const auto start = std::chrono::steady_clock::now();
        bool ran = false;
        later->run([&] { ran = true; });
        EXPECT_TRUE(ran);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 10s) << "it did not wait for its patience to run out";
    }
}

TEST(WriteTurnsTest, PatienceBoundsTheWaitForAnEarlierTurnThatNeverComes) {
    auto turns = std::make_shared<WriteTurns>(50ms);
    auto stuck = turns->take();
    auto later = turns->take();
    bool ran = false;
    later->run([&] { ran = true; });
    EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace tarv::features
