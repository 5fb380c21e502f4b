#include <gtest/gtest.h>

#include <fstream>

#include "TarvCore/Errors/GitError.hpp"
#include "TarvEngine/Commands/GitConfigCommands.hpp"
#include "TarvEngineTests/Commands/RealGit.hpp"

namespace tarv::engine {
namespace {

using tarv::testing::TempGitRepo;

struct GitConfigCommandsTest : ::testing::Test {
    TempGitRepo repo;
    GitConfigCommands config{testing::realExecutor(repo)};
    std::stop_token none;
};

TEST_F(GitConfigCommandsTest, ValuesFromEveryFileInGitsOrder) {
    repo.git({"config", "--global", "--add", "x.key", "global value"});
    repo.setConfig("x.key", "  local value  ");
    EXPECT_EQ(config.values("x.key", repo.path(), none), (std::vector<std::string>{"global value", "local value"}));
    EXPECT_EQ(config.value("x.key", repo.path(), none), "local value");
    // Outside the repository only the global file counts.
    EXPECT_EQ(config.value("x.key", std::nullopt, none), "global value");
}

TEST_F(GitConfigCommandsTest, UnsetAndBlankValuesGiveNothing) {
    EXPECT_TRUE(config.values("x.unset", repo.path(), none).empty());
    EXPECT_EQ(config.value("x.unset", repo.path(), none), std::nullopt);
    repo.setConfig("x.blank", "   ");
    EXPECT_TRUE(config.values("x.blank", repo.path(), none).empty());
    EXPECT_EQ(config.value("x.blank", repo.path(), none), std::nullopt);
}

// One run for several keys gives each key what its own run gives: values
// from every file in order, blank and valueless entries dropped, names
// without regard to case, subsections not matched, a
// value holding a line break split as the line-wise output splits it.
TEST_F(GitConfigCommandsTest, SeveralKeysInOneRunAgreeWithOneRunPerKey) {
    std::ofstream(repo.globalConfig()) << (
                   "[user]\n\tname\n\temail = \"  a@b  \"\n[User]\n\tNAME = Second Name\n"
                   "[credential]\n\thelper = store\n\thelper =\n\thelper = \"two\\nlines\"\n"
                   "[credential \"https://x\"]\n\thelper = other\n");
    repo.setConfig("init.defaultBranch", "trunk");
    const std::vector<std::string> keys{"user.name", "user.email", "credential.helper", "init.defaultBranch",
                                        "x.unset"};
    const auto together = config.valuesOfKeys(keys, repo.path(), none);
    ASSERT_EQ(together.size(), keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(together[i], config.values(keys[i], repo.path(), none)) << keys[i];
    }
    EXPECT_EQ(together[0], (std::vector<std::string>{"Second Name"}));
    EXPECT_EQ(together[2], (std::vector<std::string>{"store", "two", "lines"}));
    EXPECT_EQ(together[3], (std::vector<std::string>{"trunk"}));
    EXPECT_TRUE(together[4].empty());
}

TEST_F(GitConfigCommandsTest, SetGlobalWritesTheIsolatedFile) {
    config.setGlobal("user.name", "Ada Lovelace", none);
    config.setGlobal("x.empty", "", none);
    EXPECT_EQ(repo.git({"config", "--global", "user.name"}), "Ada Lovelace\n");
    EXPECT_EQ(repo.run({"config", "--global", "x.empty"}).exitCode, 0);
}

TEST_F(GitConfigCommandsTest, BrokenConfigurationFails) {
    repo.writeFile(".git/config", "[broken\n");
    try {
        config.values("user.name", repo.path(), none);
        FAIL() << "expected commandFailed";
    } catch (const core::GitError& error) {
        auto* failed = std::get_if<core::GitError::CommandFailed>(&error.value);
        ASSERT_NE(failed, nullptr);
        EXPECT_EQ(failed->command, "git config --get-all user.name");
        EXPECT_FALSE(failed->stderr.empty());
    }
}

}  // namespace
}  // namespace tarv::engine
