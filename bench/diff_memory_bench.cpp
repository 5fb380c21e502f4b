// Memory of showing the diff of a huge file. Each measure runs in a fresh
// child process (fork), which resets its peak resident size and reads it from
// /proc/self/status afterwards, so a measure sees only its own peak. The
// figure is a ratio measured in the same run: the peak resident growth over
// the size of the diff text (git's own output for the same diff, read by
// the benchmark directly).
//
// - BM_ShowUntracked/<line length>: the live repository client reads the
//   diff of an untracked text file of $TARV_BENCH_DIFF_MB mebibytes (default
//   96) made of lines of that many characters, the Changes pane's state takes
//   it and one frame of the pane is drawn.
// - BM_ShowRewritten/<line length>: a committed file of that size with
//   every line rewritten; the diff of the working file shown.
// - BM_ShowUntrackedSideBySide/<line length>: the same, the pane showing
//   the diff side by side.
// - BM_CommitThenShow/<line length>: the same diff shown, then the file
//   committed through the client, the Changes pane emptied (the file has
//   left the list), the history's first page and the commit's files read,
//   and the commit's diff of the file shown in the History pane.
//
// Counters: `diff_MB` (git's diff text), `peak_MB` (peak resident growth of
// the measure) and `x_diff`, their ratio. The repositories live under
// $TARV_BENCH_DATA (default /tmp/tarv-bench-data) and are made once.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "BenchGit.hpp"
#include "TarvEngine/Service/GitExecutorProvider.hpp"
#include "TarvEngine/Service/GitRepositoryClientLive.hpp"
#include "TarvFeatures/App/ErrorText.hpp"
#include "TarvFeatures/Diff/DiffViewState.hpp"
#include "TarvSystem/Clock/SystemClock.hpp"
#include "TarvSystem/FileSystem/LocalFileStore.hpp"
#include "TarvUI/Components/DiffView.hpp"
#include "TarvUI/Keymap/Keymap.hpp"
#include "TarvUI/Theme/Theme.hpp"

