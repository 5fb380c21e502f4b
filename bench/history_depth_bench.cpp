// History pages at any depth through the live repository client, on a
// generated history of 1,000,000 commits (bench/make-large-repo.sh, made
// once under $TARV_BENCH_DATA, default /tmp/tarv-bench-data, and reused):
//
//   BM_History1M_PagingDown  pages of 100 from the top down to 500,000:
//       page_0_ms            a first page (a fresh stream), median;
//                            plain_0_ms the same page read the plain way
//       page_<d>_ms          the pages just below depth d, reached by paging
//                            down from the top, median; x_page_<d> is the
//                            ratio to page_0_ms (target: at most 1.5)
//       to_100k_ms           all the pages from the top to 100,000
//       git_100k_ms          one `git log` of the first 100,000 commits (the
//                            same format, read to its end); x_to_100k is
//                            to_100k_ms / git_100k_ms (target: at most 1.5)
//       git_peak_mb          the peak memory of the stream's git at depth
//                            500,000, against skip_peak_mb, that of one
//                            `git log --skip=500000 --max-count=100`
//   BM_History1M_Jump/<d>    a page at depth d that no stream has reached
//                            against the plain `--skip` read of that page,
//                            in turns (x_skip: target at most 1; x_skip_best
//                            compares the fastest of each side)
//
// The machines are shared and noisy, so each figure is compared within the
// run that measured it.
#include <benchmark/benchmark.h>

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "TarvEngine/Commands/GitReadCommands.hpp"
#include "TarvEngine/Environment/GitEnvironment.hpp"
#include "TarvEngine/Locator/GitLocator.hpp"
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
const std::stop_token none;
constexpr std::int64_t kPage = 100;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

const std::string& repository() {
    static const std::string path = tarv::bench::generatedRepository("history-1m", "-c 1000000 -f 10");
    return path;
}

std::shared_ptr<tarv::engine::GitExecutorProvider> provider() {
    static const auto instance = [] {
        auto runner = std::make_shared<tarv::system::PosixProcessRunner>();
        auto locator =
            tarv::engine::GitLocator::fromEnvironment(runner, std::make_shared<tarv::system::LocalFileSystem>());
        return std::make_shared<tarv::engine::GitExecutorProvider>(locator, runner, tarv::bench::sharedHome(),
                                                                   std::nullopt);
    }();
    return instance;
}

std::unique_ptr<GitRepositoryClientLive> makeClient() {
    return std::make_unique<GitRepositoryClientLive>(provider(), std::make_shared<tarv::system::LocalFileStore>(),
                                                     std::make_shared<tarv::system::SystemClock>());
}

// Today's read of one page: `--max-count` and `--skip`.
std::size_t plainPage(std::int64_t skip) {
    return tarv::engine::GitReadCommands{provider()->executor(none)}.history(repository(), skip, kPage, none).size();
}

// git run directly with the client's read environment, its output read to
// the end; returns the child's peak memory in kilobytes.
long runGitDirectly(const std::vector<std::string>& arguments) {
    static const auto environment = GitEnvironment::variables(true, std::nullopt, tarv::bench::sharedHome());
    const auto run = tarv::bench::runGit(arguments, repository(), environment);
    if (run.exitCode != 0) throw std::runtime_error("git failed");
    return run.peakKilobytes;
}

// The peak memory (VmHWM, kilobytes) of this process's one git child.
long gitChildPeak() {
    DIR* proc = opendir("/proc");
    long peak = 0;
    while (const dirent* entry = proc ? readdir(proc) : nullptr) {
        const int pid = std::atoi(entry->d_name);
        if (pid <= 0) continue;
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        std::string line, name;
        long parent = 0, hwm = 0;
        while (std::getline(status, line)) {
            if (line.rfind("Name:", 0) == 0) name = line.substr(line.find_first_not_of(" \t", 5));
            if (line.rfind("PPid:", 0) == 0) parent = std::atol(line.c_str() + 5);
            if (line.rfind("VmHWM:", 0) == 0) hwm = std::atol(line.c_str() + 6);
        }
        if (parent == getpid() && name == "git") peak = std::max(peak, hwm);
    }
    if (proc) closedir(proc);
    return peak;
}

