#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "Support/AppStoreHarness.hpp"
#include "Support/FakePorts.hpp"
#include "Support/MainQueuePump.hpp"
#include "Support/TempGitRepo.hpp"
#include "TarvCore/Concurrency/MainQueue.hpp"
#include "TarvEngine/Environment/GitEnvironment.hpp"
#include "TarvEngine/Locator/GitLocator.hpp"
#include "TarvEngine/Service/GitClientLive.hpp"
#include "TarvEngine/Service/GitExecutorProvider.hpp"
#include "TarvEngine/Service/GitRepositoryClientLive.hpp"
#include "TarvFeatures/Architecture/LiveEffectExecutor.hpp"
#include "TarvFeatures/Architecture/Store.hpp"
#include "TarvSystem/Clock/SystemClock.hpp"
#include "TarvSystem/FileSystem/LocalFileStore.hpp"
#include "TarvSystem/FileSystem/LocalFileSystem.hpp"
#include "TarvSystem/FileWatching/InotifyWatcher.hpp"
#include "TarvSystem/IPC/NullCredentialBroker.hpp"
#include "TarvSystem/Process/PosixProcessRunner.hpp"

namespace tarv::testing {

// The state logic over real git, for integration tests: a temporary
// repository, the live repository client (git isolated in the repository's
// temporary home), the live executor and the main queue, pumped on the
// test's thread as the program's loop does. Every reduction is recorded.
//
//   struct Fixture : LiveStore { ... };   // set up `repo`, then
//   connect();                            // the live client
//   open(state, liveRepository());        // the store
//   ASSERT_TRUE(pumpUntil([&] { return ...; }));
//
// The repository is the first member, so it outlives the jobs that the
// destructor stops and waits for.
struct LiveStore {
    TempGitRepo repo;
    std::shared_ptr<system::LocalFileStore> files = std::make_shared<system::LocalFileStore>();
    std::shared_ptr<system::SystemClock> clock = std::make_shared<system::SystemClock>();
    std::shared_ptr<engine::GitExecutorProvider> provider;
    std::shared_ptr<engine::GitRepositoryClientLive> client;
    std::shared_ptr<core::MainQueue> queue = std::make_shared<core::MainQueue>();
    std::shared_ptr<features::LiveEffectExecutor> executor = std::make_shared<features::LiveEffectExecutor>(queue);
    std::shared_ptr<AppStoreHarness::Log> log = std::make_shared<AppStoreHarness::Log>();
    std::unique_ptr<features::Store<AppStoreHarness::RecordingReducer>> store;

    LiveStore() = default;
    LiveStore(const LiveStore&) = delete;
    LiveStore& operator=(const LiveStore&) = delete;

    // The store goes before the jobs are waited for: a result that arrives
    // late is then dropped instead of reduced into new jobs that would still
    // run when the process ends.
    ~LiveStore() {
        if (!store) return;
        store->cancelEffects();
        store.reset();
        EXPECT_TRUE(executor->waitForIdle(std::chrono::seconds(20)));
        if (client) client->closeHistoryStreams();  // the kept-open history reader ends with the test
        queue->drain();
    }

    // Makes the live client; git reads `globalConfig` (the repository's own
    // set-up, with an identity, by default) as its global configuration.
    void connect(const std::optional<std::string>& globalConfig = std::nullopt) {
        const std::string global = globalConfig.value_or(repo.globalConfig());
        auto runner = std::make_shared<system::PosixProcessRunner>();
        auto environment = repo.environment();
        environment["GIT_CONFIG_GLOBAL"] = global;
        provider = std::make_shared<engine::GitExecutorProvider>(
            engine::GitLocator::fromEnvironment(runner, std::make_shared<system::LocalFileSystem>()), runner,
            engine::GitEnvironment::Isolation{repo.home(), global}, std::nullopt, environment);
        client = std::make_shared<engine::GitRepositoryClientLive>(provider, files, clock);
    }

    // Fakes of every port but the live repository client and file store.
    features::Dependencies liveRepository() const {
        FakePorts fakes;
        features::Dependencies dependencies = fakes.dependencies();
        dependencies.repository = client;
        dependencies.files = files;
        return dependencies;
    }

    // The same with the live git client, the inotify watcher, the system
    // clock and no credential prompts; the registry stays a fake.
    features::Dependencies liveGit() const {
        features::Dependencies dependencies = liveRepository();
        dependencies.git = std::make_shared<engine::GitClientLive>(provider);
        dependencies.watcher = std::make_shared<system::InotifyWatcher>();
        dependencies.clock = clock;
        dependencies.credentials = std::make_shared<system::NullCredentialBroker>();
        return dependencies;
    }

    void open(features::AppState state, const features::Dependencies& dependencies) {
        store = std::make_unique<features::Store<AppStoreHarness::RecordingReducer>>(
            std::move(state), AppStoreHarness::RecordingReducer{features::AppReducer(dependencies), log}, executor);
    }

    const features::AppState& state() const { return store->state(); }

    // Runs the main queue on this thread until `done` holds; false after
    // `limit`.
    bool pumpUntil(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(30)) {
        return pumpMainQueue(*queue, done, limit);
    }

    // How many workspace actions of case `Case` were reduced so far.
    template <class Case>
    std::size_t count() const {
        std::size_t found = 0;
        for (const auto& reduction : log->reductions) {
            const auto* action = std::get_if<features::WorkspaceAction>(&reduction.action.value);
            if (action && std::holds_alternative<Case>(action->value)) ++found;
        }
        return found;
    }
};

}  // namespace tarv::testing
