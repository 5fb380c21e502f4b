// Benchmarks of the engine's writes, each against the plain git commands
// that do the same work, measured in the same run and reported as a ratio
// (the machines are shared and noisy, so absolute times mean little):
//
//   BM_CommitWholeFiles: a commit of 5,000 changed files chosen whole:
//                   the engine's commit (index from HEAD, one "add" reading
//                   the paths from its input, "commit -F -") / one "add"
//                   with all 5,000 paths as arguments + "commit -F -"
//   BM_CommitChosenLines: a commit of 200 chosen lines across 20 files (10 per
//                   file, each file with 20 changed places):
//                   the engine's commit (index from HEAD, one "apply" of
//                   the 20 patches it builds, "commit") / one "apply" of
//                   the same patches + "commit"
//   BM_DiscardWithSnapshot: the discard of 5,000 modified files, safety snapshot
//                   included: the engine's snapshot + discard / the same
//                   snapshot made by hand (temporary index, one "add" of all
//                   paths, write-tree, commit-tree, update-ref) + one
//                   "restore" of all paths, paths as arguments
//   BM_CommitEverything/N: a commit of N new (untracked) files, every change
//                   chosen, in a repository whose index is refreshed first:
//                   the engine's commit (private index, one whole-tree
//                   "add -A", "commit", the user's index updated) / "add -A" +
//                   "commit -F -" on an identical copy, also refreshed first
//
// Path lists: the engine hands them to git on standard input (the commit's
// "add" as pathspecs, the snapshot's and the discard's update-index and
// checkout-index as plain paths), so no command line grows with them. The
// plain baselines pass all 5,000 short paths as arguments (about 80 KB).
// bench/discard_undo_bench.cpp measures discard and undo of whole large
// working trees.
//
// The repositories are made in a temporary folder and removed at exit.
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
#include "TarvEngine/Commands/GitWriteCommands.hpp"
#include "TarvEngine/Locator/GitLocator.hpp"
#include "TarvEngine/Patch/PatchBuilder.hpp"
#include "TarvEngine/Safety/SnapshotCommands.hpp"
#include "TarvEngine/Service/GitExecutor.hpp"
#include "TarvSystem/FileSystem/LocalFileStore.hpp"
#include "TarvSystem/FileSystem/LocalFileSystem.hpp"
#include "TarvSystem/Process/PosixProcessRunner.hpp"
#include "WriteBenchSupport.hpp"

