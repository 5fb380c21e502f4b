#include <gtest/gtest.h>

#include <memory>

#include "Support/GitScriptedRunner.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvCore/Errors/ProcessError.hpp"
#include "TarvEngine/Service/GitExecutor.hpp"

namespace tarv::engine {
namespace {

using testing::GitScriptedRunner;
using namespace std::chrono_literals;

struct GitExecutorTest : ::testing::Test {
    std::shared_ptr<GitScriptedRunner> runner = std::make_shared<GitScriptedRunner>();
    GitExecutor executor{runner, GitInstallation{"/opt/git", core::GitVersion{2, 39, 5}}};

    core::ProcessSpec lastSpec() const { return runner->specs().back(); }
};

TEST_F(GitExecutorTest, BuildsTheRequest) {
    executor.run({"status"}, "/repo", std::stop_token{});
    core::ProcessSpec spec = lastSpec();
    EXPECT_EQ(spec.executable, "/opt/git");
    EXPECT_EQ(spec.arguments,
              (std::vector<std::string>{"-c", "core.quotePath=false", "-c", "color.ui=false", "status"}));
    EXPECT_EQ(spec.currentDirectory, "/repo");
    EXPECT_TRUE(spec.inheritEnvironment);
    EXPECT_EQ(spec.stdin, std::nullopt);
    EXPECT_EQ(spec.timeout, 60s);
    EXPECT_EQ(spec.environment.at("GIT_OPTIONAL_LOCKS"), "0");
    EXPECT_EQ(spec.environment.at("LC_ALL"), "C");
}

TEST_F(GitExecutorTest, EmptyArgumentsStillGetTheBaseArguments) {
    executor.run({}, std::nullopt, std::stop_token{});
    EXPECT_EQ(lastSpec().arguments.size(), 4u);
    EXPECT_EQ(lastSpec().currentDirectory, std::nullopt);
}

TEST_F(GitExecutorTest, OptionsReachTheRequest) {
    executor.run({"commit", "-F", "-"}, "/repo",
                 {.readOnly = false, .stdin = core::toBytes("message\n"), .timeout = 300s}, std::stop_token{});
    core::ProcessSpec spec = lastSpec();
    EXPECT_FALSE(spec.environment.contains("GIT_OPTIONAL_LOCKS"));
    EXPECT_EQ(spec.stdin, core::toBytes("message\n"));
    EXPECT_EQ(spec.timeout, 300s);
}

TEST_F(GitExecutorTest, LaterEnvironmentLayersWin) {
    executor.askpass = GitEnvironment::Askpass{"/bin/askpass", "/bin/ssh-askpass"};
    executor.extraEnvironment = {{"GIT_EDITOR", "extra"}, {"TARV_ASKPASS_TOKEN", "t"}, {"SHARED", "extra"}};
    executor.run({"x"}, std::nullopt, {.environment = {{"SHARED", "call"}, {"GIT_PAGER", "less"}}}, std::stop_token{});
    const auto& environment = lastSpec().environment;
    EXPECT_EQ(environment.at("GIT_EDITOR"), "extra");
    EXPECT_EQ(environment.at("GIT_PAGER"), "less");
    EXPECT_EQ(environment.at("SHARED"), "call");
    EXPECT_EQ(environment.at("TARV_ASKPASS_TOKEN"), "t");
    EXPECT_EQ(environment.at("SSH_ASKPASS_REQUIRE"), "force");
}

TEST_F(GitExecutorTest, ExitCodes) {
    runner->setScript([](const core::ProcessSpec&, std::stop_token) {
        return GitScriptedRunner::result(128, "out", "fatal: no HEAD\n\n");
    });
    auto allowed = executor.run({"log", "-1"}, "/repo", {.allowedExitCodes = {0, 128}}, std::stop_token{});
    EXPECT_EQ(allowed.exitCode, 128);
    EXPECT_EQ(allowed.stdout, core::toBytes("out"));

    try {
        executor.run({"log", "a b", "-1"}, "/repo", std::stop_token{});
        FAIL() << "expected commandFailed";
    } catch (const core::GitError& error) {
        EXPECT_EQ(error, core::GitError::commandFailed("git log a b -1", 128, "fatal: no HEAD"));
    }
}

TEST_F(GitExecutorTest, ProcessErrorsPassThrough) {
    runner->setScript([](const core::ProcessSpec&, std::stop_token) -> core::ProcessResult {
        throw core::ProcessError::timedOut();
    });
    EXPECT_THROW(executor.run({"fetch"}, "/repo", {.allowedExitCodes = {0, 1, 128}}, std::stop_token{}),
                 core::ProcessError);
}

}  // namespace
}  // namespace tarv::engine
