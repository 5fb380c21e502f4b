// Opening-time reads of the live repository client on large repositories,
// each against the same git commands run directly (spawned and drained by a
// bare posix_spawn loop, one after another) in the same run; the machines
// are shared and noisy, so the ratios are what counts:
//
//   status   the status read (porcelain status and operation probe at once,
//            parsing) against `git status` and `git rev-parse --git-path ...`
//   branches the branch listing against `git for-each-ref`
//   history  the first page of 100 commits against `git log`
//   opening  the three reads one after another against the four commands
//
// Each reports the mean times of both sides, `ratio` (tarv's total over
// git's) and `ratio_best` (tarv's fastest run over git's fastest).
//
// on three repositories: 100,000 tracked files with a few changes, 100,000
// changed and untracked files, and 200,000 commits with 300 branches. They
// are made once by bench/make-large-repo.sh under $TARV_BENCH_DATA (default
// /tmp/tarv-bench-data) and reused by later runs.
#include <benchmark/benchmark.h>

#include <stdexcept>


#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "TarvEngine/Commands/GitReadCommands.hpp"
#include "TarvEngine/Environment/GitEnvironment.hpp"
#include "TarvEngine/Locator/GitLocator.hpp"
#include "TarvEngine/Parsers/RefParser.hpp"
#include "TarvEngine/Service/GitExecutorProvider.hpp"
#include "TarvEngine/Service/GitRepositoryClientLive.hpp"
#include "TarvSystem/Clock/SystemClock.hpp"
#include "TarvSystem/FileSystem/LocalFileStore.hpp"
#include "TarvSystem/FileSystem/LocalFileSystem.hpp"
#include "TarvSystem/Process/PosixProcessRunner.hpp"
#include "BenchGit.hpp"

