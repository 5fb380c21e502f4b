#include "TarvUI/Components/DiffView.hpp"

#include <algorithm>
#include <string>
#include <variant>

#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Models/DiffStats.hpp"
#include "TarvTerminal/Text/TextSlicing.hpp"
#include "TarvTerminal/Widgets/ScrollBar.hpp"
#include "TarvUI/Components/DiffGeometry.hpp"
#include "TarvUI/Components/HitRegion.hpp"

namespace tarv::ui::DiffView {
namespace {

using core::DiffLine;
using core::LineRef;
using features::AppAction;
using features::WorkspaceAction;
using terminal::Point;
using terminal::Rect;
using terminal::Style;

constexpr std::string_view cursorMark = "\xE2\x96\x8C";  // ▌
constexpr std::string_view boxEmpty = "\xE2\x98\x90";    // ☐
constexpr std::string_view boxFull = "\xE2\x98\x91";     // ☑
constexpr std::string_view boxSome = "\xE2\x97\xAA";     // ◪
constexpr std::string_view divider = "\xE2\x94\x82";     // │

// How a line of one kind looks: marker, row (line) style, gutter style and
// text style.
struct Look {
    std::string_view marker;
    Style line;
    Style gutter;
    Style text;
};

Look lookOf(const ThemeStyles& s, DiffLine::Kind kind) {
    switch (kind) {
        case DiffLine::Kind::added: return {"+", s.diffAdded, s.diffAddedGutter, s.diffAdded};
        case DiffLine::Kind::removed: return {"\xE2\x88\x92", s.diffRemoved, s.diffRemovedGutter, s.diffRemoved};
        case DiffLine::Kind::noNewlineMarker: return {"\\", s.diffContext, s.gutter, s.dim};
        case DiffLine::Kind::context: break;
    }
    return {" ", s.diffContext, s.gutter, s.diffContext};
}

// The row's line style with the token's colour (and italics for comments).
Style syntaxStyle(const ThemeStyles& s, const Style& line, core::SyntaxToken::Kind kind) {
    switch (kind) {
        case core::SyntaxToken::Kind::keyword: return line.with(s.theme.syntaxKeyword.color(), std::nullopt);
        case core::SyntaxToken::Kind::string: return line.with(s.theme.syntaxString.color(), std::nullopt);
        case core::SyntaxToken::Kind::comment:
            return line.with(s.theme.syntaxComment.color(), std::nullopt, terminal::Attributes::italic);
        case core::SyntaxToken::Kind::number: return line.with(s.theme.syntaxNumber.color(), std::nullopt);
        case core::SyntaxToken::Kind::type: break;
    }
    return line.with(s.theme.syntaxType.color(), std::nullopt);
}

bool isChange(DiffLine::Kind kind) { return kind == DiffLine::Kind::added || kind == DiffLine::Kind::removed; }

// A line number right-aligned in `width` columns; blanks when absent.
std::string numberText(const std::optional<std::int64_t>& number, std::int64_t width) {
    std::string digits = number ? std::to_string(*number) : std::string();
    if (static_cast<std::int64_t>(digits.size()) < width) {
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), ' ');
    }
    return digits;
}

AppAction focusActionOf(features::Pane pane) {
    return WorkspaceAction::Focus{pane == features::Pane::diff ? features::WorkspaceFocus::diff
                                                               : features::WorkspaceFocus::historyDiff};
}

// The row actions between `first` and `last` (each when given). With check
// boxes a click on a row focuses the Changes diff and puts the cursor there;
// without them a row does nothing of its own.
std::vector<AppAction> rowActions(std::int64_t row, bool checkBoxes, std::optional<AppAction> first,
                                  std::optional<AppAction> last) {
    std::vector<AppAction> actions;
    actions.reserve((first ? 1 : 0) + (checkBoxes ? 2 : 0) + (last ? 1 : 0));
    if (first) actions.push_back(std::move(*first));
    if (checkBoxes) {
        actions.push_back(WorkspaceAction::Focus{features::WorkspaceFocus::diff});
        actions.push_back(WorkspaceAction::MoveDiffCursorTo{row});
    }
    if (last) actions.push_back(std::move(*last));
    return actions;
}

