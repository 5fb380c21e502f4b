#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "TarvCore/Models/AppCommand.hpp"
#include "TarvCore/Models/LineRef.hpp"
#include "TarvFeatures/App/AppAction.hpp"
#include "TarvFeatures/Workspace/Pane.hpp"
#include "TarvTerminal/Geometry/Point.hpp"

namespace tarv::ui {

// What a rectangle of a drawn frame means to the mouse. Every part is
// optional in effect: an empty list or an absent value means the region
// does not offer it. A region with every part empty still swallows clicks
// (a popover registers one over itself).
struct HitRegion {
    // A right click: `select` is sent first (for example selecting the row
    // under the pointer), then the menu of `items` opens about `target`.
    struct Context {
        std::vector<features::AppAction> select;
        std::vector<core::AppCommand> items;
        std::optional<std::string> target;
        bool operator==(const Context&) const = default;
    };

    // What the wheel scrolls over the region: a workspace pane or the list
    // of the open overlay.
    struct ScrollTarget {
        struct OverlayList {
            bool operator==(const OverlayList&) const = default;
        };
        std::variant<features::Pane, OverlayList> value;

        static ScrollTarget pane(features::Pane pane) { return ScrollTarget{pane}; }
        static ScrollTarget overlayList() { return ScrollTarget{OverlayList{}}; }

        bool operator==(const ScrollTarget&) const = default;
    };

    // A diff gutter cell of a selectable line, and whether the line is
    // selected now.
    struct Line {
        core::LineRef ref;
        bool selected = false;
        bool operator==(const Line&) const = default;
    };

    // Diff text: the diff row and side (of a split diff), the screen column
    // where the text starts, and the text column shown there.
    struct TextHit {
        std::int64_t row = 0;
        std::int64_t side = 0;
        std::int64_t originX = 0;
        std::int64_t startColumn = 0;
        bool operator==(const TextHit&) const = default;
    };

    // What a region's actions are made from when they are made on demand
    // (`make` is set). The rows of the file list and of the diff register
    // regions on every frame and are seldom clicked: theirs carry this
    // instead of the action lists, which stay empty until `resolved()` has
    // `make` fill them in for the cell pointed at (one region may stand for
    // parts of a row that act differently).
    struct Deferred {
        void (*make)(HitRegion& region, const Deferred& from, terminal::Point at) = nullptr;
        terminal::Point origin;  // the region's top left cell
        std::int64_t row = 0;
        core::LineRef ref;
        std::string path;
        int kind = 0;  // a detail of `make`'s own (which region, a kind of change)
        bool operator==(const Deferred&) const = default;
    };

    std::vector<features::AppAction> press;
    std::vector<features::AppAction> doublePress;
    std::optional<Context> context;
    std::optional<ScrollTarget> scroll;
    std::optional<Line> line;
    std::optional<TextHit> text;
    Deferred deferred;

    // The region with its actions made for the cell `at` inside it; whoever
    // reads a region reads it from here.
    HitRegion resolved(terminal::Point at) const {
        HitRegion region = *this;
        if (deferred.make != nullptr) {
            region.deferred = {};
            deferred.make(region, deferred, at);
        }
        return region;
    }

    // A region that only reacts to a click.
    static HitRegion pressing(std::vector<features::AppAction> actions) {
        HitRegion region;
        region.press = std::move(actions);
        return region;
    }
    // A region that only scrolls `pane`.
    static HitRegion scrolling(features::Pane pane) {
        HitRegion region;
        region.scroll = ScrollTarget::pane(pane);
        return region;
    }

    bool operator==(const HitRegion&) const = default;
};

// The actions given, moved into a list. Views register regions on every row
// of every frame; a braced list would copy each action once more.
template <class... Cases>
std::vector<features::AppAction> actions(Cases&&... cases) {
    std::vector<features::AppAction> list;
    list.reserve(sizeof...(Cases));
    (list.emplace_back(std::forward<Cases>(cases)), ...);
    return list;
}

}  // namespace tarv::ui
