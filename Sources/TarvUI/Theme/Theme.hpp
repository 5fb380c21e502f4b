#pragma once

#include "TarvUI/Theme/ThemeColor.hpp"

namespace tarv::ui {

// The 26 colour roles of a palette. Views draw with the styles built from it
// (ThemeStyles); they read a raw role only where a style needs one colour
// replaced (syntax colours, emphasis tints, glyph colours).
struct Theme {
    ThemeColor background;
    ThemeColor surface;
    ThemeColor surfaceRaised;
    ThemeColor border;
    ThemeColor textPrimary;
    ThemeColor textSecondary;
    ThemeColor textOnAccent;
    ThemeColor accent;
    ThemeColor selection;
    ThemeColor selectionFocused;
    ThemeColor success;
    ThemeColor danger;
    ThemeColor warning;
    ThemeColor diffAddedBackground;
    ThemeColor diffRemovedBackground;
    ThemeColor diffAddedGutter;
    ThemeColor diffRemovedGutter;
    ThemeColor gutter;
    ThemeColor popover;
    ThemeColor syntaxKeyword;
    ThemeColor syntaxString;
    ThemeColor syntaxComment;
    ThemeColor syntaxNumber;
    ThemeColor syntaxType;
    ThemeColor diffAddedEmphasis;
    ThemeColor diffRemovedEmphasis;

    static const Theme dark;
    static const Theme light;

    bool operator==(const Theme&) const = default;
};

inline constexpr Theme Theme::dark{
    ThemeColor::hex(0x1c2128), ThemeColor::hex(0x22272e), ThemeColor::hex(0x2d333b), ThemeColor::hex(0x444c56),
    ThemeColor::hex(0xcdd9e5), ThemeColor::hex(0x768390), ThemeColor::hex(0xffffff), ThemeColor::hex(0x316dca),
    ThemeColor::hex(0x373e47), ThemeColor::hex(0x3b4a63), ThemeColor::hex(0x57ab5a), ThemeColor::hex(0xe5534b),
    ThemeColor::hex(0xc69026), ThemeColor::hex(0x1b3a25), ThemeColor::hex(0x4a2428), ThemeColor::hex(0x24562f),
    ThemeColor::hex(0x6b2f34), ThemeColor::hex(0x252b33), ThemeColor::hex(0x2d333b), ThemeColor::hex(0xf47067),
    ThemeColor::hex(0x96d0ff), ThemeColor::hex(0x768390), ThemeColor::hex(0x6cb6ff), ThemeColor::hex(0xf69d50),
    ThemeColor::hex(0x2e6b3b), ThemeColor::hex(0x7d3238),
};

inline constexpr Theme Theme::light{
    ThemeColor::hex(0xffffff), ThemeColor::hex(0xf6f8fa), ThemeColor::hex(0xeaeef2), ThemeColor::hex(0xd0d7de),
    ThemeColor::hex(0x1f2328), ThemeColor::hex(0x656d76), ThemeColor::hex(0xffffff), ThemeColor::hex(0x0969da),
    ThemeColor::hex(0xe2e8ee), ThemeColor::hex(0xd3e3f8), ThemeColor::hex(0x1a7f37), ThemeColor::hex(0xcf222e),
    ThemeColor::hex(0x9a6700), ThemeColor::hex(0xe6ffec), ThemeColor::hex(0xffebe9), ThemeColor::hex(0xccffd8),
    ThemeColor::hex(0xffd7d5), ThemeColor::hex(0xf0f3f6), ThemeColor::hex(0xffffff), ThemeColor::hex(0xcf222e),
    ThemeColor::hex(0x0a3069), ThemeColor::hex(0x6e7781), ThemeColor::hex(0x0550ae), ThemeColor::hex(0x953800),
    ThemeColor::hex(0xabf2bc), ThemeColor::hex(0xffc1bc),
};

}  // namespace tarv::ui
