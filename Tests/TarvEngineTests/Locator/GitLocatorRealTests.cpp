#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>

#include "Support/TempGitRepo.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvEngine/Locator/GitLocator.hpp"
#include "TarvSystem/FileSystem/LocalFileSystem.hpp"
#include "TarvSystem/Process/PosixProcessRunner.hpp"

namespace tarv::engine {
namespace {

using tarv::testing::TempGitRepo;

struct GitLocatorRealTest : ::testing::Test {
    std::shared_ptr<system::PosixProcessRunner> runner = std::make_shared<system::PosixProcessRunner>();
    std::shared_ptr<system::LocalFileSystem> files = std::make_shared<system::LocalFileSystem>();
    TempGitRepo folder{TempGitRepo::Start::emptyFolder};

    std::string script(const std::string& name, const std::string& body) {
        std::string path = folder.makeFolder("bin") + "/" + name;
        folder.writeFile("../bin/" + name, "#!/bin/sh\n" + body + "\n");
        ::chmod(path.c_str(), 0755);
        return path;
    }
};

TEST_F(GitLocatorRealTest, FindsGitOnThisMachineWithoutAnyVariable) {
    if (std::getenv("TARV_GIT")) GTEST_SKIP() << "TARV_GIT is set";
    auto installation = GitLocator::fromEnvironment(runner, files).locate(std::stop_token{});
    EXPECT_EQ(installation.path.substr(installation.path.size() - 4), "/git");
    EXPECT_GE(installation.version, (core::GitVersion{2, 30, 0}));

    // Even with an empty search path the fixed paths find Debian's git.
    auto fallback = GitLocator{runner, files, std::nullopt, ""}.locate(std::stop_token{});
    EXPECT_EQ(fallback.path, "/usr/bin/git");
}

TEST_F(GitLocatorRealTest, OverrideAndSearchPathComeBeforeTheFixedPaths) {
    std::string fake = script("git", "echo 'git version 9.8.7'");
    auto onPath = GitLocator{runner, files, std::nullopt, "/nonexistent:" + folder.root() + "/bin:/usr/bin"}.locate(
        std::stop_token{});
    EXPECT_EQ(onPath, (GitInstallation{fake, core::GitVersion{9, 8, 7}}));

    std::string chosen = script("my-git", "echo 'git version 2.31.1.custom'");
    auto overridden = GitLocator{runner, files, chosen, "/usr/bin"}.locate(std::stop_token{});
    EXPECT_EQ(overridden, (GitInstallation{chosen, core::GitVersion{2, 31, 1}}));
}

TEST_F(GitLocatorRealTest, CandidatesThatFailAreSkipped) {
    std::string silent = script("silent", "echo hello");
    std::string failing = script("git", "echo 'git version 2.40.0'; exit 3");
    auto installation =
        GitLocator{runner, files, silent, folder.root() + "/bin"}.locate(std::stop_token{});
    EXPECT_NE(installation.path, silent);
    EXPECT_NE(installation.path, failing);
}

}  // namespace
}  // namespace tarv::engine
