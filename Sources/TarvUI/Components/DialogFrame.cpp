#include "TarvUI/Components/DialogFrame.hpp"

#include <algorithm>

#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/TextWrapping.hpp"
#include "TarvUI/Components/PopoverView.hpp"

namespace tarv::ui::DialogFrame {

using terminal::Point;
using terminal::Rect;
using terminal::Style;

namespace {

std::int64_t origin(std::int64_t available, std::int64_t used) {
    const std::int64_t difference = available - used;
    return difference < -1 ? 0 : difference / 2;
}

}  // namespace

Rect centred(terminal::Size screen, std::int64_t width, std::int64_t height) {
    return Rect(origin(screen.width, width), origin(screen.height, height), width, height);
}

void backdrop(UIFrame& frame) {
    frame.canvas.dim(frame.canvas.bounds());
    frame.hits.add(frame.canvas.bounds(), HitRegion::pressing({overlayAction(features::OverlayAction::Dismiss{})}));
}

Rect open(UIFrame& frame, const Rect& box, const std::string& title) {
    backdrop(frame);
    return PopoverView::draw(frame, box, title);
}

Style primary(const ThemeStyles& styles) { return styles.button; }

Style danger(const ThemeStyles& styles) {
    return Style{styles.theme.textOnAccent.color(), styles.theme.danger.color(),
                 terminal::Attributes{terminal::Attributes::bold}};
}

Style secondary(const ThemeStyles& styles) {
    Style style = styles.buttonSecondary;
    style.background = styles.theme.surfaceRaised.color();
    return style;
}

Style error(const ThemeStyles& styles) {
    Style style = styles.danger;
    style.background = styles.theme.popover.color();
    return style;
}

Style highlighted(const ThemeStyles& styles) {
    Style style = styles.selectedFocused;
    style.background = styles.theme.selectionFocused.color();
    return style;
}

std::string label(const UIFrame& frame, const core::Text& text, std::string_view key) {
    std::string out = frame.text(text);
    out += ' ';
    out += key;
    return out;
}

std::int64_t buttonWidth(const std::string& label) {
    return std::max<std::int64_t>(terminal::DisplayWidth::width(label) + 4, 0);
}

std::int64_t drawButton(UIFrame& frame, const Button& button, std::int64_t x, std::int64_t y) {
    const std::int64_t width = buttonWidth(button.label);
    const Rect rect(x, y, width, 1);
    frame.canvas.fill(rect, button.style);
    const std::int64_t labelWidth = terminal::DisplayWidth::width(button.label);
    frame.canvas.draw(button.label, Point{x + (width - labelWidth) / 2, y}, button.style);
    frame.hits.add(rect, HitRegion::pressing(button.press));
    return width;
}

void drawButtons(UIFrame& frame, const std::vector<Button>& buttons, std::int64_t x, std::int64_t y) {
    for (const auto& button : buttons) x += drawButton(frame, button, x, y) + 2;
}

void drawButtons(UIFrame& frame, const std::vector<Button>& buttons, const Rect& row) {
    drawButtons(frame, buttons, row.minX(), row.minY());
}

Button submit(const UIFrame& frame, const core::Text& text) {
    return {label(frame, text, "\u23CE"), primary(frame.styles), {overlayAction(features::OverlayAction::Submitted{})}};
}

Button confirm(const UIFrame& frame, const core::Text& text) {
    return {label(frame, text, "\u23CE"), primary(frame.styles), {overlayAction(features::OverlayAction::Confirm{})}};
}

Button cancel(const UIFrame& frame, const core::Text& text) {
    return {label(frame, text, "Esc"), secondary(frame.styles), {overlayAction(features::OverlayAction::Dismiss{})}};
}

void textField(UIFrame& frame, const Rect& field, const core::EditableText& text,
               const std::optional<std::string>& placeholder) {
    const ThemeStyles& s = frame.styles;
    frame.canvas.fill(field, s.field);
    std::int64_t cursorX = field.minX();
    if (!text.isEmpty()) {
        const auto slice = UIFrame::visibleSlice(text, field.size.width);
        frame.canvas.draw(slice.text, field.origin, s.field, field.size.width);
        cursorX += slice.cursorColumn;
    } else if (placeholder) {
        frame.canvas.draw(*placeholder, field.origin, s.placeholder, field.size.width);
    }
    frame.cursor = Point{cursorX, field.minY()};
    frame.hits.add(field, HitRegion{});
}

void listArea(UIFrame& frame, const Rect& list) {
    HitRegion region;
    region.scroll = HitRegion::ScrollTarget::overlayList();
    frame.hits.add(list, std::move(region));
}

Style listRow(UIFrame& frame, const Rect& row, std::int64_t index, std::optional<std::int64_t> selected) {
    const Style style = selected == index ? highlighted(frame.styles) : frame.styles.popover;
    frame.canvas.fill(row, style);
    HitRegion region = HitRegion::pressing({overlayAction(features::OverlayAction::Select{index}),
                                            overlayAction(features::OverlayAction::ActivateSelection{})});
    region.scroll = HitRegion::ScrollTarget::overlayList();
    frame.hits.add(row, std::move(region));
    return style;
}

std::string bounded(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return std::string(text);
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return std::string(text.substr(0, end));
}

std::int64_t drawWrapped(UIFrame& frame, const std::string& text, Point at, std::int64_t width,
                         std::int64_t maxLines, const Style& style) {
    std::int64_t drawn = 0;
    for (const auto& line : terminal::TextWrapping::wrap(bounded(text), width)) {
        if (drawn >= maxLines) break;
        frame.canvas.draw(line, Point{at.x, at.y + drawn}, style);
        ++drawn;
    }
    return drawn;
}

features::AppAction overlayAction(features::OverlayAction action) { return features::AppAction(std::move(action)); }

}  // namespace tarv::ui::DialogFrame
