#include "TarvEngine/Service/GitExecutorProvider.hpp"

namespace tarv::engine {

GitExecutorProvider::GitExecutorProvider(GitLocator locator, std::shared_ptr<core::ProcessRunning> runner,
                                         std::optional<GitEnvironment::Isolation> isolation,
                                         std::optional<std::string> askpass,
                                         std::map<std::string, std::string> extraEnvironment)
    : locator_(std::move(locator)),
      runner_(std::move(runner)),
      isolation_(std::move(isolation)),
      askpass_(std::move(askpass)),
      extraEnvironment_(std::move(extraEnvironment)) {}

GitExecutor GitExecutorProvider::executor(std::stop_token stop) {
    {
        std::lock_guard lock(mutex_);
        if (cached_) return *cached_;
    }
    // The lookup runs without the lock, so a slow probe never blocks callers
    // that could be answered from the cache once it is filled.
    GitInstallation installation = locator_.locate(stop);
    GitExecutor executor{runner_, std::move(installation), isolation_, askpass_, extraEnvironment_};
    std::lock_guard lock(mutex_);
    cached_ = executor;
    return executor;
}

}  // namespace tarv::engine
