#include <gtest/gtest.h>

#include "TarvTerminal/Style/ColorDowngrade.hpp"
#include "TarvTerminal/Style/Style.hpp"

namespace tarv::terminal {
namespace {

TEST(ColorDowngrade, Indexed256Table) {
    struct Case {
        int r, g, b, expected;
    };
    const Case cases[] = {
        {0, 0, 0, 16},       {255, 255, 255, 231}, {8, 8, 8, 232},   {7, 7, 7, 16},   {249, 249, 249, 231},
        {128, 128, 128, 243}, {248, 248, 248, 255}, {255, 0, 0, 196}, {0, 95, 135, 24}, {47, 48, 114, 23},
        {0, 0, 115, 18},     {0, 0, 114, 17},       {0, 0, 235, 21},  {0, 0, 234, 20},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ColorDowngrade::indexed256(static_cast<std::uint8_t>(c.r), static_cast<std::uint8_t>(c.g),
                                             static_cast<std::uint8_t>(c.b)),
                  c.expected)
            << c.r << "," << c.g << "," << c.b;
    }
}

TEST(ColorDowngrade, Indexed16Table) {
    struct Case {
        int r, g, b, expected;
    };
    const Case cases[] = {
        {0, 0, 0, 0}, {255, 255, 255, 15}, {205, 49, 49, 1}, {128, 128, 128, 8}, {59, 142, 234, 12},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ColorDowngrade::indexed16(static_cast<std::uint8_t>(c.r), static_cast<std::uint8_t>(c.g),
                                            static_cast<std::uint8_t>(c.b)),
                  c.expected);
    }
}

TEST(Color, HexIgnoresTheTopByte) {
    EXPECT_EQ(Color::hex(0x0969DA), Color::rgb(9, 105, 218));
    EXPECT_EQ(Color::hex(0xFF0969DA), Color::hex(0x0969DA));
    EXPECT_NE(Color::rgb(0, 0, 0), Color::indexed(16));
    EXPECT_EQ(Color::defaultColor(), Color::defaultColor());
}

TEST(Style, WithReplacesGivenColoursAndOnlyAddsAttributes) {
    const Style s = Style::plain.with(std::nullopt, Color::indexed(4), Attributes::bold);
    EXPECT_EQ(s.foreground, Color::defaultColor());
    EXPECT_EQ(s.background, Color::indexed(4));
    EXPECT_EQ(s.attributes, Attributes::bold);
    EXPECT_EQ(s.with(std::nullopt, std::nullopt), s);
    EXPECT_EQ(s.with(Color::rgb(1, 2, 3), std::nullopt, Attributes{}).attributes, Attributes::bold);
}

TEST(Attributes, SetOperations) {
    Attributes a{Attributes::bold, Attributes::underline};
    EXPECT_EQ(a.rawValue, 9);
    EXPECT_TRUE(a.contains(Attributes::bold));
    EXPECT_FALSE(a.contains(Attributes::dim));
    a.remove(Attributes::bold);
    EXPECT_EQ(a, Attributes::underline);
    EXPECT_TRUE(Attributes{}.isEmpty());
    EXPECT_TRUE(Attributes::underline.isSubset(Attributes{Attributes::underline, Attributes::inverse}));
}

}  // namespace
}  // namespace tarv::terminal
