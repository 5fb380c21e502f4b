#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <stop_token>
#include <type_traits>

namespace tarv::engine {

// Lets one read of a kind run at a time, for reads whose callers replace
// each one by the next (the files of the selected commit: paging through
// the history asks for one listing per key and stops the one before).
// A caller waits until the read before it has ended; a caller whose stop is
// requested before or while it waits leaves at once with
// ProcessError::cancelled, having run nothing. Without the turn, listings
// given up while they waited for their git processes to be started would
// still start them, one after another, long after the keys that asked.
// Waiters are not kept in order: of several, the one that is still wanted
// is normally the only one not stopped. Safe to use from any thread.
class ReadTurn {
public:
    ReadTurn() = default;
    ReadTurn(const ReadTurn&) = delete;
    ReadTurn& operator=(const ReadTurn&) = delete;

    // Waits for the turn, runs `body` on the calling thread, gives the turn
    // away (also when `body` throws) and returns what it returned or
    // rethrows what it threw.
    template <class Body>
    std::invoke_result_t<Body&> run(std::stop_token stop, Body&& body) {
        acquire(stop);
        Turn turn{*this};
        return body();
    }

    // How many callers wait for the turn.
    std::size_t waiting() const;

private:
    struct Turn {
        ReadTurn& owner;
        ~Turn() { owner.release(); }
    };

    void acquire(std::stop_token stop);
    void release();

    mutable std::mutex mutex_;
    std::condition_variable_any released_;
    bool busy_ = false;
    std::size_t waiting_ = 0;
};

}  // namespace tarv::engine