// The regions of diff rows, whose press is made on demand: one under all
// the rows shown (its first row is `row`), and on each row its text and its
// line's check box.
enum RowRegion : int { wholeRows, rowText, rowTextWithCheckBoxes, lineBox };

void makeRowPress(HitRegion& region, const HitRegion::Deferred& from, terminal::Point at) {
    const auto pane = std::get<features::Pane>(region.scroll->value);
    switch (static_cast<RowRegion>(from.kind)) {
        case wholeRows:
            region.press = rowActions(from.row + at.y - from.origin.y, true, std::nullopt, std::nullopt);
            break;
        case rowText: region.press = rowActions(from.row, false, focusActionOf(pane), std::nullopt); break;
        case rowTextWithCheckBoxes:
            region.press = rowActions(from.row, true, focusActionOf(pane), std::nullopt);
            break;
        case lineBox: region.press = rowActions(from.row, true, std::nullopt, WorkspaceAction::ToggleLine{from.ref}); break;
    }
}

// What every row of one frame shares.
struct Context {
    UIFrame& frame;
    const features::DiffViewState& view;
    const core::Diff& diff;
    Rect rect;
    features::Pane pane;
    bool focused;
    const Selection* selection;
    DiffLineCache& cache;
    std::optional<core::SyntaxLanguage> language;

    const ThemeStyles& styles() const { return frame.styles; }
    terminal::Canvas& canvas() const { return frame.canvas; }

    AppAction focusAction() const { return focusActionOf(pane); }
    void addRegion(const Rect& area, std::vector<AppAction> press) const {
        HitRegion region;
        region.press = std::move(press);
        region.scroll = HitRegion::ScrollTarget{pane};
        frame.hits.add(area, std::move(region));
    }
    // A region of row `row` whose press `makeRowPress` makes.
    HitRegion rowRegion(RowRegion kind, std::int64_t row, LineRef ref = {}) const {
        HitRegion region;
        region.scroll = HitRegion::ScrollTarget{pane};
        region.deferred = HitRegion::Deferred{makeRowPress, {}, row, ref, {}, kind};
        return region;
    }
    // With check boxes a click on one of the `count` rows shown from the
    // pane's top (`first` the first of them) focuses the Changes diff and
    // puts the cursor there: one region under the rows' own ones.
    void addRowsRegion(std::int64_t first, std::int64_t count, std::int64_t width) const {
        if (selection == nullptr) return;
        HitRegion region = rowRegion(wholeRows, first);
        region.deferred.origin = rect.origin;
        frame.hits.add(Rect(rect.minX(), rect.minY(), width, count), std::move(region));
    }
    bool isCursorRow(std::int64_t row) const { return selection != nullptr && focused && row == view.cursor; }
    // Rows y ..< maxY of the pane that show no diff row: the background.
    void fillRowsFrom(std::int64_t y) const {
        canvas().fill(Rect(rect.minX(), y, rect.size.width, rect.maxY() - y), styles().background);
    }
    std::optional<DiffLine> lineAt(LineRef ref) const {
        if (ref.hunk < 0 || ref.line < 0 || ref.hunk >= static_cast<std::int64_t>(diff.hunks.size())) return std::nullopt;
        const auto& lines = diff.hunks[static_cast<std::size_t>(ref.hunk)].lines;
        if (ref.line >= static_cast<std::int64_t>(lines.size())) return std::nullopt;
        return lines[static_cast<std::size_t>(ref.line)];
    }
};

