#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <set>
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
                                 GitEnvironment::Isolation{"/h", "/h/c"},
                                 GitEnvironment::Askpass{"/askpass", "/ssh-askpass"}, {{"K", "V"}}};
};

TEST_F(GitExecutorProviderTest, LocatesOnceAndHandsOutTheSameExecutor) {
    GitExecutor first = provider.executor(std::stop_token{});
    GitExecutor second = provider.executor(std::stop_token{});
    EXPECT_EQ(first, second);
    EXPECT_EQ(locatorRunner->specs().size(), 1u);
    EXPECT_EQ(first.runner, gitRunner);
    EXPECT_EQ(first.installation, (GitInstallation{"/usr/bin/git", core::GitVersion{2, 39, 5}}));
    EXPECT_EQ(first.isolation, (GitEnvironment::Isolation{"/h", "/h/c"}));
    EXPECT_EQ(first.askpass, (GitEnvironment::Askpass{"/askpass", "/ssh-askpass"}));
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

// A read beside the lookup: which git it ran with, in order, and what it
// returned. The override is probed first, /usr/bin/git last.
TEST(GitExecutorProvider, AReadBesideTheLookupCountsOnlyWithTheGitTheLookupFinds) {
    const std::string override = "/opt/git/bin/git";
    const struct Case {
        const char* name;
        std::set<std::string> executables;
        std::set<std::string> notGit;  // executables whose --version fails
        bool locatedBefore;
        std::vector<std::string> reads;
        std::optional<std::string> result;  // none: GitError
    } cases[] = {
        {"the first candidate is git", {"/usr/bin/git"}, {}, false, {"/usr/bin/git"}, "/usr/bin/git"},
        {"located before: no second probe", {"/usr/bin/git"}, {}, true, {"/usr/bin/git"}, "/usr/bin/git"},
        {"the first candidate is not git: read again",
         {override, "/usr/bin/git"},
         {override},
         false,
         {override, "/usr/bin/git"},
         "/usr/bin/git"},
        {"no candidate answers", {override}, {override}, false, {override}, std::nullopt},
        {"no candidate at all", {}, {}, false, {}, std::nullopt},
    };
    for (const auto& c : cases) {
        struct Executables final : core::FileSystem {
            std::set<std::string> paths;
            bool isExecutableFile(const std::string& path) const override { return paths.contains(path); }
        };
        auto files = std::make_shared<Executables>();
        files->paths = c.executables;
        auto probe = std::make_shared<GitScriptedRunner>([&](const core::ProcessSpec& spec, std::stop_token) {
            return c.notGit.contains(spec.executable) ? GitScriptedRunner::result(1)
                                                      : GitScriptedRunner::result(0, "git version 2.39.5");
        });
        GitExecutorProvider provider{GitLocator{probe, files, override, std::nullopt},
                                     std::make_shared<GitScriptedRunner>(), std::nullopt, std::nullopt};
        if (c.locatedBefore) provider.executor(std::stop_token{});
        std::vector<std::string> reads;
        std::optional<std::string> result;
        try {
            result = provider.besideLookup(std::stop_token{}, [&](const GitExecutor& git) {
                reads.push_back(git.installation.path);
                return git.installation.path;
            });
        } catch (const core::GitError&) {
        }
        EXPECT_EQ(reads, c.reads) << c.name;
        EXPECT_EQ(result, c.result) << c.name;
        EXPECT_LE(probe->specs().size(), c.executables.size()) << c.name;  // each candidate probed at most once
    }
}

// The read does not wait for the probe: here the probe answers only once
// the read has run (or after 20 s, which then fails the test).
TEST(GitExecutorProvider, AReadBesideTheLookupStartsBeforeTheProbeAnswers) {
    std::atomic<bool> read{false};
    std::atomic<bool> answered{false};
    auto probe = std::make_shared<GitScriptedRunner>([&](const core::ProcessSpec&, std::stop_token) {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!read && std::chrono::steady_clock::now() < limit) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        answered = true;
        return GitScriptedRunner::result(0, "git version 2.39.5");
    });
    GitExecutorProvider provider{GitLocator{probe, std::make_shared<ExecutableSet>(), std::nullopt, std::nullopt},
                                 std::make_shared<GitScriptedRunner>(), std::nullopt, std::nullopt};
    const bool answeredBeforeTheRead = provider.besideLookup(std::stop_token{}, [&](const GitExecutor&) {
        const bool before = answered;
        read = true;
        return before;
    });
    EXPECT_FALSE(answeredBeforeTheRead);
    EXPECT_EQ(probe->specs().size(), 1u);
    EXPECT_EQ(provider.executor(std::stop_token{}).installation.version, (core::GitVersion{2, 39, 5}));
}

}  // namespace
}  // namespace tarv::engine
