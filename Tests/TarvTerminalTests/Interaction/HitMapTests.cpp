#include <gtest/gtest.h>

#include <string>

#include "TarvTerminal/Buffer/Canvas.hpp"
#include "TarvTerminal/Interaction/HitMap.hpp"
#include "TarvTerminal/Widgets/ScrollBar.hpp"

namespace tarv::terminal {
namespace {

TEST(HitMap, LaterRegionsLieOnTop) {
    HitMap<std::string> map;
    map.add(Rect(0, 0, 0, 5), "empty");
    map.add(Rect(0, 0, 10, 10), "A");
    map.add(Rect(5, 5, 10, 10), "B");
    EXPECT_EQ(map.value(Point{6, 6}), "B");
    EXPECT_EQ(map.values(Point{6, 6}), (std::vector<std::string>{"B", "A"}));
    EXPECT_EQ(map.value(Point{1, 1}), "A");
    EXPECT_EQ(map.value(Point{10, 1}), std::nullopt);
    EXPECT_EQ(map.value(Point{0, 0}), "A");
    map.removeAll();
    EXPECT_EQ(map.value(Point{1, 1}), std::nullopt);
}

TEST(ScrollBar, ThumbTable) {
    struct Case {
        std::int64_t height, offset, total, viewport;
        std::optional<ScrollBar::Thumb> thumb;
    };
    const Case cases[] = {
        {10, 0, 10, 10, std::nullopt}, {0, 0, 100, 10, std::nullopt}, {10, 0, 100, 0, std::nullopt},
        {10, 0, 100, 10, ScrollBar::Thumb{0, 1}}, {10, 90, 100, 10, ScrollBar::Thumb{9, 1}},
        {10, 45, 100, 10, ScrollBar::Thumb{4, 1}}, {10, 5, 20, 10, ScrollBar::Thumb{2, 5}},
        {10, 10, 20, 10, ScrollBar::Thumb{5, 5}}, {3, 0, 4, 3, ScrollBar::Thumb{0, 2}},
        {1, 7, 50, 2, ScrollBar::Thumb{0, 1}}, {10, 500, 100, 10, ScrollBar::Thumb{9, 1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScrollBar::thumb(c.height, c.offset, c.total, c.viewport), c.thumb)
            << c.height << " " << c.offset << " " << c.total << " " << c.viewport;
    }
}

TEST(ScrollBar, DrawsTrackAndThumb) {
    Canvas canvas(Size{2, 4});
    const Style thumb = Style::plain.with(std::nullopt, std::nullopt, Attributes::bold);
    EXPECT_EQ(ScrollBar::draw(canvas, 1, 0, 4, 2, 8, 4, Style::plain, thumb), Rect(1, 1, 1, 2));
    EXPECT_EQ(canvas.grid().text(0), " │");
    EXPECT_EQ(canvas.grid().text(1), " ┃");
    EXPECT_EQ(canvas.grid().text(2), " ┃");
    EXPECT_EQ(canvas.grid().text(3), " │");
    EXPECT_EQ(canvas.grid()(1, 2).style, thumb);
    EXPECT_EQ(canvas.grid()(1, 3).style, Style::plain);
    Canvas untouched(Size{2, 4});
    EXPECT_EQ(ScrollBar::draw(untouched, 1, 0, 4, 0, 4, 4, Style::plain, thumb), std::nullopt);
    EXPECT_EQ(untouched.grid(), Canvas(Size{2, 4}).grid());
}

}  // namespace
}  // namespace tarv::terminal