// The hunk check box: "☐" (no change line selected), "☑" (all) or "◪"
// (some); none for a hunk without change lines. Counts only as far as the
// answer needs, so a large hunk costs little unless much of it is chosen.
std::optional<std::string_view> hunkBox(const Context& c, std::int64_t hunk) {
    const auto& lines = c.diff.hunks[static_cast<std::size_t>(hunk)].lines;
    const auto firstChange = std::find_if(lines.begin(), lines.end(), [](const DiffLine& l) { return isChange(l.kind); });
    if (firstChange == lines.end()) return std::nullopt;
    const auto* some = std::get_if<features::SelectedLines::Some>(&c.selection->value);
    if (some == nullptr) return c.selection->contains(LineRef{hunk, 0}) ? boxFull : boxEmpty;
    std::int64_t chosen = 0;
    for (auto it = some->lines.lower_bound(LineRef{hunk, 0}); it != some->lines.end() && it->hunk == hunk; ++it) {
        if (it->line < static_cast<std::int64_t>(lines.size()) && isChange(lines[static_cast<std::size_t>(it->line)].kind)) {
            ++chosen;
        }
    }
    if (chosen == 0) return boxEmpty;
    std::int64_t changes = 0;
    for (auto it = firstChange; it != lines.end(); ++it) {
        if (isChange(it->kind) && ++changes > chosen) return boxSome;
    }
    return boxFull;
}

// Draws the check box of a hunk at column x + 1 of a header row and its
// region over x ..< x + 3.
void drawHunkBox(const Context& c, std::int64_t hunk, std::int64_t row, std::int64_t x, std::int64_t y) {
    if (c.selection == nullptr) return;
    const auto glyph = hunkBox(c, hunk);
    if (!glyph) return;
    const ThemeStyles& s = c.styles();
    const auto foreground = *glyph == boxEmpty ? s.theme.textSecondary : s.theme.accent;
    c.canvas().draw(*glyph, Point{x + 1, y}, s.hunk.with(foreground.color(), std::nullopt));
    c.addRegion(Rect(x, y, 3, 1), rowActions(row, true, std::nullopt, WorkspaceAction::ToggleHunk{hunk}));
}

// Draws the check box of a change line at column x + 1 and its region.
void drawLineBox(const Context& c, LineRef ref, std::int64_t row, std::int64_t x, std::int64_t y, const Style& gutter) {
    const bool selected = c.selection->contains(ref);
    const ThemeStyles& s = c.styles();
    const auto foreground = selected ? s.theme.accent : s.theme.textSecondary;
    c.canvas().draw(selected ? boxFull : boxEmpty, Point{x + 1, y}, gutter.with(foreground.color(), std::nullopt));
    HitRegion region = c.rowRegion(lineBox, row, ref);
    region.line = HitRegion::Line{ref, selected};
    c.frame.hits.add(Rect(x, y, 3, 1), std::move(region));
}

void addTextRegion(const Context& c, std::int64_t row, std::int64_t side, const Rect& area) {
    HitRegion region = c.rowRegion(c.selection != nullptr ? rowTextWithCheckBoxes : rowText, row);
    region.text = HitRegion::TextHit{row, side, area.minX(), c.view.horizontalOffset};
    c.frame.hits.add(area, std::move(region));
}

// The syntax tokens of a line that reach into the columns [h, end), in
// order; none when the line is not coloured.
std::pair<const core::SyntaxToken*, const core::SyntaxToken*> visibleTokens(const Context& c, const DiffLine& line,
                                                                           LineRef ref, const DiffDisplayLine& display,
                                                                           std::int64_t h) {
    if (!c.language || line.kind == DiffLine::Kind::noNewlineMarker || c.styles().monochrome) return {};
    const auto& tokens = c.cache.tokens(c.diff, ref, *c.language);
    const std::int64_t firstCharacter = display.characterAt(h);
    const auto first = std::lower_bound(tokens.begin(), tokens.end(), firstCharacter,
                                        [](const core::SyntaxToken& t, std::int64_t at) { return t.start + t.length <= at; });
    return {tokens.data() + (first - tokens.begin()), tokens.data() + tokens.size()};
}

