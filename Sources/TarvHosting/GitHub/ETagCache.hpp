#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "TarvCore/Models/HTTPResponse.hpp"

namespace tarv::hosting {

// Remembers, for the REST client's GET requests, the last successful answer
// and its entity tag, so that a repeated request can be made conditional and
// a 304 answer served from memory. In memory only, for the life of the
// client; safe to use from any thread (each operation takes the lock once;
// no lock is held across a network call, so the last store for a key wins).
//
// Keys are opaque; the client forms them from the URL and the credentials.
// At most `capacity` entries are kept; the oldest by first insertion goes
// first (re-storing a key does not move it; removing it does).
class ETagCache {
public:
    static constexpr std::size_t capacity = 64;

    std::optional<std::string> etag(const std::string& key) const;
    std::optional<core::HTTPResponse> response(const std::string& key) const;
    // Inserts or replaces the entry.
    void store(const core::HTTPResponse& response, const std::string& etag, const std::string& key);
    // Deletes the entry, if any.
    void remove(const std::string& key);

    std::size_t count() const;

private:
    struct Entry {
        std::string etag;
        core::HTTPResponse response;
    };

    mutable std::mutex mutex_;
    std::unordered_map<std::string, Entry> entries_;
    // The keys of `entries_`, each once, oldest first.
    std::deque<std::string> order_;
};

}  // namespace tarv::hosting
