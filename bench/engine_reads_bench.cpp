// Benchmarks of the engine's reads on large repositories, each reported as a
// ratio to git's own time in the same run (the machines are shared and noisy,
// so absolute times mean little):
//
//   status  100,000 changed or untracked files: parse time / git's time
//   history one page of 100 commits at depth 0, 10,000 and 100,000 of a
//           200,000-commit history: the engine's read / `git log` with the
//           same arguments
//   diff    one file of 100,000 lines, every line changed: parse time / git's
//           time
//
// Each benchmark reports wall-clock times (git_ms and the engine's time) and
// CPU times (git_cpu_ms: the git child's user and system time; the engine's
// own CPU time on its thread), with `ratio` on wall-clock time and
// `cpu_ratio` on CPU time; the CPU ratio is the steadier one on a busy
// machine.
//
// Building the parsed values touches many fresh pages (200,000 diff lines
// with their texts are about 27 MB); on machines where page faults are dear
// that dominates the parse. `--retained-heap` runs the same benchmarks with
// an allocator that keeps freed memory for reuse (as a long-running program
// would want), to show the parse itself.
//
// The repositories are made once by bench/make-large-repo.sh under
// $TARV_BENCH_DATA (default: /tmp/tarv-bench-data) and reused by later runs.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>
#include <time.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "TarvEngine/Commands/GitReadCommands.hpp"
#include "TarvEngine/Locator/GitLocator.hpp"
#include "TarvEngine/Parsers/DiffParser.hpp"
#include "TarvEngine/Parsers/StatusParser.hpp"
#include "TarvEngine/Service/GitExecutor.hpp"
#include "TarvSystem/FileSystem/LocalFileStore.hpp"
#include "TarvSystem/FileSystem/LocalFileSystem.hpp"
#include "TarvSystem/Process/PosixProcessRunner.hpp"

