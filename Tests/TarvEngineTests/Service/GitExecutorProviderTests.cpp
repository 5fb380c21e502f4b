#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "Support/GitScriptedRunner.hpp"
#include "TarvCore/Concurrency/CancellationError.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvEngine/Service/GitExecutorProvider.hpp"

namespace tarv::engine {
namespace {

using testing::GitScriptedRunner;

struct ExecutableSet final : core::FileSystem {
    std::atomic<bool> present{true};
    bool isExecutableFile(const std::string& path) const override { return present && path == "/usr/bin/git"; }
};

struct GitExecutorProviderTest : ::testing::Test {
    std::shared_ptr<GitScriptedRunner> locatorRunner = std::make_shared<GitScriptedRunner>(
        [](const core::ProcessSpec&, std::stop_token) { return GitScriptedRunner::result(0, "git version 2.39.5"); });
    std::shared_ptr<GitScriptedRunner> gitRunner = std::make_shared<GitScriptedRunner>();
    std::shared_ptr<ExecutableSet> files = std::make_shared<ExecutableSet>();
    GitExecutorProvider provider{GitLocator{locatorRunner, files, std::nullopt, std::nullopt}, gitRunner,
                                 GitEnvironment::Isolation{"/h", "/h/c"}, "/askpass", {{"K", "V"}}};
};

TEST_F(GitExecutorProviderTest, LocatesOnceAndHandsOutTheSameExecutor) {
    GitExecutor first = provider.executor(std::stop_token{});
    GitExecutor second = provider.executor(std::stop_token{});
    EXPECT_EQ(first, second);
    EXPECT_EQ(locatorRunner->specs().size(), 1u);
    EXPECT_EQ(first.runner, gitRunner);
    EXPECT_EQ(first.installation, (GitInstallation{"/usr/bin/git", core::GitVersion{2, 39, 5}}));
    EXPECT_EQ(first.isolation, (GitEnvironment::Isolation{"/h", "/h/c"}));
    EXPECT_EQ(first.askpass, "/askpass");
    EXPECT_EQ(first.extraEnvironment, (std::map<std::string, std::string>{{"K", "V"}}));
}

TEST_F(GitExecutorProviderTest, FailedLookupIsNotRemembered) {
    files->present = false;
    EXPECT_THROW(provider.executor(std::stop_token{}), core::GitError);
    files->present = true;
    EXPECT_NO_THROW(provider.executor(std::stop_token{}));
    EXPECT_NO_THROW(provider.executor(std::stop_token{}));
    EXPECT_EQ(locatorRunner->specs().size(), 1u);
}

// Callers that arrive while the (slow) probe runs wait for its answer: git
// is asked for its version once however many reads start together.
TEST(GitExecutorProvider, ConcurrentFirstCallsShareOneLookup) {
    auto slowProbe = std::make_shared<GitScriptedRunner>([](const core::ProcessSpec&, std::stop_token) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return GitScriptedRunner::result(0, "git version 2.39.5");
    });
    GitExecutorProvider provider{GitLocator{slowProbe, std::make_shared<ExecutableSet>(), std::nullopt, std::nullopt},
                                 std::make_shared<GitScriptedRunner>(), std::nullopt, std::nullopt};
    std::vector<std::jthread> threads;
    std::atomic<int> ok{0};
    for (int i = 0; i < 8; ++i) {
        threads.emplace_back([&] {
            if (provider.executor(std::stop_token{}).installation.path == "/usr/bin/git") ++ok;
        });
    }
    threads.clear();
    EXPECT_EQ(ok, 8);
    EXPECT_EQ(slowProbe->specs().size(), 1u);
}

// A waiter stopped before the lookup it waits for ends leaves at once; the
// lookup still serves later callers.
TEST(GitExecutorProvider, AWaiterStoppedWhileALookupRunsIsCancelled) {
    std::atomic<bool> probing{false};
    std::atomic<bool> release{false};
    auto heldProbe = std::make_shared<GitScriptedRunner>([&](const core::ProcessSpec&, std::stop_token) {
        probing = true;
        while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return GitScriptedRunner::result(0, "git version 2.39.5");
    });
    GitExecutorProvider provider{GitLocator{heldProbe, std::make_shared<ExecutableSet>(), std::nullopt, std::nullopt},
                                 std::make_shared<GitScriptedRunner>(), std::nullopt, std::nullopt};
    std::jthread first([&] { provider.executor(std::stop_token{}); });
    while (!probing) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::stop_source stop;
    stop.request_stop();
    EXPECT_THROW(provider.executor(stop.get_token()), core::CancellationError);
    release = true;
    first.join();
    EXPECT_NO_THROW(provider.executor(std::stop_token{}));
    EXPECT_EQ(heldProbe->specs().size(), 1u);
}

}  // namespace
}  // namespace tarv::engine