// Fills the row's text area [x, x + width) at y: the visible columns
// [h, h + width) of the line's display text, in the text style with each
// syntax token in its colour, the rest of the area
// in the line style; then the word emphasis and (when `selectable`) the text
// selection's tint.
void drawLineText(const Context& c, const DiffLine& line, LineRef ref, std::int64_t row, std::int64_t side,
                  std::int64_t x, std::int64_t y, std::int64_t width, const Look& look, bool selectable) {
    if (width <= 0) return;
    const DiffDisplayLine& display = c.cache.line(c.diff, ref);
    const ThemeStyles& s = c.styles();
    // A double-width character cut by the window's edges leaves a column the
    // text does not draw; it keeps the pane's background.
    if (!display.isPlainAscii()) c.canvas().fill(Rect(x, y, width, 1), s.background);
    const std::int64_t h = c.view.horizontalOffset;
    const std::int64_t windowEnd = h + width;
    std::string scratch;
    const auto drawColumns = [&](std::int64_t from, std::int64_t to, const Style& style) {
        if (from < to) c.canvas().draw(display.slice(from, to - from, scratch), Point{x + from - h, y}, style, to - from);
    };
    // Printable ASCII is drawn in one piece and the tokens coloured over it;
    // other text a token at a time, so that no character is cut between
    // two styles.
    const bool ascii = display.isPlainAscii();
    if (ascii) drawColumns(h, windowEnd, look.text);
    std::int64_t drawn = h;
    const auto [first, last] = visibleTokens(c, line, ref, display, h);
    for (const core::SyntaxToken* token = first; token != last; ++token) {
        auto [from, to] = display.columns(token->start, token->start + token->length);
        if (from >= windowEnd) break;
        from = std::max(from, drawn);
        to = std::min(to, windowEnd);
        if (from >= to) continue;
        if (ascii) {
            c.canvas().restyle(Rect(x + from - h, y, to - from, 1), syntaxStyle(s, look.line, token->kind));
        } else {
            drawColumns(drawn, from, look.text);
            drawColumns(from, to, syntaxStyle(s, look.line, token->kind));
        }
        drawn = to;
    }
    if (!ascii) drawColumns(drawn, windowEnd, look.text);
    const std::int64_t textEnd = std::clamp<std::int64_t>(display.width() - h, 0, width);
    c.canvas().fill(Rect(x + textEnd, y, width - textEnd, 1), look.line);

    const auto tint = [&](std::int64_t from, std::int64_t to, const ThemeColor& colour) {
        from = std::max(from, h);
        to = std::min(to, windowEnd);
        if (from < to) c.canvas().tint(Rect(x + from - h, y, to - from, 1), colour.color());
    };
    if (const auto partner = c.view.wordPairs().partner(ref)) {
        const ThemeColor& emphasis =
            line.kind == DiffLine::Kind::removed ? s.theme.diffRemovedEmphasis : s.theme.diffAddedEmphasis;
        for (const core::WordDiff::Range& range : c.cache.emphasis(c.diff, ref, *partner)) {
            const auto [from, to] = display.columns(range.start, range.end);
            tint(from, to, emphasis);
        }
    }
    if (selectable && c.view.textSelection) {
        if (const auto columns = c.view.textSelection->columns(row, side, display.width())) {
            tint(columns->lower, columns->upper, s.theme.selectionFocused);
        }
    }
}

// A hunk's header text made safe for one row (tabs expanded, controls shown).
std::string headerText(const core::Diff& diff, std::int64_t hunk) {
    return terminal::TextSlicing::displayable(diff.hunks[static_cast<std::size_t>(hunk)].header);
}

// ---- Unified layout -------------------------------------------------------

