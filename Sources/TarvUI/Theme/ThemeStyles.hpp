#pragma once

#include "TarvTerminal/Style/Style.hpp"
#include "TarvUI/Theme/Theme.hpp"

namespace tarv::ui {

// The named cell styles that views draw with, built from a theme. Every
// style has both colours set from the theme; the monochrome switch changes
// no colour, it adds `inverse` to `selected`, `selectedFocused` and `button`
// (and views then leave the syntax colours out).
struct ThemeStyles {
    Theme theme;
    terminal::Style background;
    terminal::Style surface;
    terminal::Style text;
    terminal::Style dim;
    terminal::Style bold;
    terminal::Style accent;
    terminal::Style accentBold;
    terminal::Style success;
    terminal::Style danger;
    terminal::Style warning;
    terminal::Style selected;
    terminal::Style selectedFocused;
    terminal::Style toolbar;
    terminal::Style toolbarLabel;
    terminal::Style toolbarValue;
    terminal::Style border;
    terminal::Style button;
    terminal::Style buttonDisabled;
    terminal::Style buttonSecondary;
    terminal::Style field;
    terminal::Style fieldFocused;
    terminal::Style placeholder;
    terminal::Style popover;
    terminal::Style popoverBorder;
    terminal::Style popoverDim;
    terminal::Style hintKey;
    terminal::Style hintText;
    terminal::Style toast;
    terminal::Style toastError;
    terminal::Style gutter;
    terminal::Style diffContext;
    terminal::Style diffAdded;
    terminal::Style diffRemoved;
    terminal::Style diffAddedGutter;
    terminal::Style diffRemovedGutter;
    terminal::Style hunk;
    bool monochrome = false;

    ThemeStyles(const Theme& theme, bool monochrome);

    bool operator==(const ThemeStyles&) const = default;
};

}  // namespace tarv::ui