namespace {

using tarv::engine::GitEnvironment;
using tarv::engine::GitRepositoryClientLive;
using Clock = std::chrono::steady_clock;
using Arguments = std::vector<std::string>;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

using tarv::bench::sharedHome;

std::string repository(const std::string& name, const std::string& options, const std::string& finish = {}) {
    return tarv::bench::generatedRepository(name, options, finish);
}

std::string filesRepository() { return repository("client-files-100k", "-c 1000 -f 100000 -m 100 -u 100"); }
std::string changesRepository() { return repository("status-100k", "-c 1 -f 50000 -m 50000 -u 50000"); }
// 300 branches and 300 tags spread over the history, so that the branch
// listing has commits to read and sort.
std::string historyRepository() {
    return repository("client-history-200k", "-c 200000 -f 10",
                      "for i in $(seq 1 300); do echo \"create refs/heads/topic-$i main~$((i * 600))\"; "
                      "echo \"create refs/tags/v$i main~$((i * 650))\"; done | git update-ref --stdin");
}

// The variables git gets from the client for a read, with the benchmark's
// private home: the same work for git on both sides.
const std::map<std::string, std::string>& readEnvironment() {
    static const auto variables = GitEnvironment::variables(true, std::nullopt, sharedHome());
    return variables;
}

// git run the plain way: posix_spawn with two pipes, both drained by one
// poll loop. Returns the bytes of standard output.
std::size_t runGitDirectly(const Arguments& arguments, const std::string& directory) {
    const auto run = tarv::bench::runGit(arguments, directory, readEnvironment());
    if (run.exitCode != 0) throw std::runtime_error("git failed: " + arguments[0]);
    return run.outputBytes;
}

GitRepositoryClientLive& client() {
    static GitRepositoryClientLive instance = [] {
        auto runner = std::make_shared<tarv::system::PosixProcessRunner>();
        auto locator =
            tarv::engine::GitLocator::fromEnvironment(runner, std::make_shared<tarv::system::LocalFileSystem>());
        auto provider = std::make_shared<tarv::engine::GitExecutorProvider>(locator, runner, sharedHome(), std::nullopt);
        return GitRepositoryClientLive(provider, std::make_shared<tarv::system::LocalFileStore>(),
                                       std::make_shared<tarv::system::SystemClock>());
    }();
    return instance;
}

// The git commands behind each read, exactly as the client runs them.
const Arguments statusCommand{"status", "--porcelain=v2", "-z", "--branch", "--untracked-files=all"};
const Arguments operationProbe{"rev-parse",  "--git-path", "MERGE_HEAD",       "--git-path", "rebase-merge",
                               "--git-path", "rebase-apply", "--git-path", "CHERRY_PICK_HEAD", "--git-path",
                               "REVERT_HEAD"};
const Arguments branchListing{"for-each-ref", "--sort=-committerdate",
                              "--format=" + std::string(tarv::engine::RefParser::format), "refs/heads",
                              "refs/remotes"};
const Arguments firstPage = tarv::engine::GitReadCommands::historyArguments(0, 100);

struct Read {
    std::vector<Arguments> commands;          // run directly, one after another
    std::function<std::size_t()> throughTarv;  // the client's read; returns a count of what it got
};

Read statusRead(const std::string& path) {
    return {{statusCommand, operationProbe},
            [path] { return client().status(path, std::stop_token{}).files.size(); }};
}
Read branchesRead(const std::string& path) {
    return {{branchListing}, [path] { return client().branches(path, std::stop_token{}).size(); }};
}
Read historyRead(const std::string& path) {
    return {{firstPage}, [path] { return client().history(path, 0, 100, std::stop_token{}).size(); }};
}
Read openingReads(const std::string& path) {
    return {{statusCommand, operationProbe, branchListing, firstPage}, [path] {
                std::size_t count = client().status(path, std::stop_token{}).files.size();
                count += client().branches(path, std::stop_token{}).size();
                return count + client().history(path, 0, 100, std::stop_token{}).size();
            }};
}

// Runs git's commands and tarv's read in turns (which goes first alternates
// between iterations) and reports both times and their ratio.
void compare(benchmark::State& state, const std::string& path, const Read& read) {
    double gitMs = 0;
    double tarvMs = 0;
    double gitBest = 1e300;
    double tarvBest = 1e300;
    std::size_t items = 0;
    // One untimed round of each warms the file-system caches.
    for (const auto& command : read.commands) runGitDirectly(command, path);
    read.throughTarv();
    bool gitFirst = true;
    for (auto _ : state) {
        auto runGit = [&] {
            auto start = Clock::now();
            for (const auto& command : read.commands) benchmark::DoNotOptimize(runGitDirectly(command, path));
            const double git = millisecondsSince(start);
            gitMs += git;
            gitBest = std::min(gitBest, git);
        };
        double tarv = 0;
        auto runTarv = [&] {
            auto start = Clock::now();
            items = read.throughTarv();
            tarv = millisecondsSince(start);
            tarvMs += tarv;
            tarvBest = std::min(tarvBest, tarv);
        };
        if (gitFirst) {
            runGit();
            runTarv();
        } else {
            runTarv();
            runGit();
        }
        gitFirst = !gitFirst;
        state.SetIterationTime(tarv / 1000);
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["git_ms"] = gitMs / iterations;
    state.counters["tarv_ms"] = tarvMs / iterations;
    state.counters["ratio"] = tarvMs / gitMs;
    // The best run of each side: less at the mercy of other work on a shared
    // machine than the means.
    state.counters["ratio_best"] = tarvBest / gitBest;
    state.counters["items"] = static_cast<double>(items);
}

#define TARV_READ_BENCH(name, repo, read, iterations)                                         \
    void name(benchmark::State& state) { compare(state, repo(), read(repo())); }             \
    BENCHMARK(name)->Iterations(iterations)->UseManualTime()->Unit(benchmark::kMillisecond)

TARV_READ_BENCH(BM_Files100k_Status, filesRepository, statusRead, 10);
TARV_READ_BENCH(BM_Files100k_Branches, filesRepository, branchesRead, 20);
TARV_READ_BENCH(BM_Files100k_HistoryPage, filesRepository, historyRead, 20);
TARV_READ_BENCH(BM_Files100k_Opening, filesRepository, openingReads, 10);

TARV_READ_BENCH(BM_Changes100k_Status, changesRepository, statusRead, 10);
TARV_READ_BENCH(BM_Changes100k_Opening, changesRepository, openingReads, 10);

TARV_READ_BENCH(BM_History200k_Status, historyRepository, statusRead, 20);
TARV_READ_BENCH(BM_History200k_Branches, historyRepository, branchesRead, 20);
TARV_READ_BENCH(BM_History200k_HistoryPage, historyRepository, historyRead, 20);
TARV_READ_BENCH(BM_History200k_Opening, historyRepository, openingReads, 10);

}  // namespace

BENCHMARK_MAIN();