namespace {

namespace fs = std::filesystem;
using tarv::engine::DiffParser;
using tarv::engine::GitExecutor;
using tarv::engine::GitReadCommands;
using tarv::engine::StatusParser;
using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// CPU time of the calling thread.
double threadCpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// User and system time of the children this process has waited for.
double childrenCpuMilliseconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Wall-clock and CPU time of one measured step.
struct Times {
    double wall = 0;
    double cpu = 0;
};

// Runs git through the executor and adds its times (the child's CPU time).
template <class F>
auto timeGit(Times& times, F&& run) {
    const double cpuBefore = childrenCpuMilliseconds();
    const auto start = Clock::now();
    auto result = run();
    times.wall += millisecondsSince(start);
    times.cpu += childrenCpuMilliseconds() - cpuBefore;
    return result;
}

// Runs the engine's step and adds its times (this thread's CPU time, plus
// the children's when the step runs git). Returns the step's wall time.
template <class F>
double timeEngine(Times& times, F&& step) {
    const double cpuBefore = threadCpuMilliseconds();
    const double childrenBefore = childrenCpuMilliseconds();
    const auto start = Clock::now();
    step();
    const double wall = millisecondsSince(start);
    times.wall += wall;
    times.cpu += threadCpuMilliseconds() - cpuBefore + childrenCpuMilliseconds() - childrenBefore;
    return wall;
}

std::string dataFolder() {
    const char* configured = std::getenv("TARV_BENCH_DATA");
    std::string folder = configured && *configured ? configured : "/tmp/tarv-bench-data";
    fs::create_directories(folder);
    return folder;
}

// The repository `name`, made with the generator's options when it is not
// there yet (a half-made one from an interrupted run is made again).
std::string repository(const std::string& name, const std::string& options) {
    std::string folder = dataFolder();
    std::string path = folder + "/" + name;
    std::string done = path + ".done";
    if (fs::exists(done)) return path;
    fs::remove_all(path);
    std::string script = fs::path(__FILE__).parent_path() / "make-large-repo.sh";
    std::string command = "'" + script + "' '" + path + "' " + options + " >&2";
    std::fprintf(stderr, "making %s (%s)...\n", name.c_str(), options.c_str());
    if (std::system(command.c_str()) != 0) throw std::runtime_error("make-large-repo.sh failed for " + name);
    std::ofstream(done) << options << "\n";
    return path;
}

// git located as the program does it, run through the live process runner
// with a private home and no global or system configuration.
const GitExecutor& executor() {
    static const GitExecutor instance = [] {
        auto runner = std::make_shared<tarv::system::PosixProcessRunner>();
        auto locator = tarv::engine::GitLocator::fromEnvironment(runner, std::make_shared<tarv::system::LocalFileSystem>());
        std::string home = dataFolder() + "/home";
        fs::create_directories(home);
        std::ofstream(home + "/gitconfig", std::ios::app);
        return GitExecutor{runner, locator.locate(std::stop_token{}),
                           tarv::engine::GitEnvironment::Isolation{home, home + "/gitconfig"}};
    }();
    return instance;
}

const std::vector<std::string> statusArguments{"status", "--porcelain=v2", "-z", "--branch", "--untracked-files=all"};

void reportRatio(benchmark::State& state, const Times& git, const Times& ours, const std::string& oursName) {
    const double iterations = static_cast<double>(state.iterations());
    state.counters["git_ms"] = git.wall / iterations;
    state.counters["git_cpu_ms"] = git.cpu / iterations;
    state.counters[oursName + "_ms"] = ours.wall / iterations;
    state.counters[oursName + "_cpu_ms"] = ours.cpu / iterations;
    state.counters["ratio"] = ours.wall / git.wall;
    state.counters["cpu_ratio"] = ours.cpu / git.cpu;
}

// Parsing the porcelain status of 50,000 modified and 50,000 untracked files.
void BM_StatusParseVersusGit(benchmark::State& state) {
    const std::string path = repository("status-100k", "-c 1 -f 50000 -m 50000 -u 50000");
    Times git, parse;
    std::size_t files = 0;
    for (auto _ : state) {
        auto result = timeGit(git, [&] { return executor().run(statusArguments, path, std::stop_token{}); });
        tarv::core::WorkingTreeStatus status;
        const double wall = timeEngine(parse, [&] { status = StatusParser::parse(result.stdoutBytes()); });
        files = status.files.size();
        state.SetIterationTime(wall / 1000);
    }
    reportRatio(state, git, parse, "parse");
    state.counters["files"] = static_cast<double>(files);
}
BENCHMARK(BM_StatusParseVersusGit)->Iterations(8)->UseManualTime()->Unit(benchmark::kMillisecond);

// The whole status read (status and operation probe at once, then parsing)
// against git's status alone.
void BM_StatusReadVersusGit(benchmark::State& state) {
    const std::string path = repository("status-100k", "-c 1 -f 50000 -m 50000 -u 50000");
    GitReadCommands reads{executor()};
    tarv::system::LocalFileStore files;
    Times git, read;
    for (auto _ : state) {
        benchmark::DoNotOptimize(timeGit(git, [&] { return executor().run(statusArguments, path, std::stop_token{}); }));
        tarv::core::WorkingTreeStatus status;
        const double wall = timeEngine(read, [&] { status = reads.status(path, files, std::stop_token{}); });
        state.SetIterationTime(wall / 1000);
    }
    reportRatio(state, git, read, "read");
}
BENCHMARK(BM_StatusReadVersusGit)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// One page of 100 commits at the given depth of a 200,000-commit history:
// the engine's read (git, then parsing) against the same git command alone.
void BM_HistoryPageVersusGitLog(benchmark::State& state) {
    const std::string path = repository("history-200k", "-c 200000 -f 10");
    const std::int64_t depth = state.range(0);
    GitReadCommands reads{executor()};
    const auto arguments = GitReadCommands::historyArguments(depth, 100);
    Times git, read;
    std::size_t commits = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(timeGit(git, [&] { return executor().run(arguments, path, std::stop_token{}); }));
        std::vector<tarv::core::Commit> page;
        const double wall = timeEngine(read, [&] { page = reads.history(path, depth, 100, std::stop_token{}); });
        commits = page.size();
        state.SetIterationTime(wall / 1000);
    }
    reportRatio(state, git, read, "read");
    state.counters["commits"] = static_cast<double>(commits);
}
BENCHMARK(BM_HistoryPageVersusGitLog)
    ->Arg(0)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Parsing the diff of a 100,000-line file whose every line changed (200,000
// diff lines).
void BM_DiffParseVersusGit(benchmark::State& state) {
    const std::string path = repository("diff-100k", "-c 1 -f 1 -d 100000");
    const std::vector<std::string> arguments{"diff", "HEAD", "-M", "--no-color", "--no-ext-diff", "-U3", "--",
                                             "big.txt"};
    Times git, parse;
    std::size_t lines = 0;
    for (auto _ : state) {
        auto result = timeGit(git, [&] {
            return executor().run(arguments, path, {.environment = tarv::engine::GitEnvironment::literalPathspecs()},
                                  std::stop_token{});
        });
        tarv::core::Diff diff;
        const double wall = timeEngine(parse, [&] { diff = DiffParser::parse(result.stdoutBytes()); });
        lines = 0;
        for (const auto& hunk : diff.hunks) lines += hunk.lines.size();
        state.SetIterationTime(wall / 1000);
    }
    reportRatio(state, git, parse, "parse");
    state.counters["diff_lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_DiffParseVersusGit)->Iterations(8)->UseManualTime()->Unit(benchmark::kMillisecond);

// The machine's baseline for the parses above: first touch of 27 MB of
// fresh memory (about what the 200,000 parsed diff lines occupy).
void BM_TouchFreshMemory27MB(benchmark::State& state) {
    const std::size_t size = std::size_t{27} << 20;
    for (auto _ : state) {
        auto start = Clock::now();
        std::unique_ptr<char[]> memory(new char[size]);
        for (std::size_t offset = 0; offset < size; offset += 4096) memory[offset] = 1;
        benchmark::DoNotOptimize(memory.get());
        state.SetIterationTime(millisecondsSince(start) / 1000);
    }
}
BENCHMARK(BM_TouchFreshMemory27MB)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // Our own flag first; the rest is Google Benchmark's.
    std::vector<char*> arguments;
    for (int i = 0; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--retained-heap") {
            // Fixed thresholds: large blocks come from the heap and freed
            // memory stays for the next parse instead of going back to the
            // system.
            mallopt(M_MMAP_THRESHOLD, 64 << 20);
            mallopt(M_TRIM_THRESHOLD, 512 << 20);
            std::fprintf(stderr, "retained heap\n");
            continue;
        }
        arguments.push_back(argv[i]);
    }
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