void drawUnifiedHeader(const Context& c, const DiffGeometry::Unified& g, std::int64_t hunk, std::int64_t row,
                       std::int64_t y) {
    const ThemeStyles& s = c.styles();
    const std::int64_t x = c.rect.minX();
    c.canvas().fill(Rect(x, y, g.content, 1), s.hunk);
    drawHunkBox(c, hunk, row, x, y);
    if (c.isCursorRow(row)) c.canvas().draw(cursorMark, Point{x, y}, s.hunk.with(s.theme.accent.color(), std::nullopt));
    c.canvas().draw(headerText(c.diff, hunk), Point{x + g.prefix, y}, s.hunk,
                    std::max<std::int64_t>(0, g.content - 1 - g.prefix));
}

void drawUnifiedLine(const Context& c, const DiffGeometry::Unified& g, LineRef ref, std::int64_t row,
                     std::int64_t y) {
    const std::optional<DiffLine> line = c.lineAt(ref);
    if (!line) {
        c.canvas().fill(Rect(c.rect.minX(), y, c.rect.size.width, 1), c.styles().background);
        return;
    }
    const ThemeStyles& s = c.styles();
    const Look look = lookOf(s, line->kind);
    const std::int64_t x = c.rect.minX();
    const bool marker = line->kind == DiffLine::Kind::noNewlineMarker;
    if (!marker) addTextRegion(c, row, 0, Rect(x + g.gutter, y, g.text, 1));
    c.canvas().fill(Rect(x, y, g.gutter, 1), look.gutter);
    c.canvas().draw(numberText(line->oldNumber, g.numberWidth), Point{x + g.oldNumberColumn(), y}, look.gutter);
    c.canvas().draw(numberText(line->newNumber, g.numberWidth), Point{x + g.newNumberColumn(), y}, look.gutter);
    c.canvas().draw(look.marker, Point{x + g.markerColumn(), y}, look.gutter);
    if (c.selection != nullptr && isChange(line->kind)) drawLineBox(c, ref, row, x, y, look.gutter);
    if (c.isCursorRow(row)) {
        c.canvas().draw(cursorMark, Point{x, y}, look.gutter.with(s.theme.accent.color(), std::nullopt));
    }
    drawLineText(c, *line, ref, row, 0, x + g.gutter, y, g.text, look, true);
}

void drawUnified(const Context& c) {
    const std::optional<core::DiffStats> computed =
        c.view.stats() ? std::nullopt : std::optional<core::DiffStats>(core::DiffStats(c.diff));
    const core::DiffStats& stats = c.view.stats() ? *c.view.stats() : *computed;
    const Rect& rect = c.rect;
    const auto g = DiffGeometry::unified(rect, stats.lineCount, stats.maxLineNumber, c.selection != nullptr);
    const auto& starts = stats.hunkStarts;
    const std::int64_t offset = std::max<std::int64_t>(0, std::min(c.view.offset, stats.lineCount - 1));
    // The hunk of the first row: the last one starting at or before it.
    auto next = std::upper_bound(starts.begin(), starts.end(), offset);
    std::int64_t hunk = std::max<std::int64_t>(0, static_cast<std::int64_t>(next - starts.begin()) - 1);
    // The rows shown: up to the pane's height, the last line, or a hunk the
    // diff does not have.
    std::int64_t shown = std::min(rect.size.height, stats.lineCount - offset);
    const auto hunkCount = c.diff.hunks.size();
    if (starts.size() > hunkCount) shown = std::min(shown, starts[hunkCount] - offset);
    c.addRowsRegion(offset, std::max<std::int64_t>(shown, 0), g.content);
    std::int64_t i = 0;
    for (; i < shown; ++i) {
        const std::int64_t row = offset + i;
        const std::int64_t y = rect.minY() + i;
        while (hunk + 1 < static_cast<std::int64_t>(starts.size()) && starts[static_cast<std::size_t>(hunk + 1)] <= row) {
            ++hunk;
        }
        if (hunk >= static_cast<std::int64_t>(hunkCount)) break;
        const std::int64_t start = starts.empty() ? 0 : starts[static_cast<std::size_t>(hunk)];
        if (row == start) {
            drawUnifiedHeader(c, g, hunk, row, y);
        } else {
            drawUnifiedLine(c, g, LineRef{hunk, row - start - 1}, row, y);
        }
    }
    c.fillRowsFrom(rect.minY() + i);
    if (g.scrollBar) {
        terminal::ScrollBar::draw(c.canvas(), rect.maxX() - 1, rect.minY(), rect.size.height, c.view.offset,
                                  stats.lineCount, rect.size.height, c.styles().border, c.styles().dim);
    }
}

