#pragma once

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>

#include "TarvEngine/Environment/GitEnvironment.hpp"
#include "TarvEngine/Locator/GitLocator.hpp"
#include "TarvEngine/Service/GitExecutor.hpp"

namespace tarv::engine {

// The one shared object that knows where git is: the first successful
// request locates git and every later one gets the same executor without
// running anything. Requests that arrive while a lookup runs wait for it
// rather than probing git again (at start-up several reads ask at once). A
// failed lookup is not remembered, so git installed while the program runs
// is found on the next request. Shared (by std::shared_ptr) between the git
// clients; safe to call from any thread.
class GitExecutorProvider {
public:
    GitExecutorProvider(GitLocator locator, std::shared_ptr<core::ProcessRunning> runner,
                        std::optional<GitEnvironment::Isolation> isolation, std::optional<std::string> askpass,
                        std::map<std::string, std::string> extraEnvironment = {});

    // The cached executor, or a new one after locating git. Throws the
    // locator's error (GitError::gitNotFound). A call that arrives while a
    // lookup runs waits for its answer; when that lookup fails, the call
    // looks up again itself. Stopped while it waits: throws
    // core::CancellationError.
    GitExecutor executor(std::stop_token stop);

private:
    const GitLocator locator_;
    const std::shared_ptr<core::ProcessRunning> runner_;
    const std::optional<GitEnvironment::Isolation> isolation_;
    const std::optional<std::string> askpass_;
    const std::map<std::string, std::string> extraEnvironment_;

    std::mutex mutex_;
    std::condition_variable_any settled_;
    std::optional<GitExecutor> cached_;
    bool locating_ = false;
};

}  // namespace tarv::engine
