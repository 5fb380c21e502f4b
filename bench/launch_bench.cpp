// From the launch action to the first status and the first history page
// reduced in the store, with the live adapters (fresh for every launch, as a
// new start of the program has them) on a generated repository of 1,000,000
// commits and 100,000 files, against the same git commands run directly in
// the same run:
//
//   phase 1, at once: `--version` then the four identity and set-up
//            configuration reads side by side (the environment check), and
//            `rev-parse --show-toplevel` (the start directory)
//   phase 2, at once: the status with its operation probe side by side, the
//            first history page, branches then tags, the origin's URL, the
//            stash list; timed until the status and the page are in
//
// Reports the mean times of both sides, `ratio` (tarv's total over git's;
// target at most 1.2) and `ratio_best` (best run over best run). The
// repository is made once by bench/make-large-repo.sh under
// $TARV_BENCH_DATA (default /tmp/tarv-bench-data; a few minutes) and reused.
#include <benchmark/benchmark.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "BenchGit.hpp"
#include "TarvCore/Concurrency/MainQueue.hpp"
#include "TarvCore/Ports/AccountStore.hpp"
#include "TarvEngine/Commands/GitReadCommands.hpp"
#include "TarvEngine/Parsers/RefParser.hpp"
#include "TarvEngine/Service/GitClientLive.hpp"
#include "TarvEngine/Service/GitExecutorProvider.hpp"
#include "TarvEngine/Service/GitRepositoryClientLive.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/Architecture/LiveEffectExecutor.hpp"
#include "TarvFeatures/Architecture/Store.hpp"
#include "TarvStorage/Stores/JSONRepositoryRegistry.hpp"
#include "TarvSystem/Clock/SystemClock.hpp"
#include "TarvSystem/FileSystem/LocalFileStore.hpp"
#include "TarvSystem/FileWatching/InotifyWatcher.hpp"
#include "TarvSystem/IPC/NullCredentialBroker.hpp"

namespace {

using namespace tarv;
using Clock = std::chrono::steady_clock;
using Arguments = std::vector<std::string>;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

const std::string& repository() {
    static const std::string path = bench::generatedRepository("launch-1m-100k", "-c 1000000 -f 100000");
    return path;
}

// A home whose configuration has an identity and a default branch, so that
// the environment check passes as on a set-up machine.
const engine::GitEnvironment::Isolation& home() {
    static const auto isolation = bench::privateHome(
        "launch-home", "[user]\n\tname = Bench\n\temail = bench@example.com\n[init]\n\tdefaultBranch = main\n");
    return isolation;
}

// ---- git directly ------------------------------------------------------

void runAll(const std::vector<Arguments>& commands, const std::string& directory, bool readOnly) {
    const auto environment = engine::GitEnvironment::variables(readOnly, std::nullopt, home());
    for (const auto& arguments : commands) bench::runGitDirectly(arguments, directory, environment);
}

// Each list of commands on a thread of its own, the commands of a list one
// after another.
std::vector<std::future<void>> startSideBySide(const std::vector<std::vector<Arguments>>& lists,
                                               const std::string& directory, bool readOnly) {
    std::vector<std::future<void>> running;
    for (const auto& list : lists) {
        running.push_back(std::async(std::launch::async, [list, directory, readOnly] {
            runAll(list, directory, readOnly);
        }));
    }
    return running;
}

double launchThroughGit() {
    const std::string& path = repository();
    const auto start = Clock::now();
    // Phase 1: the environment check (version, then four reads at once)
    // beside the start directory's root.
    auto probe = std::async(std::launch::async, [&] {
        runAll({{"--version"}}, path, true);
        for (auto& read : startSideBySide({{{"config", "--get-all", "user.name"}},
                                           {{"config", "--get-all", "user.email"}},
                                           {{"config", "--get-all", "credential.helper"}},
                                           {{"config", "--get-all", "init.defaultBranch"}}},
                                          path, true))
            read.get();
    });
    runAll({{"rev-parse", "--show-toplevel"}}, path + "/d000", true);
    probe.get();

    // Phase 2: the open's reads at once; timed to the status and the page.
    const Arguments operationProbe{"rev-parse",  "--git-path", "MERGE_HEAD",       "--git-path", "rebase-merge",
                                   "--git-path", "rebase-apply", "--git-path", "CHERRY_PICK_HEAD", "--git-path",
                                   "REVERT_HEAD"};
    auto awaited = startSideBySide(
        {{{"status", "--porcelain=v2", "-z", "--branch", "--untracked-files=all"}},
         {operationProbe},
         {engine::GitReadCommands::historyArguments(0, 100)}},
        path, true);
    auto others = startSideBySide(
        {{{"for-each-ref", "--sort=-committerdate", "--format=" + std::string(engine::RefParser::format),
           "refs/heads", "refs/remotes"},
          {"for-each-ref", "--sort=-creatordate", "--format=%(refname:short)%00%(*objectname)%00%(objectname)",
           "refs/tags"}},
         {{"config", "--get", "remote.origin.url"}},
         {{"stash", "list", "-z", "--format=%gd%x1f%ct%x1f%gs"}}},
        path, true);
    for (auto& read : awaited) read.get();
    const double elapsed = millisecondsSince(start);
    for (auto& read : others) read.get();
    return elapsed;
}

// ---- tarv --------------------------------------------------------------

class NoAccount final : public core::AccountStore {
public:
    std::optional<core::GitHubSession> load(std::stop_token) override { return std::nullopt; }
    void save(const core::GitHubSession&, std::stop_token) override {}
    void remove(std::stop_token) override {}
};

// The application reducer, noting when the open's status and first history
// page have been reduced.
struct Watching {
    using State = features::AppState;
    using Action = features::AppAction;
    struct Seen {
        bool status = false;
        bool history = false;
    };
    features::AppReducer reducer;
    std::shared_ptr<Seen> seen;