// ---- Side-by-side layout --------------------------------------------------

// One half of a pair row: the line at `ref` of the old (left) or new (right)
// file, or an empty half.
void drawSide(const Context& c, const DiffGeometry::Split& g, const DiffGeometry::Side& half,
              const std::optional<LineRef>& ref, bool old, std::int64_t row, std::int64_t y) {
    const Rect area(half.area.minX(), y, half.area.size.width, 1);
    const ThemeStyles& s = c.styles();
    const std::optional<DiffLine> line = ref ? c.lineAt(*ref) : std::nullopt;
    if (!line) {
        c.canvas().fill(area, s.surface);
        return;
    }
    const Look look = lookOf(s, line->kind);
    const std::int64_t side = old ? 0 : 1;
    const std::int64_t x = area.minX();
    c.canvas().withClip(area, [&](terminal::Canvas& canvas) {
        canvas.fill(Rect(x, y, half.gutter, 1), look.gutter);
        canvas.draw(numberText(old ? line->oldNumber : line->newNumber, g.numberWidth), Point{x + g.prefix, y},
                    look.gutter);
        canvas.draw(look.marker, Point{x + g.prefix + g.numberWidth + 1, y}, look.gutter);
        if (c.selection != nullptr && isChange(line->kind)) drawLineBox(c, *ref, row, x, y, look.gutter);
        const bool marker = line->kind == DiffLine::Kind::noNewlineMarker;
        if (!marker) addTextRegion(c, row, side, Rect(x + half.gutter, y, half.text, 1));
        drawLineText(c, *line, *ref, row, side, x + half.gutter, y, half.text, look, !marker);
    });
}

void drawSplitHeader(const Context& c, const DiffGeometry::Split& g, std::int64_t hunk, std::int64_t row,
                     std::int64_t y) {
    const ThemeStyles& s = c.styles();
    const std::int64_t minX = c.rect.minX();
    c.canvas().fill(Rect(minX, y, g.content, 1), s.hunk);
    drawHunkBox(c, hunk, row, minX, y);
    const std::int64_t x = c.selection != nullptr ? minX + 3 : minX + 1;
    if (c.isCursorRow(row)) c.canvas().draw(cursorMark, Point{minX, y}, s.hunk.with(s.theme.accent.color(), std::nullopt));
    c.canvas().draw(headerText(c.diff, hunk), Point{x, y}, s.hunk, std::max<std::int64_t>(0, minX + g.content - x));
}

