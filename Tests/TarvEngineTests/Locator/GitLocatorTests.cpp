#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "Support/GitScriptedRunner.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvCore/Errors/ProcessError.hpp"
#include "TarvEngine/Locator/GitLocator.hpp"

namespace tarv::engine {
namespace {

using testing::GitScriptedRunner;
using namespace std::chrono_literals;

struct FakeFileSystem final : core::FileSystem {
    std::set<std::string> executables;
    mutable std::vector<std::string> asked;
    bool isExecutableFile(const std::string& path) const override {
        asked.push_back(path);
        return executables.contains(path);
    }
};

struct GitLocatorTest : ::testing::Test {
    std::shared_ptr<GitScriptedRunner> runner = std::make_shared<GitScriptedRunner>();
    std::shared_ptr<FakeFileSystem> files = std::make_shared<FakeFileSystem>();
    // Executable -> what it prints for --version (exit 0); "hang" times out,
    // "fail" exits 1.
    std::map<std::string, std::string> answers;

    void SetUp() override {
        runner->setScript([this](const core::ProcessSpec& spec, std::stop_token) {
            auto answer = answers.find(spec.executable);
            if (answer == answers.end()) throw core::ProcessError::spawnFailed(ENOENT);
            if (answer->second == "hang") throw core::ProcessError::timedOut();
            if (answer->second == "fail") return GitScriptedRunner::result(1, "", "no");
            return GitScriptedRunner::result(0, answer->second);
        });
    }

    GitLocator locator(std::optional<std::string> override, std::optional<std::string> path = std::nullopt) {
        return GitLocator{runner, files, std::move(override), std::move(path)};
    }

    std::vector<std::string> probed() const {
        std::vector<std::string> executables;
        for (const auto& spec : runner->specs()) executables.push_back(spec.executable);
        return executables;
    }
};

TEST_F(GitLocatorTest, OverrideComesFirst) {
    files->executables = {"/my/git", "/usr/bin/git"};
    answers = {{"/my/git", "git version 2.45.0.windows.1\n"}, {"/usr/bin/git", "git version 2.39.5\n"}};
    auto installation = locator("/my/git", "/usr/bin").locate(std::stop_token{});
    EXPECT_EQ(installation, (GitInstallation{"/my/git", core::GitVersion{2, 45, 0}}));
    auto spec = runner->specs().front();
    EXPECT_EQ(spec.arguments, std::vector<std::string>{"--version"});
    EXPECT_EQ(spec.timeout, 5s);
    EXPECT_EQ(spec.currentDirectory, std::nullopt);
    EXPECT_EQ(spec.stdin, std::nullopt);
    EXPECT_TRUE(spec.environment.empty());
}

TEST_F(GitLocatorTest, UnusableCandidatesAreSkippedSilently) {
    // Empty override ignored; the first git on the search path prints no
    // version; the Homebrew one hangs; the next fails; /usr/bin/git answers.
    files->executables = {"/a/git", "/opt/homebrew/bin/git", "/usr/local/bin/git", "/usr/bin/git"};
    answers = {{"/a/git", "hello"},
               {"/opt/homebrew/bin/git", "hang"},
               {"/usr/local/bin/git", "fail"},
               {"/usr/bin/git", "git version 2.39.5"}};
    auto installation = locator("", "relative:/nothing:/a").locate(std::stop_token{});
    EXPECT_EQ(installation.path, "/usr/bin/git");
    EXPECT_EQ(probed(), (std::vector<std::string>{"/a/git", "/opt/homebrew/bin/git", "/usr/local/bin/git",
                                                  "/usr/bin/git"}));
}

TEST_F(GitLocatorTest, NonExecutableOverrideIsSkipped) {
    files->executables = {"/usr/local/bin/git"};
    answers = {{"/usr/local/bin/git", "git version 2.30"}};
    auto installation = locator("/not/there").locate(std::stop_token{});
    EXPECT_EQ(installation, (GitInstallation{"/usr/local/bin/git", core::GitVersion{2, 30, 0}}));
    EXPECT_EQ(probed(), std::vector<std::string>{"/usr/local/bin/git"});
}

TEST_F(GitLocatorTest, NothingUsableThrowsGitNotFoundWithoutProbing) {
    try {
        locator(std::nullopt, "/x:/y").locate(std::stop_token{});
        FAIL() << "expected gitNotFound";
    } catch (const core::GitError& error) {
        EXPECT_EQ(error, core::GitError::gitNotFound());
    }
    EXPECT_TRUE(runner->specs().empty());
}

}  // namespace
}  // namespace tarv::engine
