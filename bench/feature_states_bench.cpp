// Speed of the feature-state queries that run on every keystroke of a
// filter, each against a plain scan of the same strings timed in the same
// iteration (the machines are shared and noisy, so the ratio is what
// counts). The scan is std::string_view::find of the query in every text,
// counting the hits: what the cheapest possible filter would cost.
//
// - BM_ChangesVisibleFiles: ChangesState::visibleFiles over a status of
//   100,000 files with a 3-letter filter.
// - BM_BranchRowsSelectable: BranchRows::selectable over 5,000 branches
//   (local and remote) with a 3-letter filter, BranchRows::sections, and the
//   fuzzy ranking of the same names alone (FuzzyMatcher::filter), which is
//   the floor of both.
// - BM_PaletteResults: the command palette's rows for a query
//   (PaletteCommands::results, run on every keystroke of the palette) in a
//   repository whose status holds 100,000 files, against a scan of every
//   command title; the blank query keeps all the available commands.
//
// Counters: `x_scan`, the query's time over the scan's; `scan_us`, the
// scan's time per iteration; `rows`, the rows the query returned.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstddef>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Models/AppCommand.hpp"
#include "TarvCore/Models/WorkingTreeStatus.hpp"
#include "TarvCore/Rules/FuzzyMatcher.hpp"
#include "TarvFeatures/Branches/BranchRows.hpp"
#include "TarvFeatures/App/AppState.hpp"
#include "TarvFeatures/Changes/ChangesState.hpp"
#include "TarvFeatures/Palette/PaletteCommands.hpp"

namespace {

using Clock = std::chrono::steady_clock;
using namespace tarv;

constexpr const char* words[] = {"Sources", "Tests",   "Models", "View",   "Controller", "config", "parser",
                                 "Network", "storage", "Cache",  "render", "Layout",     "input",  "Theme",
                                 "branch",  "history", "Diff",   "status", "util",       "main"};

std::string word(std::mt19937& random) { return words[random() % std::size(words)]; }

std::vector<std::string> makePaths(std::size_t count) {
    std::mt19937 random(7);
    std::vector<std::string> paths;
    paths.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        paths.push_back(word(random) + "/" + word(random) + "/" + word(random) + word(random) + std::to_string(i) +
                        ".cpp");
    }
    return paths;
}

std::vector<std::string> makeBranchNames(std::size_t count) {
    std::mt19937 random(11);
    std::vector<std::string> names;
    names.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const char* prefix = i % 3 == 0 ? "origin/" : "";
        names.push_back(std::string(prefix) + (i % 2 ? "feature/" : "fix/") + word(random) + "-" +
                        std::to_string(i));
    }
    return names;
}

std::size_t scan(const std::vector<std::string>& texts, std::string_view query) {
    std::size_t hits = 0;
    for (const std::string& text : texts) hits += std::string_view(text).find(query) != std::string_view::npos;
    return hits;
}

// Times `operation` and the scan alternately, one each per iteration, and
// reports their ratio. `operation` returns the number of rows.
template <class Operation>
void compareWithScan(benchmark::State& state, const std::vector<std::string>& texts, std::string_view query,
                     Operation operation) {
    double operationSeconds = 0;
    double scanSeconds = 0;
    std::size_t rows = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        std::size_t hits = scan(texts, query);
        benchmark::DoNotOptimize(hits);
        scanSeconds += std::chrono::duration<double>(Clock::now() - start).count();

        start = Clock::now();
        rows = operation();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        operationSeconds += seconds;
        state.SetIterationTime(seconds);
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["x_scan"] = operationSeconds / scanSeconds;
    state.counters["scan_us"] = scanSeconds / iterations * 1e6;
    state.counters["rows"] = static_cast<double>(rows);
}

void BM_ChangesVisibleFiles(benchmark::State& state, std::string filter) {
    const std::vector<std::string> paths = makePaths(100'000);
    core::WorkingTreeStatus status;
    status.files.reserve(paths.size());
    for (const auto& path : paths) status.files.push_back(core::FileChange{path});
    features::ChangesState changes;
    changes.filter.setText(filter);
    compareWithScan(state, paths, filter, [&] {
        const auto rows = changes.visibleFiles(status);
        if (!rows.empty()) benchmark::DoNotOptimize(&rows[0]);
        return static_cast<std::size_t>(rows.size());
    });
}
BENCHMARK_CAPTURE(BM_ChangesVisibleFiles, filter_3_letters, std::string("con"))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

std::vector<core::Branch> makeBranches(const std::vector<std::string>& names) {
    std::vector<core::Branch> branches;
    branches.reserve(names.size() + 1);
    branches.push_back(core::Branch{"main", false, true, "origin/main", 0, 0, 1'700'000'000});
    for (std::size_t i = 0; i < names.size(); ++i) {
        core::Branch branch;
        branch.name = names[i];
        branch.isRemote = names[i].starts_with("origin/");
        branch.lastCommitTimestamp = 1'600'000'000 + static_cast<std::int64_t>((i * 7919) % 100'000);
        branches.push_back(std::move(branch));
    }
    return branches;
}

void BM_BranchRowsSelectable(benchmark::State& state) {
    const std::vector<std::string> names = makeBranchNames(5'000);
    const std::vector<core::Branch> branches = makeBranches(names);
    compareWithScan(state, names, "net", [&] {
        const auto rows = features::BranchRows::selectable(branches, "net");
        benchmark::DoNotOptimize(rows.data());
        return rows.size();
    });
}
BENCHMARK(BM_BranchRowsSelectable)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_BranchRowsSections(benchmark::State& state) {
    const std::vector<std::string> names = makeBranchNames(5'000);
    const std::vector<core::Branch> branches = makeBranches(names);
    compareWithScan(state, names, "net", [&] {
        const auto sections = features::BranchRows::sections(branches, "net");
        benchmark::DoNotOptimize(sections.data());
        std::size_t rows = 0;
        for (const auto& section : sections) rows += section.branches.size();
        return rows;
    });
}
BENCHMARK(BM_BranchRowsSections)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_FuzzyFilterOfBranchNames(benchmark::State& state) {
    const std::vector<std::string> names = makeBranchNames(5'000);
    compareWithScan(state, names, "net", [&] {
        const auto rows = core::FuzzyMatcher::filter(names, "net", [](const std::string& name) -> const std::string& {
            return name;
        });
        benchmark::DoNotOptimize(rows.data());
        return rows.size();
    });
}
BENCHMARK(BM_FuzzyFilterOfBranchNames)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_PaletteResults(benchmark::State& state, std::string query) {
    features::AppState app;
    app.workspace.emplace("/repository", "repository", std::nullopt);
    for (const auto& path : makePaths(100'000)) app.workspace->status.files.push_back(core::FileChange{path});
    std::vector<std::string> titles;
    for (const core::AppCommand command : core::allAppCommands) {
        titles.push_back(core::Text::command(command).render(core::Language::en));
    }
    compareWithScan(state, titles, query, [&] {
        const auto rows = features::PaletteCommands::results(app, query);
        benchmark::DoNotOptimize(rows.data());
        return rows.size();
    });
}
BENCHMARK_CAPTURE(BM_PaletteResults, blank, std::string())->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PaletteResults, query_3_letters, std::string("bra"))
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
