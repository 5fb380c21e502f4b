#pragma once

#include <condition_variable>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <system_error>
#include <thread>
#include <type_traits>

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
                        std::optional<GitEnvironment::Isolation> isolation,
                        std::optional<GitEnvironment::Askpass> askpass,
                        std::map<std::string, std::string> extraEnvironment = {});

    // The cached executor, or a new one after locating git. Throws the
    // locator's error (GitError::gitNotFound). A call that arrives while a
    // lookup runs waits for its answer; when that lookup fails, the call
    // looks up again itself. Stopped while it waits: throws
    // core::CancellationError.
    GitExecutor executor(std::stop_token stop);

    // Runs `read(executor)` without waiting for git to be located first. While
    // no lookup has answered, the read runs at once with the candidate the
    // lookup probes first (GitLocator::firstCandidate; its version not yet
    // known, zero) and the lookup runs beside it on a thread of its own. The
    // read's outcome stands once the lookup has found that same git; when it
    // found another, the read runs again with that one. With git located
    // already, or no candidate at all, the read runs with `executor(stop)`.
    // Throws what `executor` throws, otherwise what the read throws. Only for
    // reads: one may run twice.
    template <class Read>
    std::invoke_result_t<Read&, const GitExecutor&> besideLookup(std::stop_token stop, Read read);

private:
    // The executor once located.
    std::optional<GitExecutor> located();
    // Whether a lookup runs now.
    bool lookingUp();
    // An executor of the first candidate, before any lookup confirmed it.
    std::optional<GitExecutor> unconfirmed() const;

    const GitLocator locator_;
    const std::shared_ptr<core::ProcessRunning> runner_;
    const std::optional<GitEnvironment::Isolation> isolation_;
    const std::optional<GitEnvironment::Askpass> askpass_;
    const std::map<std::string, std::string> extraEnvironment_;

    std::mutex mutex_;
    std::condition_variable_any settled_;
    std::optional<GitExecutor> cached_;
    bool locating_ = false;
};

template <class Read>
std::invoke_result_t<Read&, const GitExecutor&> GitExecutorProvider::besideLookup(std::stop_token stop, Read read) {
    if (auto known = located()) return read(*known);
    const std::optional<GitExecutor> early = unconfirmed();
    if (!early) return read(executor(stop));
    std::optional<GitExecutor> found;
    std::exception_ptr lookupFailure;
    const auto locate = [&] {
        try {
            found = executor(stop);
        } catch (...) {
            lookupFailure = std::current_exception();
        }
    };
    // A lookup already under way is awaited after the read, not joined by a
    // thread of this call.
    std::jthread lookup;
    if (!lookingUp()) {
        try {
            lookup = std::jthread(locate);
        } catch (const std::system_error&) {
            return read(executor(stop));  // no thread to spare: the lookup comes first
        }
    }
    using Result = std::invoke_result_t<Read&, const GitExecutor&>;
    std::optional<Result> result;
    std::exception_ptr readFailure;
    try {
        result.emplace(read(*early));
    } catch (...) {
        readFailure = std::current_exception();
    }
    if (lookup.joinable()) {
        lookup.join();
    } else {
        locate();
    }
    if (lookupFailure) std::rethrow_exception(lookupFailure);
    if (found->installation.path != early->installation.path) return read(*found);
    if (readFailure) std::rethrow_exception(readFailure);
    return std::move(*result);
}

}  // namespace tarv::engine
