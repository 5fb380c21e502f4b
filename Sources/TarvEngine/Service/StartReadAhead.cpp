#include "TarvEngine/Service/StartReadAhead.hpp"

#include <system_error>
#include <utility>

#include "TarvCore/Concurrency/CancellationError.hpp"

namespace tarv::engine {

StartReadAhead::StartReadAhead(std::string directory, RootRead readRoot, StatusRead readStatus,
                               Probe holdsRepository, std::chrono::milliseconds freshFor,
                               std::function<Clock::time_point()> now)
    : directory_(std::move(directory)),
      readRoot_(std::move(readRoot)),
      readStatus_(std::move(readStatus)),
      holdsRepository_(std::move(holdsRepository)),
      freshFor_(freshFor),
      now_(now ? std::move(now) : [] { return Clock::now(); }) {
    thread_ = std::jthread([this](std::stop_token stop) { run(stop); });
}

StartReadAhead::~StartReadAhead() = default;

void StartReadAhead::stop() { thread_.request_stop(); }

std::optional<core::WorkingTreeStatus> StartReadAhead::statusOf(const std::string& repository,
                                                                std::stop_token stop) const {
    try {
        return readStatus_(repository, stop);
    } catch (...) {
        return std::nullopt;
    }
}

void StartReadAhead::run(std::stop_token stop) {
    // The guess: the folder's own status, read beside its root when the
    // folder holds a repository. Stopped with this read-ahead, or when the
    // root proves to be elsewhere; joined before this function returns.
    bool guessing = false;
    try {
        guessing = holdsRepository_ && holdsRepository_(directory_);
    } catch (...) {
    }
    std::optional<core::WorkingTreeStatus> guessed;
    Clock::time_point guessBegan{};
    std::jthread guess;
    if (guessing) {
        guessBegan = now_();
        try {
            guess = std::jthread([this, &guessed](std::stop_token own) { guessed = statusOf(directory_, own); });
        } catch (const std::system_error&) {
            guessing = false;  // no thread to spare: the root comes first
        }
    }
    std::stop_callback stopGuess(stop, [&guess] { guess.request_stop(); });

    std::optional<std::optional<std::string>> root;
    try {
        root = readRoot_(directory_, stop);
    } catch (...) {
        root.reset();
    }
    const bool readStatus = root && *root && !stop.stop_requested();
    const bool guessedRight = readStatus && guessing && **root == directory_;
    if (guessing && !guessedRight) guess.request_stop();
    {
        std::lock_guard lock(mutex_);
        root_.value = root;
        root_.done = true;
        if (readStatus) statusBegan_ = guessedRight ? guessBegan : now_();
        status_.done = !readStatus;
    }
    changed_.notify_all();
    if (!readStatus) return;

    std::optional<core::WorkingTreeStatus> status;
    if (guessedRight) {
        guess.join();
        status = std::move(guessed);
    } else {
        status = statusOf(**root, stop);
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
