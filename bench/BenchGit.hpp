#pragma once

// Helpers for benchmarks that compare tarv with git run directly: the
// generated repositories kept between runs, a private git home, and git
// started the plain way (posix_spawn, both pipes drained by one poll loop).

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "TarvEngine/Environment/GitEnvironment.hpp"
#include "TarvEngine/Locator/GitLocator.hpp"
#include "TarvSystem/FileSystem/LocalFileSystem.hpp"
#include "TarvSystem/Process/PosixProcessRunner.hpp"

extern char** environ;

namespace tarv::bench {

// $TARV_BENCH_DATA, default /tmp/tarv-bench-data: where generated
// repositories are kept between runs.
inline std::string dataFolder() {
    const char* configured = std::getenv("TARV_BENCH_DATA");
    std::string folder = configured && *configured ? configured : "/tmp/tarv-bench-data";
    std::filesystem::create_directories(folder);
    return folder;
}

// The generated repository `name` (bench/make-large-repo.sh with
// `options`, then `finish`, a shell command run inside it with the private
// home of sharedHome()), made when it is not there yet; a half-made one from
// an interrupted run is made again.
inline std::string generatedRepository(const std::string& name, const std::string& options,
                                       const std::string& finish = {}) {
    namespace fs = std::filesystem;
    const std::string path = dataFolder() + "/" + name;
    const std::string done = path + ".done";
    if (fs::exists(done)) return path;
    fs::remove_all(path);
    const std::string script = fs::path(__FILE__).parent_path() / "make-large-repo.sh";
    std::fprintf(stderr, "making %s (%s)...\n", path.c_str(), options.c_str());
    std::string command = "'" + script + "' '" + path + "' " + options + " >&2";
    if (!finish.empty()) {
        const std::string home = dataFolder() + "/home";
        fs::create_directories(home);
        std::ofstream(home + "/gitconfig", std::ios::app);
        command += " && cd '" + path + "' && HOME='" + home + "' GIT_CONFIG_NOSYSTEM=1 GIT_CONFIG_GLOBAL='" + home +
                   "/gitconfig' sh -c '" + finish + "'";
    }
    if (std::system(command.c_str()) != 0) throw std::runtime_error("could not make " + path);
    std::ofstream(done) << options << "\n";
    return path;
}

// The private home with an empty global git configuration that benchmarks
// reading repositories share ($TARV_BENCH_DATA/home).
inline const engine::GitEnvironment::Isolation& sharedHome() {
    static const engine::GitEnvironment::Isolation isolation = [] {
        const std::string home = dataFolder() + "/home";
        std::filesystem::create_directories(home);
        std::ofstream(home + "/gitconfig", std::ios::app);
        return engine::GitEnvironment::Isolation{home, home + "/gitconfig"};
    }();
    return isolation;
}

// A private home whose global git configuration holds `configuration`
// (written afresh).
inline engine::GitEnvironment::Isolation privateHome(const std::string& name, const std::string& configuration) {
    const std::string home = dataFolder() + "/" + name;
    std::filesystem::create_directories(home);
    std::ofstream(home + "/gitconfig", std::ios::trunc) << configuration;
    return engine::GitEnvironment::Isolation{home, home + "/gitconfig"};
}

// This machine's git, located the way the program does.
inline const std::string& gitPath() {
    static const std::string path = [] {
        auto runner = std::make_shared<system::PosixProcessRunner>();
        return engine::GitLocator::fromEnvironment(runner, std::make_shared<system::LocalFileSystem>())
            .locate(std::stop_token{})
            .path;
    }();
    return path;
}

// What a directly started git did: its exit code, the bytes of its
// standard output and its peak memory in kilobytes.
struct GitRun {
    int exitCode = 0;
    std::size_t outputBytes = 0;
    long peakKilobytes = 0;
};

// git started directly with `arguments` after the engine's base arguments,
// in `directory`, with this process's environment plus `overrides`; both
// pipes are read to their end by one poll loop.
inline GitRun runGit(const std::vector<std::string>& arguments, const std::string& directory,
                     const std::map<std::string, std::string>& overrides) {
    std::map<std::string, std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text(*entry);
        const auto equals = text.find('=');
        if (equals != std::string::npos) environment[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const auto& [key, value] : overrides) environment[key] = value;
    std::vector<std::string> envStrings;
    for (const auto& [key, value] : environment) envStrings.push_back(key + "=" + value);
    std::vector<char*> envp;
    for (auto& text : envStrings) envp.push_back(text.data());
    envp.push_back(nullptr);

    std::vector<std::string> argvStrings{gitPath()};
    const auto& base = engine::GitEnvironment::baseArguments();
    argvStrings.insert(argvStrings.end(), base.begin(), base.end());
    argvStrings.insert(argvStrings.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& text : argvStrings) argv.push_back(text.data());
    argv.push_back(nullptr);

    int out[2];
    int err[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) throw std::runtime_error("pipe2");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, gitPath().c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    if (spawned != 0) throw std::runtime_error("posix_spawn");

    GitRun run;
    std::vector<char> buffer(1 << 16);
    int fds[2] = {out[0], err[0]};
    int open = 2;
    while (open > 0) {
        pollfd polled[2];
        nfds_t count = 0;
        for (int fd : fds)
            if (fd >= 0) polled[count++] = {fd, POLLIN, 0};
        if (poll(polled, count, -1) < 0) continue;
        for (nfds_t i = 0; i < count; ++i) {
            if (polled[i].revents == 0) continue;
            const ssize_t got = read(polled[i].fd, buffer.data(), buffer.size());
            if (got > 0) {
                if (polled[i].fd == out[0]) run.outputBytes += static_cast<std::size_t>(got);
                continue;
            }
            for (int& fd : fds) {
                if (fd == polled[i].fd) {
                    close(fd);
                    fd = -1;
                }
            }
            --open;
        }
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.peakKilobytes = usage.ru_maxrss;
    return run;
}

// runGit's exit code.
inline int runGitDirectly(const std::vector<std::string>& arguments, const std::string& directory,
                          const std::map<std::string, std::string>& overrides) {
    return runGit(arguments, directory, overrides).exitCode;
}

}  // namespace tarv::bench
