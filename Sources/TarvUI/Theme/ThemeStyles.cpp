#include "TarvUI/Theme/ThemeStyles.hpp"

namespace tarv::ui {

using terminal::Attributes;
using terminal::Style;

namespace {

Style make(ThemeColor foreground, ThemeColor background, Attributes attributes = {}) {
    return Style{foreground.color(), background.color(), attributes};
}

}  // namespace

ThemeStyles::ThemeStyles(const Theme& t, bool mono) : theme(t), monochrome(mono) {
    const Attributes m = mono ? Attributes::inverse : Attributes{};
    background = make(t.textPrimary, t.background);
    surface = make(t.textPrimary, t.surface);
    text = make(t.textPrimary, t.background);
    dim = make(t.textSecondary, t.background);
    bold = make(t.textPrimary, t.background, Attributes::bold);
    accent = make(t.accent, t.background);
    accentBold = make(t.accent, t.background, Attributes::bold);
    success = make(t.success, t.background);
    danger = make(t.danger, t.background);
    warning = make(t.warning, t.background);
    selected = make(t.textPrimary, t.selection, m);
    selectedFocused = make(t.textPrimary, t.selectionFocused, Attributes::bold | m);
    toolbar = make(t.textPrimary, t.surfaceRaised);
    toolbarLabel = make(t.textSecondary, t.surfaceRaised);
    toolbarValue = make(t.textPrimary, t.surfaceRaised, Attributes::bold);
    border = make(t.border, t.background);
    button = make(t.textOnAccent, t.accent, Attributes::bold | m);
    buttonDisabled = make(t.textSecondary, t.surfaceRaised);
    buttonSecondary = make(t.textPrimary, t.surfaceRaised);
    field = make(t.textPrimary, t.surfaceRaised);
    fieldFocused = make(t.textPrimary, t.surfaceRaised, Attributes::underline);
    placeholder = make(t.textSecondary, t.surfaceRaised);
    popover = make(t.textPrimary, t.popover);
    popoverBorder = make(t.accent, t.popover);
    popoverDim = make(t.textSecondary, t.popover);
    hintKey = make(t.accent, t.surfaceRaised, Attributes::bold);
    hintText = make(t.textSecondary, t.surfaceRaised);
    toast = make(t.textOnAccent, t.accent);
    toastError = make(t.textOnAccent, t.danger, Attributes::bold);
    gutter = make(t.textSecondary, t.gutter);
    diffContext = make(t.textPrimary, t.background);
    diffAdded = make(t.textPrimary, t.diffAddedBackground);
    diffRemoved = make(t.textPrimary, t.diffRemovedBackground);
    diffAddedGutter = make(t.textPrimary, t.diffAddedGutter);
    diffRemovedGutter = make(t.textPrimary, t.diffRemovedGutter);
    hunk = make(t.textSecondary, t.surface);
}

}  // namespace tarv::ui
