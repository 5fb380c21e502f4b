#include "TarvApp/Composition/LiveDependencies.hpp"

#include <unistd.h>

#include <cerrno>
#include <climits>

#include "TarvApp/Composition/GitHubAppConfig.hpp"
#include "TarvEngine/Locator/GitLocator.hpp"
#include "TarvEngine/Service/GitClientLive.hpp"
#include "TarvEngine/Service/GitExecutorProvider.hpp"
#include "TarvEngine/Service/GitRepositoryClientLive.hpp"
#include "TarvHosting/Credentials/AccountStoreLive.hpp"
#include "TarvHosting/GitHub/GitHubClientLive.hpp"
#include "TarvStorage/Locations/AppPaths.hpp"
#include "TarvStorage/Stores/JSONRepositoryRegistry.hpp"
#include "TarvSystem/Clock/SystemClock.hpp"
#include "TarvSystem/FileSystem/LocalFileStore.hpp"
#include "TarvSystem/FileSystem/LocalFileSystem.hpp"
#include "TarvSystem/FileWatching/InotifyWatcher.hpp"
#include "TarvSystem/IPC/NullCredentialBroker.hpp"
#include "TarvSystem/Keychain/KeychainSecretStore.hpp"
#include "TarvSystem/Keychain/KeychainTool.hpp"
#include "TarvSystem/Network/CurlHTTPClient.hpp"
#include "TarvSystem/Opener/LinuxPlatformServices.hpp"
#include "TarvSystem/Process/PosixProcessRunner.hpp"

namespace tarv::app::LiveDependencies {
namespace {

constexpr int promptAnswerSeconds = 300;
constexpr int requestTimeoutSeconds = 20;

std::optional<std::string> lookup(const Environment& environment, const char* name) {
    const auto found = environment.find(name);
    if (found == environment.end()) return std::nullopt;
    return found->second;
}

std::string thisExecutable() {
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length > 0) return std::string(buffer, static_cast<std::size_t>(length));
    return program_invocation_name != nullptr ? program_invocation_name : "";
}

}  // namespace

Programs Programs::installed() { return Programs{system::KeychainTool::standInPath(), thisExecutable()}; }

Built build(const Environment& environment, const std::optional<Askpass>& askpass, const Programs& programs) {
    auto runner = std::make_shared<system::PosixProcessRunner>();
    auto files = std::make_shared<system::LocalFileStore>();
    auto clock = std::make_shared<system::SystemClock>();
    auto fileSystem = std::make_shared<system::LocalFileSystem>();

    engine::GitLocator locator{runner, fileSystem, lookup(environment, "TARV_GIT"), lookup(environment, "PATH")};
    std::map<std::string, std::string> gitEnvironment;
    std::optional<engine::GitEnvironment::Askpass> askpassPrograms;
    if (askpass) {
        gitEnvironment["TARV_ASKPASS_SOCKET"] = askpass->endpoint.socketPath;
        gitEnvironment["TARV_ASKPASS_TOKEN"] = askpass->endpoint.token;
        askpassPrograms = engine::GitEnvironment::Askpass{askpass->endpoint.askpassPath,
                                                          askpass->endpoint.sshAskpassPath};
    }
    auto provider = std::make_shared<engine::GitExecutorProvider>(std::move(locator), runner, std::nullopt,
                                                                  askpassPrograms, std::move(gitEnvironment));
    const storage::AppPaths paths(files->homeDirectory(), environment);
    std::shared_ptr<core::CredentialBroker> broker;
    if (askpass) {
        broker = askpass->server;
    } else {
        broker = std::make_shared<system::NullCredentialBroker>();
    }

    auto http = std::make_shared<system::CurlHTTPClient>(requestTimeoutSeconds);
    auto secrets = std::make_shared<system::KeychainSecretStore>(runner, programs.keychainTool,
                                                                 lookup(environment, "TARV_KEYCHAIN"));
    features::Dependencies dependencies{
        .git = std::make_shared<engine::GitClientLive>(provider),
        .repository = std::make_shared<engine::GitRepositoryClientLive>(provider, files, clock),
        .registry = std::make_shared<storage::JSONRepositoryRegistry>(files, paths.stateDirectory),
        .watcher = std::make_shared<system::InotifyWatcher>(),
        .platform = std::make_shared<system::LinuxPlatformServices>(runner, environment),
        .process = runner,
        .clock = clock,
        .files = files,
        .credentials = broker,
        .github = std::make_shared<hosting::GitHubClientLive>(http, GitHubAppConfig::clientID(environment),
                                                              GitHubAppConfig::webBase(environment),
                                                              GitHubAppConfig::apiBase(environment)),
        .accounts = std::make_shared<hosting::AccountStoreLive>(secrets),
    };
    return Built{std::move(dependencies), std::move(broker)};
}

Interactive makeInteractive(const Environment& environment, const Programs& programs,
                            std::optional<std::string> temporaryBase) {
    auto server = std::make_shared<system::AskpassServer>(promptAnswerSeconds, std::chrono::seconds(10),
                                                          std::move(temporaryBase));
    std::optional<Askpass> askpass;
    try {
        askpass = Askpass{server->start(programs.executable), server};
    } catch (...) {
        // The interface runs without relaying git's prompts.
    }
    Built built = build(environment, askpass, programs);
    auto repository = std::dynamic_pointer_cast<engine::GitRepositoryClientLive>(built.dependencies.repository);
    return Interactive{std::move(built.dependencies), [server, repository] {
                           if (repository) {
                               repository->stopReadAhead();
                               repository->closeHistoryStreams();
                           }
                           server->stop();
                       }};
}

features::Dependencies make(const Environment& environment, const Programs& programs) {
    return build(environment, std::nullopt, programs).dependencies;
}

}  // namespace tarv::app::LiveDependencies
