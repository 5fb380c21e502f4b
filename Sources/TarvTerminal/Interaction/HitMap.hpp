#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "TarvTerminal/Geometry/Point.hpp"
#include "TarvTerminal/Geometry/Rect.hpp"

namespace tarv::terminal {

// The regions of a drawn frame that react to the mouse, each with a value
// telling what a click or wheel movement there does. Regions added later lie
// on top of earlier ones.
template <class Value>
class HitMap {
public:
    struct Region {
        Rect rect;
        Value value;
    };

    HitMap() = default;

    // Appends a region; an empty rectangle is ignored.
    void add(const Rect& rect, Value value) {
        if (rect.isEmpty()) return;
        regions_.push_back(Region{rect, std::move(value)});
    }

    // Removes every region, keeping the storage.
    void removeAll() { regions_.clear(); }

    // The value of the most recently added region containing the point.
    std::optional<Value> value(Point point) const {
        for (auto it = regions_.rbegin(); it != regions_.rend(); ++it) {
            if (it->rect.contains(point)) return it->value;
        }
        return std::nullopt;
    }

    // The values of every region containing the point, most recent first.
    std::vector<Value> values(Point point) const {
        std::vector<Value> result;
        for (auto it = regions_.rbegin(); it != regions_.rend(); ++it) {
            if (it->rect.contains(point)) result.push_back(it->value);
        }
        return result;
    }

    const std::vector<Region>& regions() const { return regions_; }

private:
    std::vector<Region> regions_;
};

}  // namespace tarv::terminal