namespace {

namespace fs = std::filesystem;
using tarv::core::ChangeKind;
using tarv::core::CommitMessage;
using tarv::core::CommitSelection;
using tarv::core::FileChange;
using tarv::core::PartialSelection;
using tarv::engine::GitExecutor;
using tarv::engine::GitReadCommands;
using tarv::engine::GitWriteCommands;
using tarv::engine::PatchBuilder;
using tarv::engine::SnapshotCommands;
using Clock = std::chrono::steady_clock;

constexpr int wholeFiles = 5000;
constexpr int partialFiles = 20;
constexpr int linesPerFile = 400;
constexpr int changedPlaces = 20;  // per partial file, every 20th line
constexpr int chosenPlaces = 5;    // per partial file: 5 removals + 5 additions

using tarv::bench::millisecondsSince;
using tarv::bench::Scratch;

Scratch& scratch() {
    static Scratch instance("tarv-writes-bench");
    return instance;
}

const GitExecutor& executor() {
    static const GitExecutor instance = tarv::bench::isolatedExecutor(scratch());
    return instance;
}

GitExecutor::Options writing(std::optional<std::string> input = std::nullopt,
                             std::map<std::string, std::string> environment = {}) {
    GitExecutor::Options options{.readOnly = false, .environment = std::move(environment)};
    if (input) options.stdin = tarv::core::toBytes(*input);
    return options;
}

std::string git(const std::string& repository, const std::vector<std::string>& arguments,
                const GitExecutor::Options& options = writing()) {
    auto result = executor().run(arguments, repository, options, std::stop_token{});
    std::string out = result.stdoutString();
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

void writeFile(const std::string& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
}

// A repository with `count` files of `lines` lines each, committed; returns
// the paths (relative) in their order.
std::vector<std::string> makeRepository(const std::string& repository, int count, int lines) {
    fs::create_directories(repository);
    git(repository, {"init", "-q", "-b", "main"});
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        const std::string dir = "d" + std::to_string(i / 100);
        fs::create_directories(repository + "/" + dir);
        paths.push_back(dir + "/f" + std::to_string(i) + ".txt");
        std::string text;
        for (int line = 0; line < lines; ++line) text += "line " + std::to_string(line) + " of " + paths.back() + "\n";
        writeFile(repository + "/" + paths.back(), text);
    }
    git(repository, {"add", "-A"});
    git(repository, {"commit", "-q", "-m", "base"});
    return paths;
}

// Changes every file (one line each) so that all of them differ from HEAD.
void touchAll(const std::string& repository, const std::vector<std::string>& paths, const std::string& tag) {
    for (const auto& path : paths) writeFile(repository + "/" + path, "changed " + tag + " " + path + "\n");
}

// Changes every 20th line of each partial file.
void editLines(const std::string& repository, const std::vector<std::string>& paths, const std::string& tag) {
    for (const auto& path : paths) {
        std::string text;
        for (int line = 0; line < linesPerFile; ++line) {
            if (line % (linesPerFile / changedPlaces) == 10) {
                text += "edited " + tag + " " + std::to_string(line) + "\n";
            } else {
                text += "line " + std::to_string(line) + " of " + path + "\n";
            }
        }
        writeFile(repository + "/" + path, text);
    }
}

// The partial selections: in each file, the removal and the addition of the
// first five changed places.
std::vector<PartialSelection> chooseLines(const std::string& repository, const std::vector<std::string>& paths) {
    GitReadCommands reads{executor()};
    std::vector<PartialSelection> partials;
    for (const auto& path : paths) {
        PartialSelection partial{path, false, reads.diff(repository, FileChange{path}, std::stop_token{}), {}};
        for (const auto& ref : partial.diff.changeLines()) {
            if (ref.hunk < chosenPlaces) partial.lines.insert(ref);
        }
        partials.push_back(std::move(partial));
    }
    return partials;
}

void report(benchmark::State& state, double engine, double plain) {
    const double iterations = static_cast<double>(state.iterations());
    state.counters["engine_ms"] = engine / iterations;
    state.counters["git_ms"] = plain / iterations;
    state.counters["ratio"] = engine / plain;
}

void BM_CommitWholeFiles(benchmark::State& state) {
    const std::string repository = scratch().root + "/whole";
    static const std::vector<std::string> paths = makeRepository(repository, wholeFiles, 3);
    GitWriteCommands writes{executor()};
    double engine = 0, plain = 0;
    int round = 0;
    for (auto _ : state) {
        ++round;
        touchAll(repository, paths, "engine " + std::to_string(round));
        auto start = Clock::now();
        writes.commit(repository, CommitMessage{"Engine"}, CommitSelection{paths}, false, std::stop_token{});
        const double ours = millisecondsSince(start);
        engine += ours;

        touchAll(repository, paths, "git " + std::to_string(round));
        start = Clock::now();
        std::vector<std::string> add{"add", "-A", "-f", "--"};
        add.insert(add.end(), paths.begin(), paths.end());
        git(repository, add, writing(std::nullopt, tarv::engine::GitEnvironment::literalPathspecs()));
        git(repository, {"commit", "-q", "-F", "-"}, writing("Plain"));
        plain += millisecondsSince(start);
        state.SetIterationTime(ours / 1000);
    }
    report(state, engine, plain);
    state.counters["files"] = static_cast<double>(paths.size());
}
BENCHMARK(BM_CommitWholeFiles)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_CommitChosenLines(benchmark::State& state) {
    const std::string repository = scratch().root + "/lines";
    static const std::vector<std::string> paths = makeRepository(repository, partialFiles, linesPerFile);
    GitWriteCommands writes{executor()};
    double engine = 0, plain = 0;
    std::size_t chosen = 0;
    int round = 0;
    for (auto _ : state) {
        ++round;
        editLines(repository, paths, "engine " + std::to_string(round));
        auto partials = chooseLines(repository, paths);
        chosen = 0;
        for (const auto& partial : partials) chosen += partial.lines.size();
        auto start = Clock::now();
        writes.commit(repository, CommitMessage{"Engine"}, CommitSelection{{}, partials}, false, std::stop_token{});
        const double ours = millisecondsSince(start);
        engine += ours;

        editLines(repository, paths, "git " + std::to_string(round));
        partials = chooseLines(repository, paths);
        std::string patch;
        for (const auto& partial : partials) {
            patch += *PatchBuilder::patch(partial.path, false, partial.diff, partial.lines);
        }
        start = Clock::now();
        git(repository, {"apply", "--cached", "--recount", "--whitespace=nowarn", "-"}, writing(patch));
        git(repository, {"commit", "-q", "-F", "-"}, writing("Plain"));
        plain += millisecondsSince(start);
        state.SetIterationTime(ours / 1000);
    }
    report(state, engine, plain);
    state.counters["lines"] = static_cast<double>(chosen);
}
BENCHMARK(BM_CommitChosenLines)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_DiscardWithSnapshot(benchmark::State& state) {
    const std::string repository = scratch().root + "/discard";
    static const std::vector<std::string> paths = makeRepository(repository, wholeFiles, 3);
    std::vector<FileChange> changes;
    for (const auto& path : paths) changes.push_back(FileChange{path, std::nullopt, ChangeKind::modified});
    SnapshotCommands snapshots{executor(), std::make_shared<tarv::system::LocalFileStore>()};
    const auto& literal = tarv::engine::GitEnvironment::literalPathspecs();
    double engine = 0, plain = 0;
    std::int64_t now = 1700000000;
    for (auto _ : state) {
        touchAll(repository, paths, "engine " + std::to_string(now));
        auto start = Clock::now();
        snapshots.create(repository, paths, ++now, std::stop_token{});
        snapshots.discard(repository, changes, std::stop_token{});
        const double ours = millisecondsSince(start);
        engine += ours;

        touchAll(repository, paths, "git " + std::to_string(now));
        start = Clock::now();
        const std::string index = repository + "/.git/plain-snapshot-index";
        std::map<std::string, std::string> environment{{"GIT_INDEX_FILE", index}};
        git(repository, {"read-tree", "HEAD"}, writing(std::nullopt, environment));
        std::vector<std::string> add{"add", "-A", "-f", "--"};
        add.insert(add.end(), paths.begin(), paths.end());
        environment.insert(literal.begin(), literal.end());
        git(repository, add, writing(std::nullopt, environment));
        const std::string tree = git(repository, {"write-tree"}, writing(std::nullopt, environment));
        const std::string commit =
            git(repository, {"commit-tree", tree, "-p", "HEAD", "-m", "plain"}, writing(std::nullopt, environment));
        git(repository, {"update-ref", "refs/plain/" + std::to_string(now), commit});
        fs::remove(index);
        std::vector<std::string> restore{"restore", "--source=HEAD", "--staged", "--worktree", "--"};
        restore.insert(restore.end(), paths.begin(), paths.end());
        git(repository, restore, writing(std::nullopt, literal));
        plain += millisecondsSince(start);
        state.SetIterationTime(ours / 1000);
    }
    report(state, engine, plain);
    state.counters["files"] = static_cast<double>(paths.size());
}
BENCHMARK(BM_DiscardWithSnapshot)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// A repository with one committed file and `count` untracked files in
// folders of 1,000; returns the untracked paths.
std::vector<std::string> makeUntracked(const std::string& repository, int count) {
    fs::create_directories(repository);
    git(repository, {"init", "-q", "-b", "main"});
    writeFile(repository + "/README", "base\n");
    git(repository, {"add", "-A"});
    git(repository, {"commit", "-q", "-m", "base"});
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        const std::string dir = "u" + std::to_string(i / 1000);
        if (i % 1000 == 0) fs::create_directories(repository + "/" + dir);
        paths.push_back(dir + "/n" + std::to_string(i) + ".txt");
        writeFile(repository + "/" + paths.back(), "new " + std::to_string(i) + "\n");
    }
    git(repository, {"update-index", "-q", "--refresh"});
    return paths;
}

