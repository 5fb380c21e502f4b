// The workspace screen. The machines are shared and noisy, so each figure
// is a ratio measured within one run, the two sides timed alternately in the
// same iteration:
//
// - BM_WorkspaceDrawBySize: drawing the whole workspace screen (frame,
//   toolbar, file list, commit box, diff, hint bar) at 250 x 80 with 100,000
//   changed files and a 100,000-line diff selected, against the same screen
//   with 10 files and a 10-line diff. Counters: large_us, small_us and
//   x_small (the large draw's time over the small one's; the bound is 1.5:
//   what is drawn costs, the size of the repository does not). The small
//   screen has few rows to draw (10 file rows, 13 diff rows), the large one
//   fills both panes; BM_WorkspaceDrawBySize/1000 compares the large screen
//   with one of 1,000 files and a 1,000-line diff instead, where both fill
//   their panes, so that only the size of the repository differs.
// - BM_WorkspaceFrame/<files>: one frame as the program makes it after a key
//   press: the keymap routes "j"/"k" in the focused diff, the reducer
//   reduces the action, the screen is drawn and the renderer turns the grid
//   into bytes; against one fill of the whole 250 x 80 canvas. Counters:
//   frame_us (with its parts key_us, routing and reducing, and draw_us),
//   fill_us, x_fill.

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvSystem/Clock/SystemClock.hpp"
#include "TarvTerminal/Render/FrameRenderer.hpp"
#include "TarvUI/Keymap/Keymap.hpp"
#include "TarvUI/Screens/WorkspaceScreen.hpp"

