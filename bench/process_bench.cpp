// Child-process costs of the process runner, each against a baseline timed in
// the same run (the machines are shared and noisy, so ratios are what count):
//
// - BM_SpawnAndReapTrue: 1,000 runs of /bin/true through the runner against a
//   plain posix_spawn + waitpid loop, interleaved in blocks of 100.
// - BM_Read256MiB: a child writing 256 MiB to its standard output, collected
//   by the runner, against `cat FILE > /dev/null` (the same child with nothing
//   to collect) and against `cat FILE | cat > /dev/null` (the same bytes
//   through one pipe to a reader that keeps nothing). Also the peak memory of
//   the run above the output size, measured through VmHWM (reset before each
//   run with /proc/self/clear_refs).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TarvSystem/Process/PosixProcessRunner.hpp"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using tarv::system::PosixProcessRunner;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void waitFor(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

double plainSpawnAndReap(int count) {
    char* argv[] = {const_cast<char*>("/bin/true"), nullptr};
    const auto start = Clock::now();
    for (int i = 0; i < count; ++i) {
        pid_t pid = 0;
        if (::posix_spawn(&pid, "/bin/true", nullptr, nullptr, argv, environ) != 0) std::abort();
        waitFor(pid);
    }
    return secondsSince(start);
}

double runnerSpawnAndReap(PosixProcessRunner& runner, int count) {
    tarv::core::ProcessSpec spec;
    spec.executable = "/bin/true";
    const auto start = Clock::now();
    for (int i = 0; i < count; ++i) {
        if (runner.run(spec, {}).exitCode != 0) std::abort();
    }
    return secondsSince(start);
}

void BM_SpawnAndReapTrue(benchmark::State& state) {
    PosixProcessRunner runner;
    double plain = 0;
    double through = 0;
    std::int64_t rounds = 0;
    for (auto _ : state) {
        double iteration = 0;
        for (int block = 0; block < 10; ++block) {
            plain += plainSpawnAndReap(100);
            const double t = runnerSpawnAndReap(runner, 100);
            through += t;
            iteration += t;
        }
        state.SetIterationTime(iteration);
        ++rounds;
    }
    state.counters["runner_ms_per_1000"] = through / double(rounds) * 1e3;
    state.counters["plain_ms_per_1000"] = plain / double(rounds) * 1e3;
    state.counters["ratio"] = through / plain;
}
BENCHMARK(BM_SpawnAndReapTrue)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------------------

constexpr std::size_t kOutputSize = std::size_t{256} << 20;

// The file the children read, made once per run and removed at exit.
class BigFile {
public:
    BigFile() {
        const char* base = ::getenv("TMPDIR");
        dir_ = std::string(base && *base ? base : "/tmp") + "/tarv-process-bench-XXXXXX";
        if (::mkdtemp(dir_.data()) == nullptr) std::abort();
        path_ = dir_ + "/big.bin";
        std::vector<char> block(std::size_t{1} << 20);
        std::uint32_t x = 12345;
        for (auto& c : block) {
            x = x * 1103515245u + 12345u;
            c = static_cast<char>(x >> 24);
        }
        std::ofstream out(path_, std::ios::binary);
        for (std::size_t written = 0; written < kOutputSize; written += block.size()) out.write(block.data(), block.size());
    }
    ~BigFile() {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    const std::string& path() const { return path_; }

private:
    std::string dir_;
    std::string path_;
};

const std::string& bigFile() {
    static const BigFile file;
    return file.path();
}

double catToDevNull(const std::string& file) {
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>("cat"), const_cast<char*>(file.c_str()), nullptr};
    const auto start = Clock::now();
    pid_t pid = 0;
    if (::posix_spawnp(&pid, "cat", &actions, nullptr, argv, environ) != 0) std::abort();
    waitFor(pid);
    const double t = secondsSince(start);
    ::posix_spawn_file_actions_destroy(&actions);
    return t;
}

double catThroughPipe(const std::string& file) {
    const auto start = Clock::now();
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) std::abort();
    posix_spawn_file_actions_t writer, reader;
    ::posix_spawn_file_actions_init(&writer);
    ::posix_spawn_file_actions_adddup2(&writer, fds[1], 1);
    ::posix_spawn_file_actions_init(&reader);
    ::posix_spawn_file_actions_adddup2(&reader, fds[0], 0);
    ::posix_spawn_file_actions_addopen(&reader, 1, "/dev/null", O_WRONLY, 0);
    char* writerArgv[] = {const_cast<char*>("cat"), const_cast<char*>(file.c_str()), nullptr};
    char* readerArgv[] = {const_cast<char*>("cat"), nullptr};
    pid_t first = 0, second = 0;
    if (::posix_spawnp(&first, "cat", &writer, nullptr, writerArgv, environ) != 0) std::abort();
    if (::posix_spawnp(&second, "cat", &reader, nullptr, readerArgv, environ) != 0) std::abort();
    ::close(fds[0]);
    ::close(fds[1]);
    waitFor(first);
    waitFor(second);
    const double t = secondsSince(start);
    ::posix_spawn_file_actions_destroy(&writer);
    ::posix_spawn_file_actions_destroy(&reader);
    return t;
}

long statusField(const char* name) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::size_t length = std::strlen(name);
    while (std::getline(in, line)) {
        if (line.compare(0, length, name) == 0 && line.size() > length && line[length] == ':')
            return std::atol(line.c_str() + length + 1) * 1024;  // kB
    }
    return -1;
}

void resetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

void BM_Read256MiB(benchmark::State& state) {
    const std::string& file = bigFile();
    catToDevNull(file);  // into the page cache
    PosixProcessRunner runner;
    tarv::core::ProcessSpec spec;
    spec.executable = "cat";
    spec.arguments = {file};

    double cat = 0, pipe = 0, through = 0;
    double worstPeakOver = 0;
    std::int64_t rounds = 0;
    for (auto _ : state) {
        cat += catToDevNull(file);
        pipe += catThroughPipe(file);

        resetPeakMemory();
        const long before = statusField("VmRSS");
        const auto start = Clock::now();
        tarv::core::ProcessResult result = runner.run(spec, {});
        const double t = secondsSince(start);
        const long peak = statusField("VmHWM");
        if (result.stdout.size() != kOutputSize) state.SkipWithError("wrong output size");
        worstPeakOver = std::max(worstPeakOver, double(peak - before - long(kOutputSize)));
        benchmark::DoNotOptimize(result);
        through += t;
        state.SetIterationTime(t);
        ++rounds;
    }
    const double n = double(rounds);
    state.counters["runner_ms"] = through / n * 1e3;
    state.counters["cat_devnull_ms"] = cat / n * 1e3;
    state.counters["cat_pipe_cat_ms"] = pipe / n * 1e3;
    state.counters["ratio_vs_devnull"] = through / cat;
    state.counters["ratio_vs_pipe"] = through / pipe;
    state.counters["peak_over_output_MiB"] = worstPeakOver / double(1 << 20);
}
BENCHMARK(BM_Read256MiB)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