namespace {

using namespace tarv;

std::size_t fileBytes() {
    const char* configured = std::getenv("TARV_BENCH_DIFF_MB");
    const long megabytes = configured && *configured ? std::atol(configured) : 96;
    return static_cast<std::size_t>(megabytes > 0 ? megabytes : 96) << 20;
}

const std::map<std::string, std::string>& gitEnvironment() {
    static const std::map<std::string, std::string> environment = [] {
        const auto& home = bench::sharedHome();
        return std::map<std::string, std::string>{{"HOME", home.home},
                                                  {"GIT_CONFIG_GLOBAL", home.globalConfig},
                                                  {"GIT_CONFIG_NOSYSTEM", "1"},
                                                  {"GIT_AUTHOR_NAME", "Bench"},
                                                  {"GIT_AUTHOR_EMAIL", "bench@example.com"},
                                                  {"GIT_COMMITTER_NAME", "Bench"},
                                                  {"GIT_COMMITTER_EMAIL", "bench@example.com"}};
    }();
    return environment;
}

void git(const std::vector<std::string>& arguments, const std::string& directory) {
    if (bench::runGitDirectly(arguments, directory, gitEnvironment()) != 0) {
        throw std::runtime_error("git " + arguments.front() + " failed");
    }
}

// Writes `fileBytes()` of lines of `length` characters (a number, then
// words, like a log) to `file`; `shift` picks other words for every line.
void writeBigFile(const std::string& file, std::size_t length, std::size_t shift = 0) {
    std::ofstream out(file, std::ios::binary);
    static const char* words[] = {"alpha", "beta", "gamma", "delta", "value", "index", "count", "total"};
    std::string line;
    for (std::size_t written = 0, n = 0; written < fileBytes(); ++n) {
        line = std::to_string(n);
        while (line.size() < length) line = line + " " + words[(n + line.size() + shift) % 8];
        line.resize(length);
        line += '\n';
        out << line;
        written += line.size();
    }
}

// The repository `<name>-<length>-<MiB>` under the data folder: made once by
// `make` (given its path, after `git init`), with the identity the client
// commits with (its home is empty).
template <class Make>
std::string dataRepository(const std::string& name, std::size_t length, Make make) {
    namespace fs = std::filesystem;
    const std::string path =
        bench::dataFolder() + "/" + name + "-" + std::to_string(length) + "-" + std::to_string(fileBytes() >> 20);
    if (!fs::exists(path + ".done")) {
        fs::remove_all(path);
        fs::create_directories(path);
        git({"init", "-q", "-b", "main"}, path);
        make(path);
        std::ofstream(path + ".done") << "made\n";
    }
    git({"config", "user.name", "Bench"}, path);
    git({"config", "user.email", "bench@example.com"}, path);
    return path;
}

// A repository with one commit and the untracked file "big.txt": lines of
// `length` characters (words and digits, like a log), `fileBytes()` in all.
std::string repositoryWithBigFile(std::size_t length) {
    const std::string path = dataRepository("big-diff", length, [length](const std::string& made) {
        std::ofstream(made + "/README") << "big file\n";
        git({"add", "README"}, made);
        git({"commit", "-q", "-m", "start"}, made);
        git({"tag", "start"}, made);
        writeBigFile(made + "/big.txt", length);
    });
    // Back to the start: nothing committed after "start", the file untracked.
    git({"reset", "-q", "--mixed", "start"}, path);
    return path;
}

// A repository whose committed "big.txt" (as above) has every line
// rewritten in the working tree: each removed line has an added partner.
std::string repositoryWithRewrittenFile(std::size_t length) {
    const std::string path = dataRepository("big-rewrite", length, [length](const std::string& made) {
        writeBigFile(made + "/big.txt", length);
        git({"add", "big.txt"}, made);
        git({"commit", "-q", "-m", "big"}, made);
    });
    writeBigFile(path + "/big.txt", length, 1);
    return path;
}

// The live client, as the application builds it.
engine::GitRepositoryClientLive& client() {
    static engine::GitRepositoryClientLive instance = [] {
        auto runner = std::make_shared<system::PosixProcessRunner>();
        auto locator = engine::GitLocator::fromEnvironment(runner, std::make_shared<system::LocalFileSystem>());
        auto provider = std::make_shared<engine::GitExecutorProvider>(locator, runner, bench::sharedHome(),
                                                                      std::nullopt);
        return engine::GitRepositoryClientLive(provider, std::make_shared<system::LocalFileStore>(),
                                               std::make_shared<system::SystemClock>());
    }();
    return instance;
}

// One frame of the diff pane, drawn with a line cache as the application
// keeps one.
void drawPane(const features::DiffViewState& view, ui::DiffLineCache& cache) {
    const terminal::Size screen{160, 48};
    const ui::ThemeStyles styles{ui::Theme::dark, false};
    ui::UIFrame frame(screen, features::Viewports{}, styles, core::Language::en, 0, 0, ui::Keymap::standard());
    ui::DiffView::draw(frame, view, terminal::Rect(60, 2, 100, 44), features::Pane::diff, true, nullptr, cache);
    benchmark::DoNotOptimize(frame.canvas.grid().cells.data());
}

long statusKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0) return std::atol(line.c_str() + prefix.size());
    }
    return 0;
}

