#include "Support/TempGitRepo.hpp"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace tarv::testing {

namespace fs = std::filesystem;

namespace {

std::string temporaryBase() {
    const char* tmp = std::getenv("TMPDIR");
    std::string base = (tmp && *tmp) ? tmp : "/tmp";
    std::string pattern = base + "/tarv-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) throw std::runtime_error("mkdtemp failed: " + std::string(std::strerror(errno)));
    return std::string(buffer.data());
}

void writeWhole(const std::string& path, std::string_view contents) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path);
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
}

std::string joinArguments(const std::vector<std::string>& arguments) {
    std::string text;
    for (const auto& argument : arguments) {
        if (!text.empty()) text += ' ';
        text += argument;
    }
    return text;
}

}  // namespace

TempGitRepo::Output runProgram(const std::string& executable, const std::vector<std::string>& arguments,
                               const std::optional<std::string>& directory,
                               const std::map<std::string, std::string>& environment, std::string_view input) {
    // The environment: the test's own, without variables that would point git
    // somewhere else, then the overrides.
    std::map<std::string, std::string> merged;
    for (char** entry = environ; *entry; ++entry) {
        std::string_view text(*entry);
        auto equals = text.find('=');
        if (equals == std::string_view::npos) continue;
        std::string key(text.substr(0, equals));
        if (key == "GIT_DIR" || key == "GIT_WORK_TREE" || key == "GIT_INDEX_FILE" || key == "GIT_OBJECT_DIRECTORY" ||
            key == "GIT_CEILING_DIRECTORIES" || key == "GIT_LITERAL_PATHSPECS" || key == "GIT_GLOB_PATHSPECS")
            continue;
        merged[key] = std::string(text.substr(equals + 1));
    }
    for (const auto& [key, value] : environment) merged[key] = value;
    std::vector<std::string> envStrings;
    for (const auto& [key, value] : merged) envStrings.push_back(key + "=" + value);
    std::vector<char*> envp;
    for (auto& s : envStrings) envp.push_back(s.data());
    envp.push_back(nullptr);

    std::vector<std::string> argvStrings{executable};
    argvStrings.insert(argvStrings.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& s : argvStrings) argv.push_back(s.data());
    argv.push_back(nullptr);

    int inPipe[2], outPipe[2], errPipe[2];
    if (pipe2(inPipe, O_CLOEXEC) != 0 || pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe2 failed");

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, inPipe[0], 0);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    if (directory) posix_spawn_file_actions_addchdir_np(&actions, directory->c_str());

    pid_t pid = 0;
    int spawnError = posix_spawnp(&pid, executable.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(inPipe[0]);
    close(outPipe[1]);
    close(errPipe[1]);
    if (spawnError != 0) {
        close(inPipe[1]);
        close(outPipe[0]);
        close(errPipe[0]);
        TempGitRepo::Output failed;
        failed.exitCode = -1;
        failed.err = "spawn failed: " + std::string(std::strerror(spawnError));
        return failed;
    }

    TempGitRepo::Output output;
    std::size_t written = 0;
    int inFd = inPipe[1];
    if (input.empty()) {
        close(inFd);
        inFd = -1;
    } else {
        // A child that exits without reading must not take the test with it.
        std::signal(SIGPIPE, SIG_IGN);
        fcntl(inFd, F_SETFL, O_NONBLOCK);
    }
    int outFd = outPipe[0];
    int errFd = errPipe[0];
    char buffer[65536];
    while (outFd >= 0 || errFd >= 0 || inFd >= 0) {
        pollfd fds[3];
        int count = 0;
        if (outFd >= 0) fds[count++] = {outFd, POLLIN, 0};
        if (errFd >= 0) fds[count++] = {errFd, POLLIN, 0};
        if (inFd >= 0) fds[count++] = {inFd, POLLOUT, 0};
        if (poll(fds, static_cast<nfds_t>(count), -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (int i = 0; i < count; ++i) {
            if (fds[i].revents == 0) continue;
            if (fds[i].fd == inFd) {
                ssize_t n = write(inFd, input.data() + written, input.size() - written);
                if (n > 0) written += static_cast<std::size_t>(n);
                if (n < 0 && errno != EAGAIN) written = input.size();
                if (written >= input.size() || (fds[i].revents & (POLLERR | POLLHUP))) {
                    close(inFd);
                    inFd = -1;
                }
                continue;
            }
            ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                (fds[i].fd == outFd ? output.out : output.err).append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                if (fds[i].fd == outFd) {
                    close(outFd);
                    outFd = -1;
                } else {
                    close(errFd);
                    errFd = -1;
                }
            }
        }
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    output.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return output;
}

TempGitRepo::TempGitRepo(Start start) {
    root_ = temporaryBase();
    home_ = root_ + "/home";
    path_ = root_ + "/repo";
    globalConfig_ = home_ + "/gitconfig";
    fs::create_directories(home_ + "/.config");
    fs::create_directories(path_);
    writeWhole(globalConfig_,
               "[user]\n\tname = Test User\n\temail = test@example.com\n"
               "[init]\n\tdefaultBranch = main\n"
               "[commit]\n\tgpgsign = false\n"
               "[tag]\n\tgpgsign = false\n"
               "[core]\n\tautocrlf = false\n"
               "[advice]\n\tdetachedHead = false\n"
               "[protocol \"file\"]\n\tallow = always\n");
    if (start == Start::initialised) init();
}

TempGitRepo::~TempGitRepo() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

std::map<std::string, std::string> TempGitRepo::environment() const {
    return {
        {"HOME", home_},
        {"GIT_CONFIG_GLOBAL", globalConfig_},
        {"GIT_CONFIG_NOSYSTEM", "1"},
        {"XDG_CONFIG_HOME", home_ + "/.config"},
        {"XDG_STATE_HOME", home_ + "/.local/state"},
        {"XDG_CACHE_HOME", home_ + "/.cache"},
        {"XDG_DATA_HOME", home_ + "/.local/share"},
    };
}

void TempGitRepo::init(const std::string& branch) { git({"init", "-q", "-b", branch}); }

void TempGitRepo::writeFile(std::string_view relativePath, std::string_view contents) {
    fs::path full = fs::path(path_) / fs::path(std::string(relativePath));
    if (full.has_parent_path()) fs::create_directories(full.parent_path());
    writeWhole(full.string(), contents);
}

std::string TempGitRepo::readFile(std::string_view relativePath) const {
    std::ifstream in(fs::path(path_) / fs::path(std::string(relativePath)), std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

void TempGitRepo::removeFile(std::string_view relativePath) {
    fs::remove(fs::path(path_) / fs::path(std::string(relativePath)));
}

bool TempGitRepo::exists(std::string_view relativePath) const {
    std::error_code ignored;
    return fs::exists(fs::path(path_) / fs::path(std::string(relativePath)), ignored);
}

std::string TempGitRepo::makeFolder(std::string_view name) {
    std::string folder = root_ + "/" + std::string(name);
    fs::create_directories(folder);
    return folder;
}

TempGitRepo::Output TempGitRepo::run(const std::vector<std::string>& arguments,
                                     const std::optional<std::string>& directory, std::string_view input,
                                     const std::map<std::string, std::string>& extraEnvironment) const {
    auto environment = this->environment();
    for (const auto& [key, value] : extraEnvironment) environment[key] = value;
    return runProgram("git", arguments, directory.value_or(path_), environment, input);
}

std::string TempGitRepo::git(const std::vector<std::string>& arguments,
                             const std::optional<std::string>& directory) const {
    Output output = run(arguments, directory);
    if (output.exitCode != 0) {
        ADD_FAILURE() << "git " << joinArguments(arguments) << " exited with " << output.exitCode << ": "
                      << output.err;
    }
    return output.out;
}

std::string TempGitRepo::commitAll(const std::string& message) {
    git({"add", "-A"});
    return commit(message);
}

std::string TempGitRepo::commit(const std::string& message, const std::vector<std::string>& extraArguments) {
    ++commitCount_;
    std::string date = std::to_string(1700000000 + commitCount_ * 60) + " +0000";
    std::vector<std::string> arguments{"commit", "-q", "--allow-empty", "-m", message};
    arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
    Output output = run(arguments, std::nullopt, {}, {{"GIT_AUTHOR_DATE", date}, {"GIT_COMMITTER_DATE", date}});
    if (output.exitCode != 0) {
        ADD_FAILURE() << "git commit exited with " << output.exitCode << ": " << output.err;
        return {};
    }
    return revParse("HEAD");
}

void TempGitRepo::setConfig(const std::string& key, const std::string& value) const {
    git({"config", key, value});
}

std::string TempGitRepo::revParse(const std::string& revision) const {
    std::string out = git({"rev-parse", "--verify", "-q", revision});
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

}  // namespace tarv::testing
