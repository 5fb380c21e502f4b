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

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
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

extern char** environ;

namespace {

namespace fs = std::filesystem;
using tarv::engine::GitEnvironment;
using tarv::engine::GitRepositoryClientLive;
using Clock = std::chrono::steady_clock;
using Arguments = std::vector<std::string>;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string dataFolder() {
    const char* configured = std::getenv("TARV_BENCH_DATA");
    std::string folder = configured && *configured ? configured : "/tmp/tarv-bench-data";
    fs::create_directories(folder);
    return folder;
}

std::string homeFolder() {
    std::string home = dataFolder() + "/home";
    fs::create_directories(home);
    std::ofstream(home + "/gitconfig", std::ios::app);
    return home;
}

// The repository `name`, made with the generator's options (and then
// `finish`, a shell command run inside it) when it is not there yet; a
// half-made one from an interrupted run is made again.
std::string repository(const std::string& name, const std::string& options, const std::string& finish = {}) {
    std::string path = dataFolder() + "/" + name;
    std::string done = path + ".done";
    if (fs::exists(done)) return path;
    fs::remove_all(path);
    std::string script = fs::path(__FILE__).parent_path() / "make-large-repo.sh";
    std::fprintf(stderr, "making %s (%s)...\n", name.c_str(), options.c_str());
    std::string command = "'" + script + "' '" + path + "' " + options + " >&2";
    if (!finish.empty()) {
        command += " && cd '" + path + "' && HOME='" + homeFolder() + "' GIT_CONFIG_NOSYSTEM=1 GIT_CONFIG_GLOBAL='" +
                   homeFolder() + "/gitconfig' sh -c '" + finish + "'";
    }
    if (std::system(command.c_str()) != 0) throw std::runtime_error("could not make " + name);
    std::ofstream(done) << options << "\n";
    return path;
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
    static const auto variables = [] {
        std::string home = homeFolder();
        return GitEnvironment::variables(true, std::nullopt, GitEnvironment::Isolation{home, home + "/gitconfig"});
    }();
    return variables;
}

const std::string& gitPath() {
    static const std::string path = [] {
        auto runner = std::make_shared<tarv::system::PosixProcessRunner>();
        return tarv::engine::GitLocator::fromEnvironment(runner, std::make_shared<tarv::system::LocalFileSystem>())
            .locate(std::stop_token{})
            .path;
    }();
    return path;
}

// git run the plain way: posix_spawn with two pipes, both drained by one
// poll loop, then waitpid. Returns the bytes of standard output.
std::size_t runGitDirectly(const Arguments& arguments, const std::string& directory) {
    std::map<std::string, std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        std::string text(*entry);
        auto equals = text.find('=');
        if (equals != std::string::npos) environment[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const auto& [key, value] : readEnvironment()) environment[key] = value;
    std::vector<std::string> envStrings;
    for (const auto& [key, value] : environment) envStrings.push_back(key + "=" + value);
    std::vector<char*> envp;
    for (auto& s : envStrings) envp.push_back(s.data());
    envp.push_back(nullptr);

    std::vector<std::string> argvStrings{gitPath()};
    const auto& base = GitEnvironment::baseArguments();
    argvStrings.insert(argvStrings.end(), base.begin(), base.end());
    argvStrings.insert(argvStrings.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& s : argvStrings) argv.push_back(s.data());
    argv.push_back(nullptr);

    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) throw std::runtime_error("pipe2");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, gitPath().c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    if (spawned != 0) throw std::runtime_error("posix_spawn");

    std::size_t total = 0;
    std::vector<char> buffer(1 << 16);
    int fds[2] = {out[0], err[0]};
    int open = 2;
    while (open > 0) {
        pollfd polled[2];
        int count = 0;
        for (int fd : fds)
            if (fd >= 0) polled[count++] = {fd, POLLIN, 0};
        if (poll(polled, static_cast<nfds_t>(count), -1) < 0) continue;
        for (int i = 0; i < count; ++i) {
            if (polled[i].revents == 0) continue;
            ssize_t n = read(polled[i].fd, buffer.data(), buffer.size());
            if (n > 0) {
                if (polled[i].fd == out[0]) total += static_cast<std::size_t>(n);
                continue;
            }
            for (int& fd : fds)
                if (fd == polled[i].fd) {
                    close(fd);
                    fd = -1;
                }
            --open;
        }
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error("git failed: " + arguments[0]);
    return total;
}

GitRepositoryClientLive& client() {
    static GitRepositoryClientLive instance = [] {
        auto runner = std::make_shared<tarv::system::PosixProcessRunner>();
        auto locator =
            tarv::engine::GitLocator::fromEnvironment(runner, std::make_shared<tarv::system::LocalFileSystem>());
        std::string home = homeFolder();
        auto provider = std::make_shared<tarv::engine::GitExecutorProvider>(
            locator, runner, GitEnvironment::Isolation{home, home + "/gitconfig"}, std::nullopt);
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
