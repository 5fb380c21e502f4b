#include <gtest/gtest.h>

#include "TarvUI/Theme/ThemeStyles.hpp"

namespace tarv::ui {
namespace {

using terminal::Attributes;
using terminal::Color;
using terminal::Style;

TEST(ThemeColor, HexTakesTheLowThreeBytes) {
    EXPECT_EQ(ThemeColor::hex(0x316dca), ThemeColor(0x31, 0x6d, 0xca));
    EXPECT_EQ(ThemeColor::hex(0xff316dca), ThemeColor(0x31, 0x6d, 0xca));
    EXPECT_EQ(ThemeColor::hex(0x316dca).color(), Color::rgb(0x31, 0x6d, 0xca));
}

TEST(Theme, PalettesKeepTheirRolesApart) {
    EXPECT_EQ(Theme::dark.popover, Theme::dark.surfaceRaised);
    EXPECT_EQ(Theme::dark.syntaxComment, Theme::dark.textSecondary);
    EXPECT_EQ(Theme::dark.accent, ThemeColor::hex(0x316dca));
    EXPECT_EQ(Theme::light.diffRemovedEmphasis, ThemeColor::hex(0xffc1bc));
    EXPECT_NE(Theme::dark, Theme::light);
    Theme changed = Theme::dark;
    changed.diffRemovedEmphasis = ThemeColor::hex(0x7d3239);
    EXPECT_NE(changed, Theme::dark);
    EXPECT_EQ(Theme(Theme::dark), Theme::dark);
}

TEST(ThemeStyles, RolesTakeTheirColoursFromTheTheme) {
    const Theme& t = Theme::light;
    const ThemeStyles s(t, false);
    struct Case {
        const char* name;
        Style style;
        ThemeColor foreground;
        ThemeColor background;
        Attributes attributes;
    };
    const Case cases[] = {
        {"background", s.background, t.textPrimary, t.background, {}},
        {"dim", s.dim, t.textSecondary, t.background, {}},
        {"bold", s.bold, t.textPrimary, t.background, Attributes::bold},
        {"accentBold", s.accentBold, t.accent, t.background, Attributes::bold},
        {"selected", s.selected, t.textPrimary, t.selection, {}},
        {"selectedFocused", s.selectedFocused, t.textPrimary, t.selectionFocused, Attributes::bold},
        {"toolbarValue", s.toolbarValue, t.textPrimary, t.surfaceRaised, Attributes::bold},
        {"border", s.border, t.border, t.background, {}},
        {"button", s.button, t.textOnAccent, t.accent, Attributes::bold},
        {"fieldFocused", s.fieldFocused, t.textPrimary, t.surfaceRaised, Attributes::underline},
        {"popoverBorder", s.popoverBorder, t.accent, t.popover, {}},
        {"hintKey", s.hintKey, t.accent, t.surfaceRaised, Attributes::bold},
        {"toast", s.toast, t.textOnAccent, t.accent, {}},
        {"toastError", s.toastError, t.textOnAccent, t.danger, Attributes::bold},
        {"gutter", s.gutter, t.textSecondary, t.gutter, {}},
        {"diffRemovedGutter", s.diffRemovedGutter, t.textPrimary, t.diffRemovedGutter, {}},
        {"hunk", s.hunk, t.textSecondary, t.surface, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.style, (Style{c.foreground.color(), c.background.color(), c.attributes})) << c.name;
    }
    EXPECT_EQ(s.background, s.text);
    EXPECT_EQ(s.background, s.diffContext);
    EXPECT_EQ(s.theme, t);
}

TEST(ThemeStyles, MonochromeAddsInverseToSelectionAndButtonOnly) {
    const ThemeStyles colour(Theme::dark, false);
    const ThemeStyles mono(Theme::dark, true);
    EXPECT_FALSE(colour.monochrome);
    EXPECT_TRUE(mono.monochrome);
    EXPECT_EQ(mono.selected.attributes, Attributes::inverse);
    EXPECT_EQ(mono.selectedFocused.attributes, (Attributes{Attributes::bold, Attributes::inverse}));
    EXPECT_EQ(mono.button.attributes, (Attributes{Attributes::bold, Attributes::inverse}));
    EXPECT_EQ(mono.selected.background, colour.selected.background);

    ThemeStyles restored = mono;
    restored.selected = colour.selected;
    restored.selectedFocused = colour.selectedFocused;
    restored.button = colour.button;
    restored.monochrome = false;
    EXPECT_EQ(restored, colour);
}

}  // namespace
}  // namespace tarv::ui
