#pragma once

#include <memory>

#include "TarvCore/Ports/AccountStore.hpp"
#include "TarvCore/Ports/AppClock.hpp"
#include "TarvCore/Ports/CredentialBroker.hpp"
#include "TarvCore/Ports/FileStore.hpp"
#include "TarvCore/Ports/FileWatching.hpp"
#include "TarvCore/Ports/GitClient.hpp"
#include "TarvCore/Ports/GitHubClient.hpp"
#include "TarvCore/Ports/GitRepositoryClient.hpp"
#include "TarvCore/Ports/PlatformServices.hpp"
#include "TarvCore/Ports/ProcessRunning.hpp"
#include "TarvCore/Ports/RepositoryRegistry.hpp"

namespace tarv::app {

// The eleven live adapters, one per port, in the order the state logic's
// dependencies list them. Made once per process by LiveDependencies and
// shared from then on.
struct LivePorts {
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

}  // namespace tarv::app
