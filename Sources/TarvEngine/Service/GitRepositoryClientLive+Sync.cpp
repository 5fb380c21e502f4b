#include "TarvEngine/Commands/GitRemoteCommands.hpp"
#include "TarvEngine/Commands/GitWriteCommands.hpp"
#include "TarvEngine/Service/GitRepositoryClientLive.hpp"

// Remotes and new repositories. Failures of fetch, pull, push and clone
// arrive as the classified RemoteFailure; a time-out stays the runner's
// error. Everything but clone waits for the repository's turn, so a
// background fetch never runs during a commit or a merge.
namespace tarv::engine {

void GitRepositoryClientLive::fetch(const std::string& repository, std::stop_token stop) {
    queued(repository, stop, [&](const GitExecutor& executor) { GitRemoteCommands{executor}.fetch(repository, stop); });
}

void GitRepositoryClientLive::pull(const std::string& repository, std::stop_token stop) {
    queued(repository, stop, [&](const GitExecutor& executor) { GitRemoteCommands{executor}.pull(repository, stop); });
}

void GitRepositoryClientLive::push(const std::string& repository, const std::string& branch, bool setUpstream,
                                   std::stop_token stop) {
    queued(repository, stop, [&](const GitExecutor& executor) {
        GitRemoteCommands{executor}.push(repository, branch, setUpstream, stop);
    });
}

void GitRepositoryClientLive::clone(const std::string& url, const std::string& directory, std::stop_token stop) {
    // No queue: the destination is not a repository yet, and a clone must
    // never wait for another repository's writes.
    GitRemoteCommands{provider_->executor(stop)}.clone(url, directory, stop);
}

void GitRepositoryClientLive::initRepository(const std::string& directory, std::stop_token stop) {
    if (!files_->isDirectory(directory)) files_->createDirectory(directory);
    queued(directory, stop,
           [&](const GitExecutor& executor) { GitWriteCommands{executor}.initRepository(directory, stop); });
}

void GitRepositoryClientLive::addRemote(const std::string& repository, const std::string& name,
                                        const std::string& url, std::stop_token stop) {
    queued(repository, stop,
           [&](const GitExecutor& executor) { GitRemoteCommands{executor}.addRemote(repository, name, url, stop); });
}

void GitRepositoryClientLive::setRemoteURL(const std::string& repository, const std::string& name,
                                           const std::string& url, std::stop_token stop) {
    queued(repository, stop, [&](const GitExecutor& executor) {
        GitRemoteCommands{executor}.setRemoteURL(repository, name, url, stop);
    });
}

}  // namespace tarv::engine
