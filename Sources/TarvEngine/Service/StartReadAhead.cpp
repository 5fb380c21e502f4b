#include "TarvEngine/Service/StartReadAhead.hpp"

#include <utility>

#include "TarvCore/Concurrency/CancellationError.hpp"

namespace tarv::engine {

StartReadAhead::StartReadAhead(std::string directory, RootRead readRoot, StatusRead readStatus,
                               std::chrono::milliseconds freshFor, std::function<Clock::time_point()> now)
    : directory_(std::move(directory)),
      readRoot_(std::move(readRoot)),
      readStatus_(std::move(readStatus)),
      freshFor_(freshFor),
      now_(now ? std::move(now) : [] { return Clock::now(); }) {
    thread_ = std::jthread([this](std::stop_token stop) { run(stop); });
}

StartReadAhead::~StartReadAhead() = default;

void StartReadAhead::stop() { thread_.request_stop(); }

void StartReadAhead::run(std::stop_token stop) {
    std::optional<std::optional<std::string>> root;
    try {
        root = readRoot_(directory_, stop);
    } catch (...) {
        root.reset();
    }
    const bool readStatus = root && *root && !stop.stop_requested();
    {
        std::lock_guard lock(mutex_);
        root_.value = root;
        root_.done = true;
        if (readStatus) statusBegan_ = now_();
        status_.done = !readStatus;
    }
    changed_.notify_all();
    if (!readStatus) return;

    std::optional<core::WorkingTreeStatus> status;
    try {
        status = readStatus_(**root, stop);
    } catch (...) {
        status.reset();
    }
    {
        std::lock_guard lock(mutex_);
        status_.value = std::move(status);
        status_.done = true;
    }
    changed_.notify_all();
}

template <class T>
bool StartReadAhead::wait(std::unique_lock<std::mutex>& lock, const Slot<T>& slot, std::stop_token stop) {
    return changed_.wait(lock, stop, [&] { return slot.done; });
}

std::optional<std::optional<std::string>> StartReadAhead::takeRoot(const std::string& directory,
                                                                   std::stop_token stop) {
    std::unique_lock lock(mutex_);
    if (directory != directory_ || root_.taken) return std::nullopt;
    root_.taken = true;
    if (!wait(lock, root_, stop)) {
        thread_.request_stop();
        throw core::CancellationError{};
    }
    return root_.value;
}

std::optional<core::WorkingTreeStatus> StartReadAhead::takeStatus(const std::string& repository,
                                                                  std::stop_token stop) {
    std::unique_lock lock(mutex_);
    if (status_.taken) return std::nullopt;
    // Whether this is the repository read ahead is known once its root is.
    if (!wait(lock, root_, stop)) throw core::CancellationError{};
    if (!root_.value || !*root_.value || **root_.value != repository || !statusBegan_) return std::nullopt;
    status_.taken = true;
    if (now_() - *statusBegan_ > freshFor_) return std::nullopt;
    if (!wait(lock, status_, stop)) {
        thread_.request_stop();
        throw core::CancellationError{};
    }
    auto status = std::move(status_.value);
    status_.value.reset();
    return status;
}

}  // namespace tarv::engine
