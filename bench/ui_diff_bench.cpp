// Scrolling the diff pane. The machines are shared and noisy, so the figure
// that counts is a ratio measured within one run:
//
// - BM_ScrollOneRow/<split>/<column>: one frame after scrolling the pane one
//   row down (a new frame of the terminal's size, then DiffView::draw into a
//   170 x 76 pane with check boxes, syntax colours and word emphasis) in a
//   diff of 5,000 lines of 10,000 characters, against the same in a diff of
//   80-character lines, in alternating blocks of 25 frames. `split` 1 draws
//   side by side; `column` is the horizontal offset of the long lines (0,
//   or 5,000 to show their middle; the short lines are always shown from
//   their start, so that both panes are full of text). The line cache lives
//   across frames, as in the application, so each frame measures the one
//   line that came into view plus the visible columns of the others.
//   Counters: microseconds per frame of both (`long_us`, `short_us`) and
//   `x_short`, the long lines' time over the short lines'.

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "TarvUI/Components/DiffView.hpp"
#include "TarvUI/Keymap/Keymap.hpp"
#include "TarvUI/Theme/Theme.hpp"

namespace {

using Clock = std::chrono::steady_clock;
using namespace tarv;
using core::DiffLine;

constexpr std::int64_t lines = 5000;
constexpr terminal::Size screen{250, 80};
const terminal::Rect pane(78, 3, 170, 76);

// A code-like line of exactly `length` characters; `variant` changes one
// word so that a removed line and its added partner differ a little.
std::string codeLine(std::size_t length, std::int64_t number, int variant) {
    std::string line = "    int value_" + std::to_string(number) + " = compute(alpha, " + (variant ? "gamma" : "beta") +
                       ") + 42; // note";
    while (line.size() < length) line += " sum += items[index] * 3; \"text\" /* more */";
    line.resize(length);
    return line;
}

// Hunks of 40 lines: context, then pairs of removed and added lines.
core::Diff codeDiff(std::size_t length) {
    core::Diff diff;
    std::int64_t number = 1;
    while (number <= lines) {
        core::DiffHunk hunk;
        hunk.header = "@@ -" + std::to_string(number) + ",40 +" + std::to_string(number) + ",40 @@ int main()";
        hunk.oldStart = hunk.newStart = number;
        hunk.oldCount = hunk.newCount = 40;
        for (int k = 0; k < 40; k += 4, number += 4) {
            hunk.lines.push_back(DiffLine{DiffLine::Kind::context, codeLine(length, number, 0), number, number});
            hunk.lines.push_back(DiffLine{DiffLine::Kind::context, codeLine(length, number + 1, 0), number + 1, number + 1});
            hunk.lines.push_back(DiffLine{DiffLine::Kind::removed, codeLine(length, number + 2, 0), number + 2, std::nullopt});
            hunk.lines.push_back(DiffLine{DiffLine::Kind::added, codeLine(length, number + 2, 1), std::nullopt, number + 2});
        }
        diff.hunks.push_back(std::move(hunk));
    }
    return diff;
}

class Scroller {
public:
    Scroller(std::size_t length, bool split, std::int64_t column) : view_(split) {
        view_.path = "src/main.c";
        view_.setDiff(codeDiff(length));
        view_.horizontalOffset = column;
    }

    // Scrolls one row and draws a frame; returns its seconds.
    double frame() {
        view_.scroll(1, pane.size.height);
        const auto start = Clock::now();
        ui::UIFrame frame(screen, features::Viewports{}, styles_, core::Language::en, 0, 0, ui::Keymap::standard());
        ui::DiffView::draw(frame, view_, pane, features::Pane::diff, true, &selection_, cache_);
        benchmark::DoNotOptimize(frame.canvas.grid().cells.data());
        benchmark::ClobberMemory();
        return std::chrono::duration<double>(Clock::now() - start).count();
    }

private:
    features::DiffViewState view_;
    ui::DiffLineCache cache_;
    const features::SelectedLines selection_ = features::SelectedLines::all();
    const ui::ThemeStyles styles_{ui::Theme::dark, false};
};

// Frames of each kind are timed in blocks, so that the two diffs do not
// evict each other from the processor's caches at every frame.
constexpr int block = 25;

void BM_ScrollOneRow(benchmark::State& state) {
    const bool split = state.range(0) != 0;
    const std::int64_t column = state.range(1);
    Scroller shortLines(80, split, 0);
    Scroller longLines(10000, split, column);
    double shortSeconds = 0;
    double longSeconds = 0;
    for (auto _ : state) {
        for (int k = 0; k < block; ++k) shortSeconds += shortLines.frame();
        double seconds = 0;
        for (int k = 0; k < block; ++k) seconds += longLines.frame();
        longSeconds += seconds;
        state.SetIterationTime(seconds / block);
    }
    const auto frames = static_cast<double>(state.iterations()) * block;
    state.counters["long_us"] = longSeconds / frames * 1e6;
    state.counters["short_us"] = shortSeconds / frames * 1e6;
    state.counters["x_short"] = longSeconds / shortSeconds;
}

// 3,000 frames of each scroll 3,000 rows of the about 3,900 side by side
// (5,125 unified): every frame brings a line that the cache has not seen.
BENCHMARK(BM_ScrollOneRow)
    ->ArgsProduct({{0, 1}, {0, 5000}})
    ->ArgNames({"split", "column"})
    ->Iterations(3000 / block)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