void BM_History1M_PagingDown(benchmark::State& state) {
    const std::string& path = repository();
    const std::vector<std::int64_t> depths{10000, 100000, 500000};
    constexpr int kSampled = 30;  // pages timed at each depth
    auto logFirst100k = tarv::engine::GitReadCommands::historyArguments(0, 100000);
    std::erase_if(logFirst100k, [](const std::string& a) { return a.rfind("--skip=", 0) == 0; });

    for (auto _ : state) {
        auto client = makeClient();
        client->history(path, 0, kPage, none);  // warms the caches
        std::vector<double> firstPages;
        std::vector<double> plainFirstPages;
        auto sampleFirstPages = [&] {
            for (int i = 0; i < kSampled; ++i) {
                client->closeHistoryStreams();
                auto start = Clock::now();
                benchmark::DoNotOptimize(client->history(path, 0, kPage, none));
                firstPages.push_back(millisecondsSince(start));
                start = Clock::now();
                benchmark::DoNotOptimize(plainPage(0));
                plainFirstPages.push_back(millisecondsSince(start));
            }
        };
        sampleFirstPages();

        std::map<std::int64_t, std::vector<double>> atDepth;
        double to100k = 0;
        std::int64_t skip = 0;
        client->closeHistoryStreams();
        const std::int64_t end = depths.back() + kSampled * kPage;
        while (skip < end) {
            const auto start = Clock::now();
            const auto page = client->history(path, skip, kPage, none);
            const double ms = millisecondsSince(start);
            if (page.size() != std::size_t(kPage)) throw std::runtime_error("short page");
            if (skip < 100000) to100k += ms;
            for (auto depth : depths)
                if (skip >= depth && skip < depth + kSampled * kPage) atDepth[depth].push_back(ms);
            skip += kPage;
        }
        const long streamPeak = gitChildPeak();
        client->closeHistoryStreams();
        sampleFirstPages();

        double git100k = 0;
        for (int i = 0; i < 2; ++i) {
            const auto start = Clock::now();
            runGitDirectly(logFirst100k);
            git100k += millisecondsSince(start) / 2;
        }
        const long skipPeak = runGitDirectly(tarv::engine::GitReadCommands::historyArguments(500000, kPage));

        const double page0 = median(firstPages);
        state.counters["page_0_ms"] = page0;
        state.counters["plain_0_ms"] = median(plainFirstPages);
        for (auto depth : depths) {
            const std::string name = std::to_string(depth / 1000) + "k";
            state.counters["page_" + name + "_ms"] = median(atDepth[depth]);
            state.counters["x_page_" + name] = median(atDepth[depth]) / page0;
        }
        state.counters["to_100k_ms"] = to100k;
        state.counters["git_100k_ms"] = git100k;
        state.counters["x_to_100k"] = to100k / git100k;
        state.counters["git_peak_mb"] = double(streamPeak) / 1024;
        state.counters["skip_peak_mb"] = double(skipPeak) / 1024;
    }
}
BENCHMARK(BM_History1M_PagingDown)->Iterations(1)->Unit(benchmark::kSecond);

// A page where no stream has been: the client against today's plain read,
// in turns (which goes first alternates).
void BM_History1M_Jump(benchmark::State& state) {
    const std::string& path = repository();
    const std::int64_t depth = state.range(0);
    auto client = makeClient();
    double tarvMs = 0, skipMs = 0, tarvBest = 1e300, skipBest = 1e300;
    bool tarvFirst = true;
    for (auto _ : state) {
        client->closeHistoryStreams();
        client->history(path, 0, kPage, none);  // a stream elsewhere, as after paging a little
        double tarv = 0;
        auto runTarv = [&] {
            const auto start = Clock::now();
            benchmark::DoNotOptimize(client->history(path, depth, kPage, none));
            tarv = millisecondsSince(start);
            tarvBest = std::min(tarvBest, tarv);
        };
        auto runSkip = [&] {
            const auto start = Clock::now();
            benchmark::DoNotOptimize(plainPage(depth));
            const double skip = millisecondsSince(start);
            skipMs += skip;
            skipBest = std::min(skipBest, skip);
        };
        if (tarvFirst) {
            runTarv();
            runSkip();
        } else {
            runSkip();
            runTarv();
        }
        tarvFirst = !tarvFirst;
        tarvMs += tarv;
        state.SetIterationTime(tarv / 1000);
    }
    const double iterations = double(state.iterations());
    state.counters["tarv_ms"] = tarvMs / iterations;
    state.counters["skip_ms"] = skipMs / iterations;
    state.counters["x_skip"] = tarvMs / skipMs;
    state.counters["x_skip_best"] = tarvBest / skipBest;
}
BENCHMARK(BM_History1M_Jump)->Arg(1000)->Arg(30000)->Arg(250000)->Iterations(8)->UseManualTime()->Unit(
    benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
