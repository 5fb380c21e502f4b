#pragma once

// Helpers for benchmarks that compare tarv with git run directly: the
// generated repositories kept between runs, a private git home, and git
// started the plain way (posix_spawn, both pipes drained by one poll loop).

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
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
// `options`), made when it is not there yet; a half-made one from an
// interrupted run is made again.
inline std::string generatedRepository(const std::string& name, const std::string& options) {
    namespace fs = std::filesystem;
    const std::string path = dataFolder() + "/" + name;
    const std::string done = path + ".done";
    if (fs::exists(done)) return path;
    fs::remove_all(path);
    const std::string script = fs::path(__FILE__).parent_path() / "make-large-repo.sh";
    std::fprintf(stderr, "making %s (%s)...\n", path.c_str(), options.c_str());
    if (std::system(("'" + script + "' '" + path + "' " + options + " >&2").c_str()) != 0)
        throw std::runtime_error("could not make " + path);
    std::ofstream(done) << options << "\n";
    return path;
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

// git started directly with `arguments` after the engine's base arguments,
// in `directory`, with this process's environment plus `overrides`; both
// pipes are read to their end. Returns the exit code.
inline int runGitDirectly(const std::vector<std::string>& arguments, const std::string& directory,
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
            if (read(polled[i].fd, buffer.data(), buffer.size()) > 0) continue;
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
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace tarv::bench
