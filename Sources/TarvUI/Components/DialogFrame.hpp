#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Models/EditableText.hpp"
#include "TarvFeatures/App/AppAction.hpp"
#include "TarvTerminal/Geometry/Rect.hpp"
#include "TarvTerminal/Style/Style.hpp"
#include "TarvUI/Components/UIFrame.hpp"

// What every dialog shares: a box centred on the screen over a dimmed
// backdrop (a click on the backdrop dismisses, a click in the box reaches
// only its controls), one-row buttons (submit, confirm and cancel among
// them), and the one-line text field.
namespace tarv::ui::DialogFrame {

// No dialog shows more than a few screens of text.
inline constexpr std::size_t boundedTextLimit = 4096;

// (W - w) / 2 and (H - h) / 2, truncated; 0 where the difference is below -1.
terminal::Rect centred(terminal::Size screen, std::int64_t width, std::int64_t height);

// Dims the whole canvas and makes a click anywhere on it dismiss.
void backdrop(UIFrame& frame);

// The backdrop and the box with its title; returns the content rectangle.
terminal::Rect open(UIFrame& frame, const terminal::Rect& box, const std::string& title);

terminal::Style primary(const ThemeStyles& styles);
// Text on accent colour over the danger colour, in bold only.
terminal::Style danger(const ThemeStyles& styles);
terminal::Style secondary(const ThemeStyles& styles);
// Danger's foreground and attributes on the popover's background.
terminal::Style error(const ThemeStyles& styles);
// Selected row of an overlay list: selectedFocused on the focused selection colour.
terminal::Style highlighted(const ThemeStyles& styles);

struct Button {
    std::string label;
    terminal::Style style;
    std::vector<features::AppAction> press;
};

// A button's label: its words, a blank and its key ("⏎", "Esc", "⌃N", …).
std::string label(const UIFrame& frame, const core::Text& text, std::string_view key);

// Label width + 4 columns (never clipped to the dialog), label centred.
std::int64_t buttonWidth(const std::string& label);
// Draws one button at (x, y) and returns its width.
std::int64_t drawButton(UIFrame& frame, const Button& button, std::int64_t x, std::int64_t y);
// Buttons left to right from (x, y), 2 columns apart.
void drawButtons(UIFrame& frame, const std::vector<Button>& buttons, std::int64_t x, std::int64_t y);
// Buttons left to right from the start of `row`, 2 columns apart.
void drawButtons(UIFrame& frame, const std::vector<Button>& buttons, const terminal::Rect& row);

// The button that submits the dialog: its words and "⏎" in the primary style.
Button submit(const UIFrame& frame, const core::Text& text);
// The primary button of a question: its words and "⏎", pressing confirms.
Button confirm(const UIFrame& frame, const core::Text& text);
// The button that closes the dialog: "Cancel Esc" (or other words) in the
// secondary style.
Button cancel(const UIFrame& frame, const core::Text& text = core::Text::cancel());

// The one-line field over (x, y, width): the visible slice of the text with
// the cursor kept in view, or the placeholder when empty. Sets the frame's
// cursor and takes clicks on the field.
void textField(UIFrame& frame, const terminal::Rect& field, const core::EditableText& text,
               const std::optional<std::string>& placeholder);

// A list area the wheel scrolls (no press actions).
void listArea(UIFrame& frame, const terminal::Rect& list);
// One row of an overlay list: filled in the highlighted style when it is the
// selected one, else `popover`; a click selects and activates row `index`.
// Returns the row's style.
terminal::Style listRow(UIFrame& frame, const terminal::Rect& row, std::int64_t index,
                        std::optional<std::int64_t> selected);

// Text from outside (a server's error body, say) cut to at most `limit`
// bytes at a character boundary, so wrapping it per frame stays cheap
// however long it came.
std::string bounded(std::string_view text, std::size_t limit = boundedTextLimit);

// Lines of `text` wrapped to `width`, drawn from (x, y) down in `style`,
// at most `maxLines` of them; returns the number drawn.
std::int64_t drawWrapped(UIFrame& frame, const std::string& text, terminal::Point at, std::int64_t width,
                         std::int64_t maxLines, const terminal::Style& style);

// Confirm and dismiss actions, the two every dialog has.
features::AppAction overlayAction(features::OverlayAction action);

}  // namespace tarv::ui::DialogFrame
