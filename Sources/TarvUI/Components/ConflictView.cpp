#include "TarvUI/Components/ConflictView.hpp"

#include <algorithm>
#include <array>
#include <string>
#include <variant>

#include "TarvCore/Localization/Text.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/Grapheme.hpp"
#include "TarvTerminal/Text/TextSlicing.hpp"
#include "TarvTerminal/Widgets/ScrollBar.hpp"
#include "TarvUI/Components/HitRegion.hpp"

namespace tarv::ui::ConflictView {
namespace {

using core::ConflictChoice;
using core::ConflictDocument;
using features::AppAction;
using features::WorkspaceAction;
using terminal::Point;
using terminal::Rect;
using terminal::Style;

constexpr std::string_view cursorMark = "\xE2\x96\x8C";  // ▌
constexpr std::string_view headerMark = "\xE2\x9A\xA1 ";  // ⚡
constexpr std::string_view labelMark = "\xE2\x96\x8E ";   // ▎
constexpr std::string_view resolvedMark = "\xE2\x9C\x93 ";  // ✓

struct Choice {
    core::Text label;
    std::string_view key;
    ConflictChoice choice;
};

std::array<Choice, 3> choices() {
    return {Choice{core::Text::conflictKeepCurrent(), "m", ConflictChoice::current},
            Choice{core::Text::conflictKeepIncoming(), "t", ConflictChoice::incoming},
            Choice{core::Text::conflictKeepBoth(), "b", ConflictChoice::both}};
}

// One row of the document, pointing into it (ConflictDocument::rows() in
// order, without copying the lines).
struct Row {
    enum class Kind { context, header, actions, currentLabel, current, incomingLabel, incoming };
    Kind kind = Kind::context;
    std::int64_t block = 0;
    const core::ConflictBlock* conflict = nullptr;  // all but context rows
    const std::string* line = nullptr;              // text rows
};

std::int64_t rowCount(const ConflictDocument& document) {
    std::int64_t count = 0;
    for (const auto& segment : document.segments) {
        if (const auto* text = std::get_if<ConflictDocument::Segment::Text>(&segment.value)) {
            count += static_cast<std::int64_t>(text->lines.size());
        } else {
            const auto& block = std::get<ConflictDocument::Segment::Conflict>(segment.value).block;
            count += 4 + static_cast<std::int64_t>(block.current.size() + block.incoming.size());
        }
    }
    return count;
}

// Calls `visit(index, row)` for the rows first ..< first + count, skipping
// whole segments before them.
template <class Visit>
void forEachRow(const ConflictDocument& document, std::int64_t first, std::int64_t count, Visit&& visit) {
    std::int64_t index = 0;
    std::int64_t blockIndex = 0;
    const std::int64_t end = first + count;
    const auto emit = [&](Row row) {
        if (index >= first && index < end) visit(index, row);
        ++index;
    };
    const auto emitLines = [&](const std::vector<std::string>& lines, Row::Kind kind, std::int64_t block,
                               const core::ConflictBlock* conflict) {
        const auto size = static_cast<std::int64_t>(lines.size());
        const std::int64_t from = std::clamp<std::int64_t>(first - index, 0, size);
        const std::int64_t to = std::clamp<std::int64_t>(end - index, 0, size);
        for (std::int64_t k = from; k < to; ++k) visit(index + k, Row{kind, block, conflict, &lines[static_cast<std::size_t>(k)]});
        index += size;
    };
    for (const auto& segment : document.segments) {
        if (index >= end) return;
        if (const auto* text = std::get_if<ConflictDocument::Segment::Text>(&segment.value)) {
            emitLines(text->lines, Row::Kind::context, 0, nullptr);
            continue;
        }
        const auto& block = std::get<ConflictDocument::Segment::Conflict>(segment.value).block;
        emit(Row{Row::Kind::header, blockIndex, &block, nullptr});
        emit(Row{Row::Kind::actions, blockIndex, &block, nullptr});
        emit(Row{Row::Kind::currentLabel, blockIndex, &block, nullptr});
        emitLines(block.current, Row::Kind::current, blockIndex, &block);
        emit(Row{Row::Kind::incomingLabel, blockIndex, &block, nullptr});
        emitLines(block.incoming, Row::Kind::incoming, blockIndex, &block);
        ++blockIndex;
    }
}

// The display columns start ..< start + width of a raw line (tabs to stops
// of 4, controls as "·", as TextSlicing::displayable shows it), reading the
// line only as far as those columns reach.
std::string visibleColumns(std::string_view raw, std::int64_t start, std::int64_t width) {
    if (width < 1) return {};
    const std::int64_t end = start + width;
    terminal::GraphemeCursor cursor(raw);
    terminal::Grapheme g;
    std::int64_t column = 0;
    std::size_t cut = 0;
    while (cursor.next(g)) {
        std::int64_t w = g.width;
        if (g.bytes == "\t") {
            w = 4 - column % 4;
        } else if (terminal::DisplayWidth::isControl(terminal::Utf8::decode(g.bytes, 0).scalar)) {
            w = 1;
        }
        if (column >= end && w > 0) break;
        column += w;
        cut = cursor.position();
    }
    return terminal::TextSlicing::slice(terminal::TextSlicing::displayable(raw.substr(0, cut)), start, width);
}

struct Context {
    UIFrame& frame;
    const features::WorkspaceState& ws;
    const ConflictDocument& document;
    Rect area;
    std::int64_t content = 0;  // C
    bool focused = false;
    std::int64_t blocks = 0;

