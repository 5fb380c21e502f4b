#include "TarvCore/Models/GitHubRepository.hpp"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace tarv::core;

TEST(GitHubRepository, NameIsTheLastPieceOfTheFullName) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"octo/tools", "tools"}, {"tools", "tools"}, {"octo/tools/", "tools"}, {"", ""}, {"//", "//"},
    };
    for (const auto& [full, name] : cases) EXPECT_EQ((GitHubRepository{full, false, "", false}.name()), name);
}
