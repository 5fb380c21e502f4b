#include "TarvEngine/Service/GitWriteQueue.hpp"

namespace tarv::engine {

void GitWriteQueue::acquire(const std::string& key) {
    std::unique_lock lock(mutex_);
    if (busy_.insert(key).second) return;
    Waiter waiter;
    waiters_[key].push_back(&waiter);
    // No stop token: waiting keeps its place whatever happens to the caller.
    waiter.handedOver.wait(lock, [&] { return waiter.owns; });
}

void GitWriteQueue::release(const std::string& key) {
    std::lock_guard lock(mutex_);
    auto found = waiters_.find(key);
    if (found != waiters_.end() && !found->second.empty()) {
        Waiter* next = found->second.front();
        found->second.pop_front();
        if (found->second.empty()) waiters_.erase(found);
        // The key stays busy: the turn goes straight to the next caller.
        next->owns = true;
        next->handedOver.notify_one();
        return;
    }
    busy_.erase(key);
    if (found != waiters_.end()) waiters_.erase(found);
}

bool GitWriteQueue::isBusy(const std::string& key) const {
    std::lock_guard lock(mutex_);
    return busy_.contains(key);
}

std::size_t GitWriteQueue::waiting(const std::string& key) const {
    std::lock_guard lock(mutex_);
    auto found = waiters_.find(key);
    return found == waiters_.end() ? 0 : found->second.size();
}

bool GitWriteQueue::knows(const std::string& key) const {
    std::lock_guard lock(mutex_);
    return busy_.contains(key) || waiters_.contains(key);
}

}  // namespace tarv::engine