void BM_CommitEverything(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    GitWriteCommands writes{executor()};
    double engine = 0, plain = 0;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string ours = scratch().root + "/everything-" + std::to_string(count) + "-" + std::to_string(round);
        const std::string copy = ours + "-git";
        ++round;
        const std::vector<std::string> paths = makeUntracked(ours, count);
        makeUntracked(copy, count);
        state.ResumeTiming();

        auto start = Clock::now();
        writes.commit(ours, CommitMessage{"Engine"}, CommitSelection{paths}, false, std::stop_token{});
        const double engineMs = millisecondsSince(start);
        engine += engineMs;

        start = Clock::now();
        git(copy, {"add", "-A"});
        git(copy, {"commit", "-q", "-F", "-"}, writing("Plain"));
        plain += millisecondsSince(start);
        state.SetIterationTime(engineMs / 1000);

        if (git(ours, {"rev-parse", "HEAD^{tree}"}) != git(copy, {"rev-parse", "HEAD^{tree}"}) ||
            !git(ours, {"status", "--porcelain"}).empty()) {
            state.SkipWithError("the commits differ");
        }
        std::error_code ignored;
        fs::remove_all(ours, ignored);
        fs::remove_all(copy, ignored);
    }
    report(state, engine, plain);
    state.counters["files"] = count;
}
BENCHMARK(BM_CommitEverything)->Arg(20000)->Arg(100000)->Iterations(1)->UseManualTime()->Unit(
    benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
