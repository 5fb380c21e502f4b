#pragma once

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
// running anything. A failed lookup is not remembered, so git installed
// while the program runs is found on the next request. Shared (by
// std::shared_ptr) between the git clients; safe to call from any thread.
class GitExecutorProvider {
public:
    GitExecutorProvider(GitLocator locator, std::shared_ptr<core::ProcessRunning> runner,
                        std::optional<GitEnvironment::Isolation> isolation, std::optional<std::string> askpass,
                        std::map<std::string, std::string> extraEnvironment = {});

    // The cached executor, or a new one after locating git. Throws the
    // locator's error (GitError::gitNotFound). Calls that arrive while a
    // first lookup runs make lookups of their own; the last one stored stays.
    GitExecutor executor(std::stop_token stop);

private:
    const GitLocator locator_;
    const std::shared_ptr<core::ProcessRunning> runner_;
    const std::optional<GitEnvironment::Isolation> isolation_;
    const std::optional<std::string> askpass_;
    const std::map<std::string, std::string> extraEnvironment_;

    std::mutex mutex_;
    std::optional<GitExecutor> cached_;
};

}  // namespace tarv::engine
