#include "TarvEngine/Service/GitExecutorProvider.hpp"

#include "TarvCore/Concurrency/CancellationError.hpp"

namespace tarv::engine {

GitExecutorProvider::GitExecutorProvider(GitLocator locator, std::shared_ptr<core::ProcessRunning> runner,
                                         std::optional<GitEnvironment::Isolation> isolation,
                                         std::optional<GitEnvironment::Askpass> askpass,
                                         std::map<std::string, std::string> extraEnvironment)
    : locator_(std::move(locator)),
      runner_(std::move(runner)),
      isolation_(std::move(isolation)),
      askpass_(std::move(askpass)),
      extraEnvironment_(std::move(extraEnvironment)) {}

GitExecutor GitExecutorProvider::executor(std::stop_token stop) {
    {
        std::unique_lock lock(mutex_);
        if (!settled_.wait(lock, stop, [this] { return cached_ || !locating_; })) throw core::CancellationError{};
        if (cached_) return *cached_;
        locating_ = true;
    }
    // The lookup runs without the lock; callers arriving meanwhile wait on
    // `settled_` for its answer.
    std::optional<GitInstallation> installation;
    try {
        installation = locator_.locate(stop);
    } catch (...) {
        {
            std::lock_guard lock(mutex_);
            locating_ = false;
        }
        settled_.notify_all();
        throw;
    }
    GitExecutor executor{runner_, std::move(*installation), isolation_, askpass_, extraEnvironment_};
    {
        std::lock_guard lock(mutex_);
        cached_ = executor;
        locating_ = false;
    }
    settled_.notify_all();
    return executor;
}

std::optional<GitExecutor> GitExecutorProvider::located() {
    std::lock_guard lock(mutex_);
    return cached_;
}

bool GitExecutorProvider::lookingUp() {
    std::lock_guard lock(mutex_);
    return locating_;
}

std::optional<GitExecutor> GitExecutorProvider::unconfirmed() const {
    auto path = locator_.firstCandidate();
    if (!path) return std::nullopt;
    return GitExecutor{runner_, GitInstallation{std::move(*path), core::GitVersion{}}, isolation_, askpass_,
                       extraEnvironment_};
}

}  // namespace tarv::engine
