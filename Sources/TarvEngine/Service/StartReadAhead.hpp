#pragma once

#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

#include "TarvCore/Models/WorkingTreeStatus.hpp"

namespace tarv::engine {

// The reads of the folder the program starts in, begun before anything asks
// for them. The first screen waits for the repository root and then for
// the working-tree status, the slowest read of a large repository; the
// program only opens the repository once its start-up checks have all
// answered, so those reads start here, at once, on a thread of their own:
// the root of `directory`, then the status of that root. A folder that
// holds a repository (`holdsRepository`) is usually its root, so its status
// is read beside the root; it is kept when the root proves to be the
// folder, and otherwise stopped for the root's.
//
// Each result answers one request, the first that asks for it:
// - `takeRoot` for exactly `directory`;
// - `takeStatus` for exactly the root found, provided the read began at
//   most `freshFor` before the request (an open that waited for the user,
//   say, reads the status anew).
// The request waits for the read if it still runs. Anything else, and a
// read that failed, is answered with "not read ahead": the caller then
// reads as it would have, so failures surface from a read of its own. A
// request cancelled while it waits throws core::CancellationError and stops
// what is still being read ahead.
//
// The reads end (their stop token fires) when `stop` is called and when
// this object goes away. Safe to call from any thread. Construction throws
// std::system_error when no thread can be started.
class StartReadAhead {
public:
    using Clock = std::chrono::steady_clock;
    using RootRead = std::function<std::optional<std::string>(const std::string& directory, std::stop_token)>;
    using StatusRead = std::function<core::WorkingTreeStatus(const std::string& repository, std::stop_token)>;
    using Probe = std::function<bool(const std::string& directory)>;

    static constexpr std::chrono::milliseconds defaultFreshFor{1000};

    StartReadAhead(std::string directory, RootRead readRoot, StatusRead readStatus, Probe holdsRepository = {},
                   std::chrono::milliseconds freshFor = defaultFreshFor, std::function<Clock::time_point()> now = {});
    ~StartReadAhead();
    StartReadAhead(const StartReadAhead&) = delete;
    StartReadAhead& operator=(const StartReadAhead&) = delete;

    // The root of `directory` as read ahead (empty inside: not a repository),
    // or empty when not read ahead for this request.
    std::optional<std::optional<std::string>> takeRoot(const std::string& directory, std::stop_token stop);
    // The status of `repository` as read ahead, or empty when not read ahead
    // for this request.
    std::optional<core::WorkingTreeStatus> takeStatus(const std::string& repository, std::stop_token stop);

    void stop();

private:
    template <class T>
    struct Slot {
        bool done = false;
        bool taken = false;
        std::optional<T> value;  // empty when the read failed or was stopped
    };

    void run(std::stop_token stop);
    // The status of `repository`, or empty when its read failed.
    std::optional<core::WorkingTreeStatus> statusOf(const std::string& repository, std::stop_token stop) const;
    // Waits until `slot` is done; false when `stop` fired first.
    template <class T>
    bool wait(std::unique_lock<std::mutex>& lock, const Slot<T>& slot, std::stop_token stop);

    const std::string directory_;
    const RootRead readRoot_;
    const StatusRead readStatus_;
    const Probe holdsRepository_;
    const std::chrono::milliseconds freshFor_;
    const std::function<Clock::time_point()> now_;

    std::mutex mutex_;
    std::condition_variable_any changed_;
    Slot<std::optional<std::string>> root_;
    Slot<core::WorkingTreeStatus> status_;
    std::optional<Clock::time_point> statusBegan_;
    // Last member: started once the rest is in place, stopped and joined
    // first when this object goes away.
    std::jthread thread_;
};

}  // namespace tarv::engine