void drawSplit(const Context& c, const core::SplitDiff& split) {
    const Rect& rect = c.rect;
    const std::int64_t count = split.rowCount();
    const std::int64_t maxLineNumber = c.view.stats() ? c.view.stats()->maxLineNumber : 1;
    const auto g = DiffGeometry::split(rect, count, maxLineNumber, c.selection != nullptr);
    const std::int64_t offset = std::max<std::int64_t>(0, std::min(c.view.offset, count - 1));
    c.addRowsRegion(offset, std::max<std::int64_t>(std::min(rect.size.height, count - offset), 0), g.content);
    std::int64_t i = 0;
    for (; i < rect.size.height && offset + i < count; ++i) {
        const std::int64_t row = offset + i;
        const std::int64_t y = rect.minY() + i;
        const core::SplitDiff::Row shown = split.row(row);
        const auto& value = shown.value;
        if (const auto* header = std::get_if<core::SplitDiff::Row::Header>(&value)) {
            if (header->hunk >= 0 && header->hunk < static_cast<std::int64_t>(c.diff.hunks.size())) {
                drawSplitHeader(c, g, header->hunk, row, y);
            } else {
                c.canvas().fill(Rect(rect.minX(), y, rect.size.width, 1), c.styles().background);
            }
            continue;
        }
        const auto& pair = std::get<core::SplitDiff::Row::Pair>(value);
        drawSide(c, g, g.left, pair.left, true, row, y);
        c.canvas().draw(divider, Point{g.left.area.maxX(), y}, c.styles().border);
        drawSide(c, g, g.right, pair.right, false, row, y);
        if (c.isCursorRow(row)) {
            const ThemeStyles& s = c.styles();
            c.canvas().draw(cursorMark, Point{rect.minX(), y}, s.gutter.with(s.theme.accent.color(), std::nullopt));
        }
    }
    c.fillRowsFrom(rect.minY() + i);
    if (g.scrollBar) {
        terminal::ScrollBar::draw(c.canvas(), rect.maxX() - 1, rect.minY(), rect.size.height, c.view.offset, count,
                                  rect.size.height, c.styles().border, c.styles().dim);
    }
}

// ---- Messages ---------------------------------------------------------------

// The message shown instead of the content, if any, on the pane's
// background: a load error, loading, a binary or an empty diff. True when
// the content must not be drawn.
bool drawMessage(UIFrame& frame, const features::DiffViewState& view, const Rect& rect) {
    const Point at{rect.minX() + 2, rect.minY() + 1};
    const std::int64_t width = std::max<std::int64_t>(0, rect.size.width - 3);
    const ThemeStyles& s = frame.styles;
    if (!view.error && view.diff() && !view.diff()->isBinary && !view.diff()->hunks.empty()) return false;
    frame.canvas.fill(rect, s.background);
    if (view.error) {
        frame.canvas.draw(*view.error, at, s.danger, width);
    } else if (!view.diff()) {
        if (view.isLoading) frame.canvas.draw(frame.text(core::Text::loading()), at, s.dim, width);
    } else if (view.diff()->isBinary) {
        frame.canvas.draw(frame.text(core::Text::binaryFile()), at, s.dim, width);
    } else {
        frame.canvas.draw(frame.text(core::Text::emptyDiff()), at, s.dim, width);
    }
    return true;
}

}  // namespace

void draw(UIFrame& frame, const features::DiffViewState& view, Rect rect, features::Pane pane, bool focused,
          const Selection* selection) {
    if (frame.diffLines != nullptr) {
        draw(frame, view, rect, pane, focused, selection, *frame.diffLines);
        return;
    }
    DiffLineCache once;
    draw(frame, view, rect, pane, focused, selection, once);
}

void draw(UIFrame& frame, const features::DiffViewState& view, Rect rect, features::Pane pane, bool focused,
          const Selection* selection, DiffLineCache& cache) {
    if (rect.size.width < 5 || rect.size.height < 1) {
        frame.canvas.fill(rect, frame.styles.background);
        return;
    }
    frame.viewports.diff = rect.size.height;
    frame.viewports.diffWidth = rect.size.width;
    cache.beginFrame();
    if (view.diff()) cache.vouch(*view.diff(), view.revision());
    frame.canvas.withClip(rect, [&](terminal::Canvas&) {
        Context c{frame, view, view.diff() ? *view.diff() : core::Diff::empty, rect, pane, focused, selection, cache,
                  view.path ? core::detectSyntaxLanguage(*view.path) : std::nullopt};
        c.addRegion(rect, {c.focusAction()});
        if (drawMessage(frame, view, rect)) return;
        if (view.isSplit() && view.split()) {
            drawSplit(c, *view.split());
        } else {
            drawUnified(c);
        }
    });
}

}  // namespace tarv::ui::DiffView
