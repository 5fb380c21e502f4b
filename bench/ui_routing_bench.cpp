// Routing input against drawing. The machines are shared and noisy, so the
// figure that counts is a ratio measured within one run:
//
// - BM_RouteKeyVsDraw/<files>: routing one key ("j", a move in the files
//   list, through the keymap) against drawing the workspace screen of the
//   same state at 120 x 40 (the application view: toolbar, file list, diff,
//   commit box, hint bar), in alternating blocks of 200 routings and one
//   frame. The workspace has `files` changed files and a 300-line diff
//   shown. Counters: microseconds per key and per frame (`key_us`,
//   `frame_us`) and `x_key`, how many key routings take as long as one frame.
// - BM_RoutePressVsDraw/<files>: the same with a primary press on the file
//   list, resolved against the hit regions of the drawn frame.

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "TarvFeatures/App/AppState.hpp"
#include "TarvUI/Routing/InputRouter.hpp"
#include "TarvUI/Screens/AppView.hpp"
#include "TarvUI/Theme/Theme.hpp"

namespace {

using Clock = std::chrono::steady_clock;
using namespace tarv;

constexpr terminal::Size screen{120, 40};
constexpr int routingsPerFrame = 200;

core::Diff diffOf(std::int64_t lines) {
    core::Diff diff;
    core::DiffHunk hunk;
    hunk.header = "@@ -1," + std::to_string(lines) + " +1," + std::to_string(lines) + " @@";
    hunk.oldStart = hunk.newStart = 1;
    hunk.oldCount = hunk.newCount = lines;
    for (std::int64_t n = 1; n <= lines; ++n) {
        const auto kind = n % 5 == 0 ? core::DiffLine::Kind::added : core::DiffLine::Kind::context;
        hunk.lines.push_back(core::DiffLine{kind, "    value_" + std::to_string(n) + " = compute(alpha, beta);",
                                            kind == core::DiffLine::Kind::added ? std::nullopt : std::optional(n), n});
    }
    diff.hunks.push_back(std::move(hunk));
    return diff;
}

features::AppState workspaceOf(std::int64_t files) {
    features::AppState state;
    state.onboarding.step = features::OnboardingState::Step::done();
    state.workspace.emplace("/repo", "repo", std::nullopt);
    auto& ws = *state.workspace;
    ws.status.branch.head = "main";
    for (std::int64_t i = 0; i < files; ++i) {
        core::FileChange change;
        change.path = "src/module_" + std::to_string(i / 50) + "/file_" + std::to_string(i) + ".cpp";
        change.kind = core::ChangeKind::modified;
        ws.changes.knownPaths.insert(change.path);
        ws.changes.included.insert(change.path);
        ws.status.files.push_back(std::move(change));
    }
    ws.isStatusLoaded = true;
    ws.changes.diff.setDiff(diffOf(300));
    return state;
}

template <class Route>
void compare(benchmark::State& bench, Route route) {
    const features::AppState state = workspaceOf(bench.range(0));
    ui::InputRouter router;
    double routeSeconds = 0;
    double drawSeconds = 0;
    std::int64_t routings = 0;
    for (auto _ : bench) {
        auto start = Clock::now();
        const ui::RenderedFrame frame = ui::AppView::draw(state, screen, ui::Theme::dark, 0);
        benchmark::DoNotOptimize(frame.grid);
        const double drawn = std::chrono::duration<double>(Clock::now() - start).count();
        drawSeconds += drawn;

        start = Clock::now();
        for (int i = 0; i < routingsPerFrame; ++i) {
            auto actions = route(router, state, frame);
            benchmark::DoNotOptimize(actions);
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        routeSeconds += seconds;
        routings += routingsPerFrame;
        bench.SetIterationTime(seconds + drawn);
    }
    const double frames = static_cast<double>(bench.iterations());
    bench.counters["key_us"] = routeSeconds / static_cast<double>(routings) * 1e6;
    bench.counters["frame_us"] = drawSeconds / frames * 1e6;
    bench.counters["x_key"] = (drawSeconds / frames) / (routeSeconds / static_cast<double>(routings));
}

void BM_RouteKeyVsDraw(benchmark::State& bench) {
    const auto j = terminal::InputEvent::key(terminal::KeyEvent::character("j"));
    compare(bench, [&](ui::InputRouter& router, const features::AppState& state, const ui::RenderedFrame& frame) {
        return router.route(j, state, frame);
    });
}

void BM_RoutePressVsDraw(benchmark::State& bench) {
    const auto press = terminal::InputEvent::mouse(terminal::MouseEvent{
        terminal::MouseEvent::Kind::press(terminal::MouseEvent::Button::left), terminal::Point{10, 8}, {}});
    compare(bench, [&](ui::InputRouter& router, const features::AppState& state, const ui::RenderedFrame& frame) {
        return router.route(press, state, frame);
    });
}

}  // namespace

BENCHMARK(BM_RouteKeyVsDraw)->Arg(100)->Arg(10000)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RoutePressVsDraw)->Arg(100)->Arg(10000)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