// Runs `work` in a fresh child; returns the growth of its peak resident size
// over its resident size at the start, in bytes.
template <class Work>
double peakGrowthInChild(Work work) {
    int channel[2];
    if (pipe(channel) != 0) throw std::runtime_error("pipe");
    const pid_t pid = fork();
    if (pid == 0) {
        close(channel[0]);
        std::ofstream("/proc/self/clear_refs") << "5";  // resets the peak to the current size
        const long start = statusKilobytes("VmRSS");
        int code = 0;
        try {
            work();
        } catch (const std::exception& error) {
            std::fprintf(stderr, "failed: %s\n", features::ErrorText::describe(error).c_str());
            code = 1;
        } catch (...) {
            code = 1;
        }
        const long growth = (statusKilobytes("VmHWM") - start) * 1024;
        if (write(channel[1], &growth, sizeof growth) != sizeof growth) code = 1;
        _exit(code);
    }
    close(channel[1]);
    long growth = 0;
    const bool read = ::read(channel[0], &growth, sizeof growth) == sizeof growth;
    close(channel[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!read || !WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error("measure failed");
    return static_cast<double>(growth);
}

void showUntracked(const std::string& path, features::DiffViewState& view, ui::DiffLineCache& cache) {
    view.begin("big.txt");
    view.setDiff(client().diff(path, core::FileChange{"big.txt", std::nullopt, core::ChangeKind::untracked},
                               std::stop_token{}));
    drawPane(view, cache);
}

void report(benchmark::State& state, double diffBytes, double peak) {
    state.counters["diff_MB"] = diffBytes / (1 << 20);
    state.counters["peak_MB"] = peak / (1 << 20);
    state.counters["x_diff"] = peak / diffBytes;
}

double diffTextBytes(const std::string& path) {
    return static_cast<double>(
        bench::runGit({"diff", "--no-index", "--no-color", "--no-ext-diff", "-U3", "--", "/dev/null", "big.txt"}, path,
                      gitEnvironment())
            .outputBytes);
}

// Runs `show` (given the view and the line cache) as the measure, once per
// iteration, each time in a fresh view of the given layout; reports its peak.
template <class Show>
void measureShown(benchmark::State& state, double diffBytes, bool split, Show show) {
    client();  // started before the measure, as in the application
    double peak = 0;
    for (auto _ : state) {
        peak = peakGrowthInChild([&] {
            features::DiffViewState view(split);
            ui::DiffLineCache cache;
            show(view, cache);
        });
    }
    report(state, diffBytes, peak);
}

void showUntrackedMeasure(benchmark::State& state, bool split) {
    const std::string path = repositoryWithBigFile(static_cast<std::size_t>(state.range(0)));
    measureShown(state, diffTextBytes(path), split,
                 [&](features::DiffViewState& view, ui::DiffLineCache& cache) { showUntracked(path, view, cache); });
}

void BM_ShowUntracked(benchmark::State& state) { showUntrackedMeasure(state, false); }

// The same diff shown side by side.
void BM_ShowUntrackedSideBySide(benchmark::State& state) { showUntrackedMeasure(state, true); }

// Every line of a committed file rewritten: the diff of the working file.
void BM_ShowRewritten(benchmark::State& state) {
    const std::string path = repositoryWithRewrittenFile(static_cast<std::size_t>(state.range(0)));
    const double diffBytes = static_cast<double>(
        bench::runGit({"diff", "--no-color", "--no-ext-diff", "-U3", "--", "big.txt"}, path, gitEnvironment())
            .outputBytes);
    measureShown(state, diffBytes, false, [&](features::DiffViewState& view, ui::DiffLineCache& cache) {
        view.begin("big.txt");
        view.setDiff(client().diff(path, core::FileChange{"big.txt"}, std::stop_token{}));
        drawPane(view, cache);
    });
}

void BM_CommitThenShow(benchmark::State& state) {
    const std::string path = repositoryWithBigFile(static_cast<std::size_t>(state.range(0)));
    const double diffBytes = diffTextBytes(path);
    client();
    double peak = 0;
    for (auto _ : state) {
        peak = peakGrowthInChild([&] {
            features::DiffViewState changes;
            features::DiffViewState history;
            ui::DiffLineCache cache;
            showUntracked(path, changes, cache);
            client().commit(path, core::CommitMessage{"Add the big file"}, core::CommitSelection{{"big.txt"}},
                            std::stop_token{});
            changes = features::DiffViewState();
            const auto commits = client().history(path, 0, 100, std::stop_token{});
            const auto files = client().files(commits.at(0).sha, path, std::stop_token{});
            history.begin(files.at(0).path);
            history.setDiff(client().diffOfCommit(commits.at(0).sha, files.at(0).path, path, std::stop_token{}));
            drawPane(history, cache);
        });
        state.PauseTiming();
        repositoryWithBigFile(static_cast<std::size_t>(state.range(0)));
        state.ResumeTiming();
    }
    report(state, diffBytes, peak);
}

BENCHMARK(BM_ShowUntracked)->Arg(20)->Arg(60)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowRewritten)->Arg(20)->Arg(60)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowUntrackedSideBySide)->Arg(20)->Arg(60)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CommitThenShow)->Arg(20)->Arg(60)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
