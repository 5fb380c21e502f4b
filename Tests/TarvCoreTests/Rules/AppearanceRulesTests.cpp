#include "TarvCore/Rules/AppearanceRules.hpp"

#include <gtest/gtest.h>

using namespace tarv::core::AppearanceRules;

TEST(AppearanceRules, FlagWinsThenInterfaceStyle) {
    using O = std::optional<std::string>;
    struct Case {
        O flag, style;
        Appearance expected;
    };
    const std::vector<Case> cases = {
        {"light", "Dark", Appearance::light}, {"dark", std::nullopt, Appearance::dark},
        {"auto", "Dark", Appearance::dark},   {"DARK", std::nullopt, Appearance::light},
        {"DARK", "Dark", Appearance::dark},   {std::nullopt, std::nullopt, Appearance::light},
        {std::nullopt, "dark", Appearance::light},
    };
    for (const auto& c : cases) EXPECT_EQ(resolve(c.flag, c.style), c.expected);
}
