#pragma once

#include <memory>

namespace tarv::core {
class GitClient;
class GitRepositoryClient;
class RepositoryRegistry;
class FileWatching;
class PlatformServices;
class ProcessRunning;
class AppClock;
class FileStore;
class CredentialBroker;
class GitHubClient;
class AccountStore;
}  // namespace tarv::core

namespace tarv::features {

// The eleven ports through which the state logic reaches the outside world,
// in this order. The program builds it once from the live adapters; tests
// build it from fakes. The reducer keeps it for the life of the store and
// calls only `clock` while reducing; a job captures copies of exactly the
// ports it needs when the reducer builds it, never the state.
//
// Built in order by aggregate initialisation:
//   Dependencies{git, repository, registry, watcher, platform, process,
//                clock, files, credentials, github, accounts}
// The ports are only declared here; a file that calls one includes its
// header from TarvCore/Ports.
struct Dependencies {
    std::shared_ptr<core::GitClient> git;
    std::shared_ptr<core::GitRepositoryClient> repository;
    std::shared_ptr<core::RepositoryRegistry> registry;
    std::shared_ptr<core::FileWatching> watcher;
    std::shared_ptr<core::PlatformServices> platform;
    std::shared_ptr<core::ProcessRunning> process;
    std::shared_ptr<core::AppClock> clock;
    std::shared_ptr<core::FileStore> files;
    std::shared_ptr<core::CredentialBroker> credentials;
    std::shared_ptr<core::GitHubClient> github;
    std::shared_ptr<core::AccountStore> accounts;
};

}  // namespace tarv::features