    features::AppEffect reduce(State& state, Action action) const {
        if (const auto* workspace = std::get_if<features::WorkspaceAction>(&action.value)) {
            seen->status |= std::holds_alternative<features::WorkspaceAction::StatusLoaded>(workspace->value);
            seen->history |= std::holds_alternative<features::WorkspaceAction::HistoryLoaded>(workspace->value);
        }
        return reducer.reduce(state, std::move(action));
    }
};

double launchThroughTarv(const std::string& stateFolder) {
    auto runner = std::make_shared<system::PosixProcessRunner>();
    auto files = std::make_shared<system::LocalFileStore>();
    auto clock = std::make_shared<system::SystemClock>();
    auto provider = std::make_shared<engine::GitExecutorProvider>(
        engine::GitLocator::fromEnvironment(runner, std::make_shared<system::LocalFileSystem>()), runner, home(),
        std::nullopt);
    auto client = std::make_shared<engine::GitRepositoryClientLive>(provider, files, clock);
    features::Dependencies dependencies{std::make_shared<engine::GitClientLive>(provider),
                                        client,
                                        std::make_shared<storage::JSONRepositoryRegistry>(files, stateFolder),
                                        std::make_shared<system::InotifyWatcher>(),
                                        nullptr,
                                        runner,
                                        clock,
                                        files,
                                        std::make_shared<system::NullCredentialBroker>(),
                                        nullptr,
                                        std::make_shared<NoAccount>()};
    auto queue = std::make_shared<core::MainQueue>();
    auto executor = std::make_shared<features::LiveEffectExecutor>(queue);
    auto seen = std::make_shared<Watching::Seen>();
    features::Store<Watching> store(features::AppState(), Watching{features::AppReducer(dependencies), seen},
                                    executor);

    const auto start = Clock::now();
    store.send(features::AppAction::Launch{repository() + "/d000"});
    while (!(seen->status && seen->history)) {
        pollfd descriptor{queue->wakeFd(), POLLIN, 0};
        ::poll(&descriptor, 1, 100);
        queue->drain();
    }
    const double elapsed = millisecondsSince(start);
    if (!store.state().workspace) throw std::runtime_error("the start repository did not open");

    store.cancelEffects();
    client->closeHistoryStreams();
    if (!executor->waitForIdle(std::chrono::seconds(60))) throw std::runtime_error("jobs still running");
    queue->drain();
    return elapsed;
}

void BM_Launch1M100k_FirstStatusAndHistory(benchmark::State& state) {
    const std::string stateFolder = bench::dataFolder() + "/launch-state";
    std::filesystem::create_directories(stateFolder);
    // One untimed launch of each warms the file-system caches.
    launchThroughGit();
    launchThroughTarv(stateFolder);
    double gitMs = 0;
    double tarvMs = 0;
    double gitBest = 1e300;
    double tarvBest = 1e300;
    bool gitFirst = true;
    for (auto _ : state) {
        double git = 0;
        double tarv = 0;
        if (gitFirst) {
            git = launchThroughGit();
            tarv = launchThroughTarv(stateFolder);
        } else {
            tarv = launchThroughTarv(stateFolder);
            git = launchThroughGit();
        }
        gitFirst = !gitFirst;
        gitMs += git;
        tarvMs += tarv;
        gitBest = std::min(gitBest, git);
        tarvBest = std::min(tarvBest, tarv);
        state.SetIterationTime(tarv / 1000);
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["git_ms"] = gitMs / iterations;
    state.counters["tarv_ms"] = tarvMs / iterations;
    state.counters["ratio"] = tarvMs / gitMs;
    state.counters["ratio_best"] = tarvBest / gitBest;
}
BENCHMARK(BM_Launch1M100k_FirstStatusAndHistory)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
