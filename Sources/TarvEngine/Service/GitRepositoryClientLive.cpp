#include "TarvEngine/Service/GitRepositoryClientLive.hpp"

#include <system_error>
#include <utility>

#include "TarvEngine/Commands/GitReadCommands.hpp"

namespace tarv::engine {

GitRepositoryClientLive::GitRepositoryClientLive(std::shared_ptr<GitExecutorProvider> provider,
                                                 std::shared_ptr<core::FileStore> files,
                                                 std::shared_ptr<core::AppClock> clock)
    : provider_(std::move(provider)),
      files_(std::move(files)),
      clock_(std::move(clock)),
      writeQueue_(std::make_shared<GitWriteQueue>()),
      historyStreams_(std::make_shared<HistoryStreams>(files_)),
      commitListings_(std::make_shared<ReadTurn>()),
      readAhead_(std::make_shared<ReadAheadHolder>()) {}

void GitRepositoryClientLive::readAhead(const std::string& directory) {
    std::shared_ptr<StartReadAhead> ahead;
    try {
        ahead = std::make_shared<StartReadAhead>(
            directory,
            // Both reads start without waiting for git's version: this is
            // what the first screen waits for.
            [provider = provider_](const std::string& path, std::stop_token stop) {
                return provider->besideLookup(stop, [&](const GitExecutor& git) {
                    return GitReadCommands{git}.repositoryRoot(path, stop);
                });
            },
            [provider = provider_, files = files_](const std::string& repository, std::stop_token stop) {
                return provider->besideLookup(
                    stop, [&](const GitExecutor& git) { return GitReadCommands{git}.status(repository, *files, stop); });
            },
            [files = files_](const std::string& folder) { return files->fileExists(folder + "/.git"); });
    } catch (const std::system_error&) {
        return;  // no thread to spare: the reads happen when asked for
    }
    std::shared_ptr<StartReadAhead> replaced;  // ends (joins) after the lock is released
    std::lock_guard lock(readAhead_->mutex);
    replaced = std::exchange(readAhead_->current, std::move(ahead));
}

void GitRepositoryClientLive::stopReadAhead() {
    if (auto ahead = currentReadAhead()) ahead->stop();
}

std::shared_ptr<StartReadAhead> GitRepositoryClientLive::currentReadAhead() const {
    std::lock_guard lock(readAhead_->mutex);
    return readAhead_->current;
}

}  // namespace tarv::engine
