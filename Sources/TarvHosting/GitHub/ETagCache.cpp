#include "TarvHosting/GitHub/ETagCache.hpp"

#include <algorithm>

namespace tarv::hosting {

std::optional<std::string> ETagCache::etag(const std::string& key) const {
    std::lock_guard lock(mutex_);
    const auto it = entries_.find(key);
    if (it == entries_.end()) return std::nullopt;
    return it->second.etag;
}

std::optional<core::HTTPResponse> ETagCache::response(const std::string& key) const {
    std::lock_guard lock(mutex_);
    const auto it = entries_.find(key);
    if (it == entries_.end()) return std::nullopt;
    return it->second.response;
}

void ETagCache::store(const core::HTTPResponse& response, const std::string& etag, const std::string& key) {
    std::lock_guard lock(mutex_);
    auto it = entries_.find(key);
    if (it != entries_.end()) {
        it->second = Entry{etag, response};
        return;
    }
    order_.push_back(key);
    if (order_.size() > capacity) {
        entries_.erase(order_.front());
        order_.pop_front();
    }
    entries_.emplace(key, Entry{etag, response});
}

void ETagCache::remove(const std::string& key) {
    std::lock_guard lock(mutex_);
    if (entries_.erase(key) == 0) return;
    order_.erase(std::remove(order_.begin(), order_.end(), key), order_.end());
}

std::size_t ETagCache::count() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

}  // namespace tarv::hosting
