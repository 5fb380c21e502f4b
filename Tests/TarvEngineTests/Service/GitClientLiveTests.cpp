#include <gtest/gtest.h>

#include "Support/GitScriptedRunner.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvEngine/Service/GitClientLive.hpp"
#include "TarvEngineTests/Commands/RealGit.hpp"

namespace tarv::engine {
namespace {

using tarv::testing::GitScriptedRunner;
using tarv::testing::TempGitRepo;

// A client on the real git whose "global" configuration is the temporary
// repository's private file.
struct GitClientLiveTest : ::testing::Test {
    TempGitRepo repo{TempGitRepo::Start::emptyFolder};
    std::shared_ptr<system::PosixProcessRunner> runner = std::make_shared<system::PosixProcessRunner>();

    GitClientLive client() {
        GitExecutor executor = testing::realExecutor(repo);
        GitLocator locator{runner, std::make_shared<testing::DiskExecutables>(), executor.installation.path,
                           std::nullopt};
        auto provider = std::make_shared<GitExecutorProvider>(
            locator, runner, GitEnvironment::Isolation{repo.home(), repo.globalConfig()}, std::nullopt,
            repo.environment());
        return GitClientLive(provider);
    }

    void writeGlobal(const std::string& text) { repo.writeFile("../home/gitconfig", text); }
};

TEST_F(GitClientLiveTest, ReportsGitAndTheConfiguration) {
    writeGlobal(
        "[user]\n\tname = First\n\tname = Ada\n\temail = ada@example.com\n"
        "[credential]\n\thelper = cache\n\thelper = store --file x\n"
        "[init]\n\tdefaultBranch = trunk\n");
    auto report = client().probeEnvironment(std::stop_token{});
    ASSERT_TRUE(report.gitPath.has_value());
    EXPECT_TRUE(report.gitVersion.has_value());
    EXPECT_EQ(report.identity, (core::Identity{"Ada", "ada@example.com"}));
    EXPECT_EQ(report.credentialHelpers, (std::vector<std::string>{"cache", "store --file x"}));
    EXPECT_EQ(report.defaultBranch, "trunk");
}

TEST_F(GitClientLiveTest, MissingIdentityIsAbsentNotAnError) {
    writeGlobal("");
    auto report = client().probeEnvironment(std::stop_token{});
    EXPECT_TRUE(report.gitPath.has_value());
    EXPECT_EQ(report.identity, core::Identity{});
    EXPECT_TRUE(report.credentialHelpers.empty());
    EXPECT_EQ(report.defaultBranch, std::nullopt);
}

TEST_F(GitClientLiveTest, BrokenConfigurationThrows) {
    writeGlobal("[user\n");
    EXPECT_THROW(client().probeEnvironment(std::stop_token{}), core::GitError);
}

TEST_F(GitClientLiveTest, SetGlobalConfigWritesTheGlobalFile) {
    auto git = client();
    git.setGlobalConfig("user.name", "Grace Hopper", std::stop_token{});
    EXPECT_EQ(git.probeEnvironment(std::stop_token{}).identity.name, "Grace Hopper");
}

TEST(GitClientLive, NoGitGivesTheEmptyReportAndNoWrite) {
    struct NothingExecutable final : core::FileSystem {
        bool isExecutableFile(const std::string&) const override { return false; }
    };
    auto runner = std::make_shared<GitScriptedRunner>();
    GitClientLive client(GitLocator{runner, std::make_shared<NothingExecutable>(), "/x", "/usr/bin"}, runner,
                         std::nullopt);
    EXPECT_EQ(client.probeEnvironment(std::stop_token{}), core::EnvironmentReport{});
    EXPECT_THROW(client.setGlobalConfig("user.name", "x", std::stop_token{}), core::GitError);
    EXPECT_TRUE(runner->specs().empty());
}

}  // namespace
}  // namespace tarv::engine