    const ThemeStyles& styles() const { return frame.styles; }
    terminal::Canvas& canvas() const { return frame.canvas; }
};

Style incomingStyle(const ThemeStyles& s) {
    return Style::plain.with(s.theme.textPrimary.color(), s.theme.selectionFocused.color());
}

Style rowStyle(const ThemeStyles& s, Row::Kind kind) {
    switch (kind) {
        case Row::Kind::context: return s.diffContext;
        case Row::Kind::header:
        case Row::Kind::actions: return s.hunk;
        case Row::Kind::currentLabel: return s.diffAddedGutter.with(std::nullopt, std::nullopt, terminal::Attributes::bold);
        case Row::Kind::current: return s.diffAdded;
        case Row::Kind::incomingLabel: return incomingStyle(s).with(std::nullopt, std::nullopt, terminal::Attributes::bold);
        case Row::Kind::incoming: break;
    }
    return incomingStyle(s);
}

void drawButtons(const Context& c, std::int64_t block, std::int64_t y) {
    const ThemeStyles& s = c.styles();
    const Style style = s.buttonSecondary.with(std::nullopt, s.theme.surfaceRaised.color());
    std::int64_t x = c.area.minX() + 2;
    for (const Choice& choice : choices()) {
        const std::string label = c.frame.text(choice.label) + " (" + std::string(choice.key) + ")";
        const std::int64_t labelWidth = terminal::DisplayWidth::width(label);
        const std::int64_t width = labelWidth + 4;
        if (x + width > c.area.minX() + c.content) return;
        c.canvas().fill(Rect(x, y, width, 1), style);
        c.canvas().draw(label, Point{x + (width - labelWidth) / 2, y}, style);
        HitRegion region;
        region.press = {WorkspaceAction::Focus{features::WorkspaceFocus::diff},
                        WorkspaceAction::ChooseConflict{block, choice.choice}};
        c.frame.hits.add(Rect(x, y, width, 1), std::move(region));
        x += width + 2;
    }
}

void drawRow(const Context& c, const Row& row, std::int64_t y) {
    const ThemeStyles& s = c.styles();
    const Style style = rowStyle(s, row.kind);
    const std::int64_t x = c.area.minX();
    c.canvas().fill(Rect(x, y, c.content, 1), style);
    const std::int64_t h = c.ws.changes.diff.horizontalOffset;
    const std::int64_t textWidth = std::max<std::int64_t>(0, c.content - 3);
    switch (row.kind) {
        case Row::Kind::context:
        case Row::Kind::current:
        case Row::Kind::incoming:
            c.canvas().draw(visibleColumns(*row.line, h, textWidth), Point{x + 3, y}, style, textWidth);
            return;
        case Row::Kind::currentLabel:
        case Row::Kind::incomingLabel: {
            const core::Text text = row.kind == Row::Kind::currentLabel
                                        ? core::Text::conflictCurrentLabel(row.conflict->currentLabel)
                                        : core::Text::conflictIncomingLabel(row.conflict->incomingLabel);
            const std::string label = std::string(labelMark) + c.frame.text(text);
            c.canvas().draw(visibleColumns(label, h, textWidth), Point{x + 3, y}, style, textWidth);
            return;
        }
        case Row::Kind::header: {
            if (c.focused && row.block == c.ws.changes.conflictCursor) {
                c.canvas().draw(cursorMark, Point{x, y}, s.hunk.with(s.theme.accent.color(), std::nullopt));
            }
            const std::string title =
                std::string(headerMark) + c.frame.text(core::Text::conflictTitle(row.block + 1, c.blocks));
            c.canvas().draw(title, Point{x + 2, y}, s.hunk.with(std::nullopt, std::nullopt, terminal::Attributes::bold),
                            std::max<std::int64_t>(0, c.content - 4));
            return;
        }
        case Row::Kind::actions: drawButtons(c, row.block, y); return;
    }
}

// The banner of a document without conflicts: the note and the button that
// marks the file resolved.
void drawResolvedBanner(UIFrame& frame, const std::string& path, const Rect& rect) {
    const ThemeStyles& s = frame.styles;
    const std::string note = std::string(resolvedMark) + frame.text(core::Text::conflictNoMarkers());
    frame.canvas.draw(note, Point{rect.minX() + 1, rect.minY()}, s.success, std::max<std::int64_t>(0, rect.size.width - 2));
    const std::string label = frame.text(core::Text::conflictMarkResolvedButton()) + " (\xE2\x8F\x8E)";
    const std::int64_t labelWidth = terminal::DisplayWidth::width(label);
    const Rect button(rect.minX() + 1, rect.minY() + 1, labelWidth + 4, 1);
    frame.canvas.fill(button, s.button);
    frame.canvas.draw(label, Point{button.minX() + (button.size.width - labelWidth) / 2, button.minY()}, s.button);
    HitRegion region;
    region.press = {WorkspaceAction::Focus{features::WorkspaceFocus::diff}, WorkspaceAction::MarkResolved{path}};
    frame.hits.add(button, std::move(region));
}

}  // namespace

void draw(UIFrame& frame, const features::WorkspaceState& ws, const ConflictDocument& document, Rect rect,
          bool focused) {
    if (rect.size.width <= 6 || rect.size.height <= 0) return;
    HitRegion whole;
    whole.press = {WorkspaceAction::Focus{features::WorkspaceFocus::diff}};
    whole.scroll = HitRegion::ScrollTarget{features::Pane::diff};
    frame.hits.add(rect, std::move(whole));

    frame.canvas.withClip(rect, [&](terminal::Canvas&) {
        const std::int64_t blocks = document.conflictCount();
        Rect area = rect;
        if (blocks == 0 && ws.changes.selectedPath) {
            drawResolvedBanner(frame, *ws.changes.selectedPath, rect);
            area = Rect(rect.minX(), rect.minY() + 3, rect.size.width, std::max<std::int64_t>(0, rect.size.height - 3));
            if (area.size.height <= 0) return;
        }
        frame.viewports.diff = area.size.height;
        frame.viewports.diffWidth = area.size.width;
        const std::int64_t count = rowCount(document);
        const bool scrollBar = count > area.size.height;
        const Context c{frame, ws, document, area, area.size.width - (scrollBar ? 1 : 0), focused, blocks};
        const std::int64_t first =
            std::max<std::int64_t>(0, std::min(ws.changes.conflictOffset, std::max<std::int64_t>(0, count - area.size.height)));
        forEachRow(document, first, area.size.height, [&](std::int64_t index, const Row& row) {
            drawRow(c, row, area.minY() + index - first);
        });
        if (scrollBar) {
            terminal::ScrollBar::draw(frame.canvas, area.maxX() - 1, area.minY(), area.size.height, first, count,
                                      area.size.height, frame.styles.border, frame.styles.dim);
        }
    });
}

}  // namespace tarv::ui::ConflictView
