// What the main thread pays when a large read comes back: reducing
// `statusLoaded` with 100,000 changed files and `diffLoaded` with a
// 100,000-line diff, each against copying the same data once, timed in the
// same iteration (the machines are shared and noisy, so the ratio is what
// counts).
//
// - BM_StatusLoaded/first: the first status of a repository (every path is
//   new: the known and included sets are built).
// - BM_StatusLoaded/refresh: the same paths again (the usual refresh).
// - BM_StatusLoaded/changed: a refresh in which one path left and another
//   appeared.
// - BM_DiffLoaded: the selected file's diff arrives (unified and side by
//   side).
//
// Counters: `x_copy`, the reduction's time over the copy's; `copy_ms`, the
// copy's time per iteration.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvSystem/Clock/SystemClock.hpp"

namespace {

using namespace tarv;
using Clock = std::chrono::steady_clock;

constexpr const char* words[] = {"Sources", "Tests", "Models", "View",   "Controller", "config", "parser",
                                 "Network", "Cache", "render", "Layout", "input",      "Theme",  "status"};

// Sorted, as git lists them.
std::vector<core::FileChange> makeFiles(std::size_t count) {
    std::mt19937 random(7);
    std::vector<core::FileChange> files;
    files.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        core::FileChange file;
        file.path = std::string(words[random() % std::size(words)]) + "/" + words[random() % std::size(words)] + "/" +
                    words[random() % std::size(words)] + std::to_string(i) + ".cpp";
        file.kind = i % 10 == 0 ? core::ChangeKind::untracked : core::ChangeKind::modified;
        files.push_back(std::move(file));
    }
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.path < b.path; });
    return files;
}

// Hunks of 100 lines: context around pairs of removed and added lines.
core::Diff makeDiff(std::size_t lines) {
    using K = core::DiffLine::Kind;
    core::Diff diff;
    std::int64_t number = 1;
    for (std::size_t done = 0; done < lines;) {
        core::DiffHunk hunk;
        hunk.header = "@@ -" + std::to_string(number) + ",100 +" + std::to_string(number) + ",100 @@";
        for (int i = 0; i < 100 && done < lines; ++i, ++done, ++number) {
            const K kind = i % 4 == 0 ? K::removed : i % 4 == 1 ? K::added : K::context;
            std::string text = "    const auto value" + std::to_string(number) + " = compute(input, " +
                               std::to_string(i) + ");";
            hunk.lines.push_back(core::DiffLine{kind, std::move(text), number, number});
        }
        diff.hunks.push_back(std::move(hunk));
    }
    return diff;
}

features::AppReducer makeReducer() {
    features::Dependencies dependencies{};
    dependencies.clock = std::make_shared<system::SystemClock>();
    return features::AppReducer(std::move(dependencies));
}

features::AppState withWorkspace() {
    features::AppState state;
    state.workspace.emplace("/repository", "repository", std::nullopt);
    return state;
}

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Per iteration: `prepare` (untimed) returns the action's payload, the copy
// of `data` is timed, then `reduce(payload)` is timed.
template <class Data, class Prepare, class Reduce>
void compareWithCopy(benchmark::State& state, const Data& data, Prepare prepare, Reduce reduce) {
    double reduceSeconds = 0;
    double copySeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto payload = prepare();
        state.ResumeTiming();

        auto start = Clock::now();
        {
            Data copy = data;
            benchmark::DoNotOptimize(copy);
        }
        copySeconds += secondsSince(start);

        start = Clock::now();
        reduce(std::move(payload));
        const double seconds = secondsSince(start);
        reduceSeconds += seconds;
        state.SetIterationTime(seconds);
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["x_copy"] = reduceSeconds / copySeconds;
    state.counters["copy_ms"] = copySeconds / iterations * 1e3;
}

void BM_StatusLoaded(benchmark::State& state) {
    const int scenario = static_cast<int>(state.range(0));  // 0 first, 1 refresh, 2 changed
    core::WorkingTreeStatus status;
    status.files = makeFiles(100'000);
    core::WorkingTreeStatus changed = status;
    changed.files.erase(changed.files.begin() + 500);
    changed.files.push_back(core::FileChange{"zzz/new.cpp"});

    const features::AppReducer reducer = makeReducer();
    features::AppState app = withWorkspace();
    if (scenario != 0) reducer.reduce(app, features::WorkspaceAction::StatusLoaded{status});
    bool flip = false;
    compareWithCopy(
        state, status,
        [&] {
            if (scenario == 0) app = withWorkspace();
            if (scenario == 2) {
                flip = !flip;
                return flip ? changed : status;
            }
            return status;
        },
        [&](core::WorkingTreeStatus payload) {
            benchmark::DoNotOptimize(reducer.reduce(app, features::WorkspaceAction::StatusLoaded{std::move(payload)}));
        });
    state.SetLabel(scenario == 0 ? "first" : scenario == 1 ? "refresh" : "changed");
}
BENCHMARK(BM_StatusLoaded)->Arg(0)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_DiffLoaded(benchmark::State& state) {
    const bool split = state.range(0) != 0;
    const core::Diff diff = makeDiff(100'000);
    const features::AppReducer reducer = makeReducer();
    features::AppState app = withWorkspace();
    auto& changes = app.workspace->changes;
    changes.selectedPath = "big.cpp";
    changes.diff = features::DiffViewState(split);
    changes.diff.path = "big.cpp";
    compareWithCopy(
        state, diff, [&] { return diff; },
        [&](core::Diff payload) {
            benchmark::DoNotOptimize(
                reducer.reduce(app, features::WorkspaceAction::DiffLoaded{"big.cpp", std::move(payload)}));
        });
    state.SetLabel(split ? "side by side" : "unified");
}
BENCHMARK(BM_DiffLoaded)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
