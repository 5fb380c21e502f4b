#include <gtest/gtest.h>

#include "TarvUITests/Routing/RoutingFixtures.hpp"

namespace tarv::ui {
namespace {

using namespace std::chrono_literals;
using core::LineRef;
using features::AppAction;
using features::AppState;
using features::OverlayAction;
using features::Pane;
using features::WorkspaceAction;
using features::WorkspaceFocus;
using terminal::MouseEvent;
using terminal::Modifiers;
using terminal::Rect;
using namespace fixtures;
using Direction = MouseEvent::Direction;

const AppAction click = WorkspaceAction::SelectFile{"a.txt"};
const AppAction doubleClick = WorkspaceAction::Focus{WorkspaceFocus::diff};

// A router on a hand-moved clock.
struct Routed {
    ManualClock clock;
    InputRouter router{Keymap::standard(), clock.now()};
    AppState state = workspace();

    Actions operator()(const terminal::InputEvent& event, const RenderedFrame& frame) {
        return router.route(event, state, frame);
    }
};

HitRegion withDouble() {
    HitRegion region = HitRegion::pressing({click});
    region.doublePress = {doubleClick};
    return region;
}

TEST(MouseRouting, DoublePressOnTheSameCellWithinTheInterval) {
    Routed routed;
    const RenderedFrame frame = frameWith({{Rect(0, 0, 10, 2), withDouble()}});
    EXPECT_EQ(routed(leftPress(2, 0), frame), Actions{click});
    routed.clock.advance(300ms);
    EXPECT_EQ(routed(leftPress(2, 0), frame), Actions{doubleClick});
    routed.clock.advance(300ms);
    EXPECT_EQ(routed(leftPress(2, 0), frame), Actions{click}) << "a third press is a click again";

    routed.clock.advance(300ms);
    EXPECT_EQ(routed(leftPress(3, 0), frame), Actions{click}) << "a neighbouring cell";
    routed.clock.advance(449ms);
    EXPECT_EQ(routed(leftPress(3, 0), frame), Actions{doubleClick}) << "just inside the interval";
    routed.clock.advance(1s);
    routed(leftPress(3, 1), frame);
    routed.clock.advance(450ms);
    EXPECT_EQ(routed(leftPress(3, 1), frame), Actions{click}) << "the interval itself is too late";

    const RenderedFrame single = frameWith({{Rect(0, 0, 10, 2), HitRegion::pressing({click})}});
    routed.clock.advance(100ms);
    EXPECT_EQ(routed(leftPress(3, 1), single), Actions{click}) << "no double action: a click";
}

TEST(MouseRouting, APressOnNothingStillCountsTowardsADoublePress) {
    Routed routed;
    EXPECT_TRUE(routed(leftPress(5, 5), frameWith({})).empty());
    routed.clock.advance(100ms);
    EXPECT_EQ(routed(leftPress(5, 5), frameWith({{Rect(0, 0, 10, 10), withDouble()}})), Actions{doubleClick});
}

// Gutter cells of four selected lines on rows 5 to 8, the diff text beside them.
RenderedFrame gutter() {
    std::vector<std::pair<Rect, HitRegion>> regions;
    for (std::int64_t row = 0; row < 4; ++row) {
        HitRegion line;
        line.line = HitRegion::Line{LineRef{0, row}, true};
        regions.push_back({Rect(0, 5 + row, 2, 1), line});
    }
    regions.push_back({Rect(2, 5, 30, 4), HitRegion::scrolling(Pane::diff)});
    return frameWith(std::move(regions));
}

// Lines 0 to `row` deselected.
Actions rangeTo(std::int64_t row) {
    return {WorkspaceAction::SetLineRange{LineRef{0, 0}, LineRef{0, row}, false}};
}

TEST(MouseRouting, AGutterDragSetsTheRangeFromItsAnchor) {
    Routed routed;
    const RenderedFrame frame = gutter();
    EXPECT_TRUE(routed(leftPress(1, 5), frame).empty());
    for (std::int64_t row = 1; row < 4; ++row) {
        EXPECT_EQ(routed(leftDrag(0, 5 + row), frame), rangeTo(row)) << row;
    }
    EXPECT_TRUE(routed(leftDrag(10, 6), frame).empty()) << "no gutter line here";
    EXPECT_EQ(routed(leftDrag(1, 6), frame), rangeTo(1)) << "the drag stayed alive";
    EXPECT_TRUE(routed(mouse(MouseEvent::Kind::drag(MouseEvent::Button::right), 1, 7), frame).empty());
    EXPECT_TRUE(routed(release(1, 7), frame).empty());
    EXPECT_TRUE(routed(leftDrag(1, 7), frame).empty()) << "the release ended the drag";

    routed(leftPress(1, 6), frame);
    routed(leftPress(10, 6), frame);
    EXPECT_TRUE(routed(leftDrag(1, 7), frame).empty()) << "a press off the gutter ends the drag";
}

// Diff text on row 3 from column 6, its text starting at column 8 and
// scrolled 10 columns.
RenderedFrame text() {
    HitRegion region;
    region.text = HitRegion::TextHit{1, 0, 8, 10};
    HitRegion second;
    second.text = HitRegion::TextHit{2, 0, 8, 10};
    return frameWith({{Rect(6, 3, 30, 1), region}, {Rect(6, 4, 30, 1), second}, {Rect(0, 10, 5, 1), HitRegion{}}});
}

features::DiffTextPoint point(std::int64_t row, std::int64_t column) { return {row, 0, column}; }

TEST(MouseRouting, ATextDragSelectsAndItsReleaseCopies) {
    Routed routed;
    auto& diff = routed.state.workspace->changes.diff;
    diff.setDiff(fixtures::diff(1));
    const RenderedFrame frame = text();

    EXPECT_EQ(routed(leftPress(6, 3), frame), Actions{WorkspaceAction::BeginDiffTextSelection{point(1, 10)}})
        << "left of the text start counts as its first column";
    EXPECT_EQ(routed(leftDrag(11, 4), frame), Actions{WorkspaceAction::ExtendDiffTextSelection{point(2, 13)}});
    EXPECT_TRUE(routed(leftDrag(11, 12), frame).empty()) << "off the text";
    // What the reducer made of the drag: rows 1 and 2 are "old 0" and "new 0".
    diff.textSelection = features::DiffTextSelection{point(1, 0), point(2, 3)};
    EXPECT_EQ(routed(release(0, 0), frame), Actions{WorkspaceAction::EndDiffTextSelection{"old 0\nnew"}});
    EXPECT_TRUE(routed(release(0, 0), frame).empty()) << "one copy per drag";

    EXPECT_EQ(routed(leftPress(1, 10), frame), Actions{WorkspaceAction::EndDiffTextSelection{std::nullopt}})
        << "a press elsewhere clears the selection without copying";
    diff.textSelection.reset();
    EXPECT_TRUE(routed(leftPress(1, 10), frame).empty());

    routed(leftPress(20, 3), frame);
    routed.state.workspace.reset();
    EXPECT_EQ(routed(release(0, 0), frame), Actions{WorkspaceAction::EndDiffTextSelection{std::nullopt}})
        << "no workspace: nothing to copy";
}

TEST(MouseRouting, SecondaryPressOpensTheFirstContextMenuUnderThePointer) {
    Routed routed;
    HitRegion row;
    row.context = HitRegion::Context{{click}, {core::AppCommand::copyPath, core::AppCommand::ignoreFile}, "a.txt"};
    const RenderedFrame frame = frameWith({{Rect(0, 0, 20, 2), row}, {Rect(0, 1, 20, 1), HitRegion::pressing({})}});
    const auto right = [](std::int64_t x, std::int64_t y) {
        return mouse(MouseEvent::Kind::press(MouseEvent::Button::right), x, y, Modifiers::control);
    };
    const Actions expected = {
        click, AppAction::OpenContextMenu{{core::AppCommand::copyPath, core::AppCommand::ignoreFile}, 4, 1, "a.txt"}};
    EXPECT_EQ(routed(right(4, 1), frame), expected) << "through a region without a menu";
    EXPECT_TRUE(routed(right(4, 5), frame).empty());
    EXPECT_TRUE(routed(mouse(MouseEvent::Kind::press(MouseEvent::Button::middle), 4, 1), frame).empty());
    EXPECT_TRUE(routed(mouse(MouseEvent::Kind::move(), 4, 1), frame).empty());
}

// A row region whose actions are made when used, for the cell pressed:
// presses, double presses and context menus reach them as if they had been
// there all along.
TEST(MouseRouting, DeferredActionsAreMadeWhenTheRegionIsUsed) {
    HitRegion row;
    row.deferred = HitRegion::Deferred{[](HitRegion& region, const HitRegion::Deferred& from, terminal::Point at) {
                                           region.press = {WorkspaceAction::SelectFile{from.path + std::to_string(at.x)}};
                                           region.doublePress = {doubleClick};
                                           region.context = HitRegion::Context{{click}, {core::AppCommand::copyPath}, from.path};
                                       },
                                       {}, 0, {}, "b.txt", 0};
    // The row lies under a region without a menu.
    const RenderedFrame frame = frameWith({{Rect(0, 0, 20, 2), row}, {Rect(0, 1, 20, 1), HitRegion::scrolling(Pane::files)}});
    const auto right = mouse(MouseEvent::Kind::press(MouseEvent::Button::right), 4, 1);
    Routed routed;
    EXPECT_EQ(routed(leftPress(2, 0), frame), Actions{WorkspaceAction::SelectFile{"b.txt2"}});
    routed.clock.advance(100ms);
    EXPECT_EQ(routed(leftPress(2, 0), frame), Actions{doubleClick});
    EXPECT_EQ(routed(right, frame), (Actions{click, AppAction::OpenContextMenu{{core::AppCommand::copyPath}, 4, 1, "b.txt"}}));
}

TEST(MouseRouting, WheelTable) {
    struct Row {
        HitRegion::ScrollTarget target;
        Direction direction;
        bool shift;
        Actions expected;
    };
    using Target = HitRegion::ScrollTarget;
    const std::vector<Row> rows = {
        {Target::overlayList(), Direction::up, false, {OverlayAction::Scroll{-3}}},
        {Target::overlayList(), Direction::down, true, {OverlayAction::Scroll{3}}},
        {Target::overlayList(), Direction::left, false, {}},
        {Target::pane(Pane::diff), Direction::left, false, {WorkspaceAction::ScrollDiffHorizontally{-6}}},
        {Target::pane(Pane::historyDiff), Direction::right, true, {WorkspaceAction::ScrollDiffHorizontally{6}}},
        {Target::pane(Pane::diff), Direction::up, true, {WorkspaceAction::ScrollDiffHorizontally{-6}}},
        {Target::pane(Pane::historyDiff), Direction::down, true, {WorkspaceAction::ScrollDiffHorizontally{6}}},
        {Target::pane(Pane::diff), Direction::up, false, {WorkspaceAction::Scroll{Pane::diff, -3}}},
        {Target::pane(Pane::historyDiff), Direction::down, false, {WorkspaceAction::Scroll{Pane::historyDiff, 3}}},
        {Target::pane(Pane::files), Direction::up, true, {WorkspaceAction::Scroll{Pane::files, -3}}},
        {Target::pane(Pane::historyList), Direction::down, false, {WorkspaceAction::Scroll{Pane::historyList, 3}}},
        {Target::pane(Pane::historyFiles), Direction::down, true, {WorkspaceAction::Scroll{Pane::historyFiles, 3}}},
        {Target::pane(Pane::files), Direction::left, false, {}},
        {Target::pane(Pane::historyFiles), Direction::right, true, {}},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        Routed routed;
        HitRegion region;
        region.scroll = rows[i].target;
        // A region without a scroll target on top does not hide the one below.
        const RenderedFrame frame = frameWith({{Rect(0, 0, 10, 10), region}, {Rect(0, 0, 5, 5), withDouble()}});
        const Modifiers modifiers = rows[i].shift ? Modifiers::shift : Modifiers{};
        EXPECT_EQ(routed(wheel(rows[i].direction, 2, 2, modifiers), frame), rows[i].expected) << "row " << i;
    }
    Routed routed;
    EXPECT_TRUE(routed(wheel(Direction::down, 2, 2), frameWith({{Rect(0, 0, 10, 10), withDouble()}})).empty());
}

TEST(InputDispatch, WheelTicksPassTheBrakeAndOtherInputEngagesIt) {
    Routed routed;
    const RenderedFrame frame = frameWith({{Rect(0, 0, 80, 24), HitRegion::scrolling(Pane::diff)}});
    const Actions down = {WorkspaceAction::Scroll{Pane::diff, 3}};
    for (int i = 0; i < 50; ++i) {
        routed.clock.advance(10ms);
        EXPECT_EQ(routed(wheel(Direction::down), frame), down) << i;
    }
    routed.clock.advance(10ms);
    EXPECT_TRUE(routed(wheel(Direction::down), frame).empty()) << "beyond one gesture's ticks";
    for (int i = 0; i < 60; ++i) {
        routed.clock.advance(10ms);
        EXPECT_EQ(routed(wheel(Direction::right), frame), Actions{WorkspaceAction::ScrollDiffHorizontally{6}})
            << "horizontal ticks bypass the brake " << i;
    }

    routed.clock.advance(2s);
    routed(wheel(Direction::down), frame);
    routed.clock.advance(500ms);
    routed(terminal::InputEvent::key(ch("j")), frame);
    routed.clock.advance(100ms);
    EXPECT_TRUE(routed(wheel(Direction::down), frame).empty()) << "a key braked the wheel";

    routed.clock.advance(2s);
    routed(wheel(Direction::up), frame);
    routed.clock.advance(300ms);
    routed(leftPress(1, 1), frame);
    routed.clock.advance(100ms);
    EXPECT_TRUE(routed(wheel(Direction::up), frame).empty()) << "a press braked the wheel";
}

TEST(InputDispatch, PastesFocusAndWindowEvents) {
    Routed routed;
    const RenderedFrame frame = frameWith({});
    EXPECT_TRUE(routed(terminal::InputEvent::paste("text"), frame).empty()) << "no text field";
    routed.state.workspace->focus = WorkspaceFocus::summary;
    EXPECT_EQ(routed(terminal::InputEvent::paste("a\nb"), frame), Actions{AppAction::Pasted{"a\nb"}});
    EXPECT_EQ(routed(terminal::InputEvent::focus(false), frame), Actions{AppAction::WindowFocus{false}});
    EXPECT_TRUE(routed(terminal::InputEvent::resize({100, 30}), frame).empty());
    EXPECT_TRUE(routed(terminal::InputEvent::terminate(), frame).empty());
    EXPECT_TRUE(routed(terminal::InputEvent::key(ctrl("s")), frame) ==
                Actions{AppAction::Command{core::AppCommand::commit}});
}

TEST(InputDispatch, KeysGoThroughTheRoutersOwnKeymap) {
    ManualClock clock;
    const auto chord = core::KeyChord{core::KeyChord::Key::character("R")};
    InputRouter router(Keymap(Keymap::Overrides{{core::AppCommand::refresh, {chord}}}), clock.now());
    const AppState state = workspace();
    EXPECT_TRUE(router.route(terminal::InputEvent::key(ch("R")), state, frameWith({})) ==
                Actions{AppAction::Command{core::AppCommand::refresh}});
    EXPECT_TRUE(router.route(terminal::InputEvent::key(ch("r")), state, frameWith({})).empty());
}

}  // namespace
}  // namespace tarv::ui
