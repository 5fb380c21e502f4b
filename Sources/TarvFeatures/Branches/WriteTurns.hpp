#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <set>

namespace tarv::features {

// Keeps the repository writes of branches, merges and history operations
// in the order the user asked for them. A request takes a turn while it is
// reduced (on the main thread, so turns follow the order of the requests);
// its job, on a thread of its own, waits until every earlier turn is over,
// then runs. The repository client queues the writes of one repository as
// they reach it, but two jobs started a moment apart reach it in whichever
// order their threads happen to run: the turn fixes that order.
//
// No write is held up for good by one that never runs: a turn is over when
// its job has run or when the job is dropped unrun (the last copy of the
// turn goes), and a job waits at most `patience` for the ones before it;
// by then an earlier job has long reached the repository's own queue,
// which keeps the two apart and in order. Thread-safe.
class WriteTurns : public std::enable_shared_from_this<WriteTurns> {
public:
    // One request's place in the order; over when it is destroyed.
    class Turn {
    public:
        Turn(std::shared_ptr<WriteTurns> turns, std::uint64_t number) : turns_(std::move(turns)), number_(number) {}
        ~Turn() { turns_->end(number_); }
        Turn(const Turn&) = delete;
        Turn& operator=(const Turn&) = delete;

        // Waits for the earlier turns (at most `patience`), runs `write`,
        // and ends this turn, also when `write` throws (which passes on).
        void run(const std::function<void()>& write);

    private:
        std::shared_ptr<WriteTurns> turns_;
        std::uint64_t number_;
    };

    explicit WriteTurns(std::chrono::milliseconds patience = std::chrono::seconds(2)) : patience_(patience) {}

    // The next turn, after every turn taken before. Own it with
    // `std::make_shared<WriteTurns>()`.
    std::shared_ptr<Turn> take();

private:
    void waitForEarlier(std::uint64_t number);
    void end(std::uint64_t number);

    const std::chrono::milliseconds patience_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::uint64_t counter_ = 0;
    std::set<std::uint64_t> open_;
};

}  // namespace tarv::features
