#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>

namespace tarv::features {

// Keeps the writes of a conflicted file in the order of the choices that
// made them. Every choice renders the whole file from the newest document,
// which already holds the choices before it, so the newest text must be the
// one that lands last: two quick choices run as two jobs on two threads,
// and without an order the older text could be renamed over the newer one.
//
// A ticket is taken while the choice is reduced (on the main thread, never
// waiting on a write); the job writes only if no later ticket was taken for
// the same file, under one lock shared by all writes. A skipped write loses
// nothing: a later one, holding its text, runs after it. Thread-safe.
class ConflictWriteOrder {
public:
    // A number for the next write of `file`, larger than every earlier one.
    std::uint64_t ticket(const std::string& file) {
        const std::lock_guard lock(ticketsMutex_);
        const std::uint64_t issued = ++counter_;
        newest_[file] = issued;
        return issued;
    }

    // Runs `write` unless a later ticket was taken for `file`; returns
    // whether it ran. Exceptions of `write` pass through.
    bool writeIfNewest(const std::string& file, std::uint64_t ticket, const std::function<void()>& write) {
        const std::lock_guard writing(writeMutex_);
        {
            const std::lock_guard lock(ticketsMutex_);
            const auto found = newest_.find(file);
            if (found == newest_.end() || found->second != ticket) return false;
        }
        write();
        return true;
    }

private:
    std::mutex writeMutex_;
    std::mutex ticketsMutex_;
    std::uint64_t counter_ = 0;
    std::map<std::string, std::uint64_t> newest_;
};

}  // namespace tarv::features
