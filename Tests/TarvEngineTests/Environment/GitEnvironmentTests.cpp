#include <gtest/gtest.h>

#include "TarvEngine/Environment/GitEnvironment.hpp"

namespace tarv::engine {
namespace {

using Map = std::map<std::string, std::string>;

const Map fixed{{"GIT_TERMINAL_PROMPT", "0"}, {"GIT_PAGER", "cat"}, {"GIT_EDITOR", ":"}, {"LC_ALL", "C"}};

TEST(GitEnvironment, BaseArguments) {
    EXPECT_EQ(GitEnvironment::baseArguments(),
              (std::vector<std::string>{"-c", "core.quotePath=false", "-c", "color.ui=false"}));
}

TEST(GitEnvironment, Variables) {
    EXPECT_EQ(GitEnvironment::variables(false, std::nullopt, std::nullopt), fixed);

    Map readOnlyAskpass = fixed;
    readOnlyAskpass.insert({{"GIT_OPTIONAL_LOCKS", "0"},
                            {"GIT_ASKPASS", "/x/askpass"},
                            {"SSH_ASKPASS", "/x/ssh-askpass"},
                            {"SSH_ASKPASS_REQUIRE", "force"}});
    EXPECT_EQ(GitEnvironment::variables(true, GitEnvironment::Askpass{"/x/askpass", "/x/ssh-askpass"}, std::nullopt), readOnlyAskpass);

    Map isolated = fixed;
    isolated.insert({{"HOME", "/h"}, {"GIT_CONFIG_GLOBAL", "/h/config"}, {"GIT_CONFIG_NOSYSTEM", "1"}});
    EXPECT_EQ(GitEnvironment::variables(false, std::nullopt, GitEnvironment::Isolation{"/h", "/h/config"}), isolated);

    isolated.erase("GIT_CONFIG_NOSYSTEM");
    EXPECT_EQ(GitEnvironment::variables(false, std::nullopt, GitEnvironment::Isolation{"/h", "/h/config", false}),
              isolated);
}

TEST(GitEnvironment, LiteralPathspecs) {
    EXPECT_EQ(GitEnvironment::literalPathspecs(), (Map{{"GIT_LITERAL_PATHSPECS", "1"}}));
}

}  // namespace
}  // namespace tarv::engine
