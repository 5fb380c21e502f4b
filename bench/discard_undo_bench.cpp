// The discard of every change in a large working tree and its undo, each
// against the plain git commands that do the same thing on an identical
// copy, measured in the same run and reported as ratios (the machines are
// shared and noisy, so absolute times mean little).
//
// Both copies hold FILES tracked files (1,000 per folder, committed); each
// round changes every second tracked file and writes as many untracked
// files, in both copies alike, then refreshes both indexes (untimed).
//
//   discard: the engine's safety snapshot + discard of all those changes
//            (the status listing handed to it) /
//            git stash push --include-untracked (git's own recorded discard:
//            it saves index, working tree and untracked files as commits,
//            then sets index and working tree back to HEAD)
//   undo:    the engine's check of what changed since the discard (none
//            here), then its restore of every discarded path from the
//            snapshot (working tree, then the staged versions) /
//            git stash pop --index (working tree, untracked files and index
//            back)
//
// Counters: engine_ms and git_ms per round for each, and their ratios.
// Arguments: FILES (20,000 and 100,000, twice; 50,000 once). The repositories are made in a
// temporary folder and removed at exit.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "TarvEngine/Commands/GitReadCommands.hpp"
#include "TarvEngine/Locator/GitLocator.hpp"
#include "TarvEngine/Safety/SnapshotCommands.hpp"
#include "TarvEngine/Service/GitExecutor.hpp"
#include "TarvSystem/FileSystem/LocalFileStore.hpp"
#include "TarvSystem/FileSystem/LocalFileSystem.hpp"
#include "TarvSystem/Process/PosixProcessRunner.hpp"
#include "WriteBenchSupport.hpp"

namespace {

namespace fs = std::filesystem;
using tarv::engine::GitExecutor;
using tarv::engine::SnapshotCommands;
using Clock = std::chrono::steady_clock;

using tarv::bench::millisecondsSince;
using tarv::bench::Scratch;

Scratch& scratch() {
    static Scratch instance("tarv-discard-bench");
    return instance;
}

const GitExecutor& executor() {
    static const GitExecutor instance = tarv::bench::isolatedExecutor(scratch());
    return instance;
}

void git(const std::string& repository, const std::vector<std::string>& arguments) {
    GitExecutor::Options options{.readOnly = false, .timeout = std::chrono::minutes(30)};
    executor().run(arguments, repository, options, std::stop_token{});
}

std::string fileName(int i) {
    return "d" + std::to_string(i / 1000) + "/f" + std::to_string(i) + ".txt";
}

void writeFile(const std::string& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
}

// Two identical repositories of `files` committed files.
void makeRepositories(const std::string& engine, const std::string& plain, int files) {
    fs::create_directories(engine);
    git(engine, {"init", "-q", "-b", "main"});
    for (int i = 0; i < files; ++i) {
        if (i % 1000 == 0) fs::create_directories(engine + "/d" + std::to_string(i / 1000));
        writeFile(engine + "/" + fileName(i), "file " + std::to_string(i) + "\n");
    }
    git(engine, {"add", "-A"});
    git(engine, {"commit", "-q", "-m", "base"});
    fs::copy(engine, plain, fs::copy_options::recursive);
}

// Every second tracked file changed, as many untracked files written; the
// index refreshed.
void changeEverything(const std::string& repository, int files, const std::string& tag) {
    for (int i = 0; i < files; i += 2) {
        writeFile(repository + "/" + fileName(i), "changed " + tag + "\n");
        writeFile(repository + "/" + fileName(i) + ".new", "untracked " + tag + "\n");
    }
    git(repository, {"update-index", "-q", "--refresh"});
}

void BM_DiscardEverythingAndUndo(benchmark::State& state) {
    const int files = static_cast<int>(state.range(0));
    const std::string engine = scratch().root + "/engine-" + std::to_string(files);
    const std::string plain = scratch().root + "/plain-" + std::to_string(files);
    makeRepositories(engine, plain, files);
    auto store = std::make_shared<tarv::system::LocalFileStore>();
    SnapshotCommands snapshots{executor(), store};
    tarv::engine::GitReadCommands reads{executor()};
    double discardOurs = 0, discardGit = 0, undoOurs = 0, undoGit = 0;
    std::int64_t now = 1700000000;
    std::size_t changed = 0;
    for (auto _ : state) {
        const std::string tag = std::to_string(++now);
        changeEverything(engine, files, tag);
        changeEverything(plain, files, tag);
        const auto changes = reads.status(engine, *store, std::stop_token{}).files;
        changed = changes.size();
        const auto paths = SnapshotCommands::pathsTouchedBy(changes);

        auto start = Clock::now();
        const std::string reference = snapshots.create(engine, paths, now, std::stop_token{});
        snapshots.discard(engine, changes, std::stop_token{});
        const double ours = millisecondsSince(start);
        discardOurs += ours;
        start = Clock::now();
        git(plain, {"stash", "push", "-q", "--include-untracked"});
        discardGit += millisecondsSince(start);

        // The undo as the client runs it: what changed since the discard is
        // looked for (and kept, were there any) before the restore.
        start = Clock::now();
        const auto edited = snapshots.editedSinceDiscard(engine, reference, paths, std::stop_token{});
        if (!edited.empty()) snapshots.create(engine, edited, now, std::stop_token{});
        snapshots.restore(engine, reference, paths, std::stop_token{});
        undoOurs += millisecondsSince(start);
        start = Clock::now();
        git(plain, {"stash", "pop", "-q", "--index"});
        undoGit += millisecondsSince(start);
        state.SetIterationTime(ours / 1000);
    }
    const double rounds = static_cast<double>(state.iterations());
    state.counters["changes"] = static_cast<double>(changed);
    state.counters["discard_engine_ms"] = discardOurs / rounds;
    state.counters["discard_git_ms"] = discardGit / rounds;
    state.counters["discard_ratio"] = discardOurs / discardGit;
    state.counters["undo_engine_ms"] = undoOurs / rounds;
    state.counters["undo_git_ms"] = undoGit / rounds;
    state.counters["undo_ratio"] = undoOurs / undoGit;
}
BENCHMARK(BM_DiscardEverythingAndUndo)
    ->Arg(20000)
    ->Arg(100000)
    ->Iterations(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
// 50 folders of 1,000 files, once: the shape of a reported slow case.
BENCHMARK(BM_DiscardEverythingAndUndo)->Arg(50000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