namespace {

using namespace tarv;
using Clock = std::chrono::steady_clock;

constexpr terminal::Size screenSize{250, 80};

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// A diff of `lines` lines in hunks of 100 (a header, then context, removed
// and added lines in turn), with source-like text.
core::Diff makeDiff(std::int64_t lines) {
    core::Diff diff;
    std::int64_t number = 1;
    for (std::int64_t done = 0; done < lines;) {
        core::DiffHunk hunk;
        hunk.header = "@@ -" + std::to_string(number) + ",100 +" + std::to_string(number) + ",100 @@ void parse()";
        for (int i = 0; i < 100 && done < lines; ++i, ++done, ++number) {
            const auto kind = static_cast<core::DiffLine::Kind>(i % 3);
            const std::string text = "    value_" + std::to_string(number) + " = compute(\"text\", " +
                                     std::to_string(number * 7) + "); // note";
            core::DiffLine line{kind, text, std::nullopt, std::nullopt};
            if (kind != core::DiffLine::Kind::added) line.oldNumber = number;
            if (kind != core::DiffLine::Kind::removed) line.newNumber = number;
            hunk.lines.push_back(std::move(line));
        }
        diff.hunks.push_back(std::move(hunk));
    }
    return diff;
}

// An open workspace with `files` changed files, all included, the middle one
// selected with a diff of `diffLines` lines scrolled to its middle, the diff
// pane focused.
std::unique_ptr<features::AppState> makeState(std::int64_t files, std::int64_t diffLines) {
    auto state = std::make_unique<features::AppState>();
    state->workspace.emplace("/work/repo", "repo", "https://example.com/o/repo.git");
    auto& ws = *state->workspace;
    ws.status.branch.head = "main";
    ws.status.branch.upstream = "origin/main";
    ws.isStatusLoaded = true;
    ws.status.files.reserve(static_cast<std::size_t>(files));
    for (std::int64_t i = 0; i < files; ++i) {
        core::FileChange file;
        file.path = "src/module" + std::to_string(i % 97) + "/file" + std::to_string(i) + ".cpp";
        file.kind = i % 5 == 0 ? core::ChangeKind::added : core::ChangeKind::modified;
        ws.status.files.push_back(file);
        ws.changes.knownPaths.insert(file.path);
        ws.changes.included.insert(file.path);
    }
    const std::int64_t selected = files / 2;
    ws.changes.selectedPath = ws.status.files[static_cast<std::size_t>(selected)].path;
    ws.changes.list.selected = selected;
    ws.changes.list.offset = std::max<std::int64_t>(selected - 20, 0);
    ws.changes.diff.path = ws.changes.selectedPath;
    ws.changes.diff.setDiff(makeDiff(diffLines));
    const std::int64_t rows = ws.changes.diff.rowCount();
    ws.changes.diff.offset = std::max<std::int64_t>(rows / 2 - 30, 0);
    ws.changes.diff.cursor = rows / 2;
    ws.focus = features::WorkspaceFocus::diff;
    state->viewports.diff = ws.viewports.diff = 74;
    state->viewports.fileList = ws.viewports.fileList = 59;
    return state;
}

void draw(const features::AppState& state, terminal::Grid& out, std::optional<terminal::Point>& cursor) {
    static const ui::ThemeStyles styles(ui::Theme::dark, false);
    const auto& ws = *state.workspace;
    ui::UIFrame frame(screenSize, state.viewports, styles, state.language, state.now, 0, ui::Keymap::standard());
    ui::WorkspaceScreen::draw(frame, state, ws, ui::WorkspaceLayout::make(screenSize, ws.tab, ws.focus));
    cursor = frame.cursor;
    out = std::move(frame.canvas).grid();
}

void BM_WorkspaceDrawBySize(benchmark::State& bench) {
    const auto large = makeState(100000, 100000);
    const auto small = makeState(bench.range(0), bench.range(0));
    terminal::Grid grid;
    std::optional<terminal::Point> cursor;
    draw(*large, grid, cursor);  // warm the diff line cache as a running program has it
    draw(*small, grid, cursor);
    double largeSeconds = 0;
    double smallSeconds = 0;
    for (auto _ : bench) {
        auto start = Clock::now();
        draw(*small, grid, cursor);
        benchmark::DoNotOptimize(grid.cells.data());
        smallSeconds += secondsSince(start);

        start = Clock::now();
        draw(*large, grid, cursor);
        benchmark::DoNotOptimize(grid.cells.data());
        const double seconds = secondsSince(start);
        largeSeconds += seconds;
        bench.SetIterationTime(seconds);
    }
    const auto n = static_cast<double>(bench.iterations());
    bench.counters["large_us"] = largeSeconds / n * 1e6;
    bench.counters["small_us"] = smallSeconds / n * 1e6;
    bench.counters["x_small"] = largeSeconds / smallSeconds;
}
BENCHMARK(BM_WorkspaceDrawBySize)->Arg(10)->Arg(1000)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_WorkspaceFrame(benchmark::State& bench) {
    const auto files = bench.range(0);
    const auto state = makeState(files, files);
    features::Dependencies dependencies;
    dependencies.clock = std::make_shared<system::SystemClock>();
    const features::AppReducer reducer(dependencies);
    const ui::Keymap& keymap = ui::Keymap::standard();
    terminal::FrameRenderer renderer(terminal::ColorSupport::trueColor);
    terminal::Grid grid;
    std::optional<terminal::Point> cursor;
    draw(*state, grid, cursor);
    renderer.render(grid, cursor);

    terminal::Canvas canvas(screenSize);
    const auto fillStyle = ui::ThemeStyles(ui::Theme::dark, false).surface;
    bool down = true;
    double frameSeconds = 0;
    double fillSeconds = 0;
    double reduceSeconds = 0;
    double drawSeconds = 0;
    std::size_t bytes = 0;
    for (auto _ : bench) {
        auto start = Clock::now();
        canvas.fill(canvas.bounds(), fillStyle, down ? "x" : "y");
        benchmark::DoNotOptimize(canvas.grid().cells.data());
        fillSeconds += secondsSince(start);

        start = Clock::now();
        const auto key = terminal::KeyEvent::character(down ? "j" : "k");
        if (const auto actions = keymap.resolve(key, *state)) {
            for (const auto& action : *actions) benchmark::DoNotOptimize(reducer.reduce(*state, action));
        }
        const auto reduced = Clock::now();
        draw(*state, grid, cursor);
        const auto drawn = Clock::now();
        const std::string output = renderer.render(grid, cursor);
        benchmark::DoNotOptimize(output.data());
        const double seconds = secondsSince(start);
        reduceSeconds += std::chrono::duration<double>(reduced - start).count();
        drawSeconds += std::chrono::duration<double>(drawn - reduced).count();
        frameSeconds += seconds;
        bytes += output.size();
        bench.SetIterationTime(seconds);
        down = !down;
    }
    const auto n = static_cast<double>(bench.iterations());
    bench.counters["frame_us"] = frameSeconds / n * 1e6;
    bench.counters["key_us"] = reduceSeconds / n * 1e6;
    bench.counters["draw_us"] = drawSeconds / n * 1e6;
    bench.counters["fill_us"] = fillSeconds / n * 1e6;
    bench.counters["x_fill"] = frameSeconds / fillSeconds;
    bench.counters["bytes/frame"] = static_cast<double>(bytes) / n;
}
BENCHMARK(BM_WorkspaceFrame)->Arg(10)->Arg(100000)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
