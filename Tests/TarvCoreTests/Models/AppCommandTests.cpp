#include "TarvCore/Models/AppCommand.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string_view>

using namespace tarv::core;

TEST(AppCommand, IdentifiersAreTheCaseNamesAndDistinct) {
    EXPECT_EQ(allAppCommands.size(), 61u);
    std::set<std::string_view> seen;
    for (AppCommand command : allAppCommands) {
        EXPECT_TRUE(seen.insert(identifier(command)).second);
        EXPECT_EQ(appCommand(identifier(command)), command);
    }
    EXPECT_EQ(identifier(AppCommand::toggleSplitDiff), "toggleSplitDiff");
    EXPECT_EQ(identifier(allAppCommands.front()), "showChanges");
    EXPECT_EQ(identifier(allAppCommands.back()), "quit");
    EXPECT_EQ(appCommand("Commit"), std::nullopt);
}
