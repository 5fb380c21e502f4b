#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <type_traits>
#include <utility>

namespace tarv::engine {

// Makes the writes to one repository run one at a time, in the order in
// which they asked, while writes to other repositories go on in parallel.
// The key is the repository path exactly as given: no normalisation, so a
// path with and without a trailing slash are two keys.
//
// The turn is handed directly from the caller that leaves to the oldest
// waiter, first in, first out. Waiting takes no stop token on purpose: a
// cancelled caller keeps its place and runs its body when its turn comes
// (the git commands inside then meet the cancellation). A body must never
// enter the queue again with its own key: it would wait for itself.
// Safe to use from any thread.
class GitWriteQueue {
public:
    GitWriteQueue() = default;
    GitWriteQueue(const GitWriteQueue&) = delete;
    GitWriteQueue& operator=(const GitWriteQueue&) = delete;

    // Waits for the key's turn, runs `body` on the calling thread, gives the
    // turn away (also when `body` throws) and returns what it returned or
    // rethrows what it threw.
    template <class Body>
    std::invoke_result_t<Body&> serialized(const std::string& key, Body&& body) {
        const std::string owned = key;
        acquire(owned);
        Turn turn{*this, owned};
        return body();
    }

    // Whether a body of the key runs (or has just been handed the turn).
    bool isBusy(const std::string& key) const;
    // How many callers wait for the key.
    std::size_t waiting(const std::string& key) const;
    // Whether any bookkeeping (owner or waiter list) exists for the key.
    bool knows(const std::string& key) const;

private:
    struct Waiter {
        std::condition_variable handedOver;
        bool owns = false;
    };
    // Gives the turn away when the body ends, however it ends.
    struct Turn {
        GitWriteQueue& queue;
        const std::string& key;
        ~Turn() { queue.release(key); }
    };

    void acquire(const std::string& key);
    void release(const std::string& key);

    mutable std::mutex mutex_;
    std::set<std::string> busy_;
    std::map<std::string, std::deque<Waiter*>> waiters_;
};

}  // namespace tarv::engine
