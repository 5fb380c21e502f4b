#include "Support/TmuxSession.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "Support/SessionProcesses.hpp"

extern char** environ;

namespace tarv::testing {
namespace {

std::string findTmux() {
    for (const char* candidate : {"/usr/bin/tmux", "/usr/local/bin/tmux", "/bin/tmux"}) {
        if (access(candidate, X_OK) == 0) return candidate;
    }
    return {};
}

// Runs argv with `environment`; returns its standard output.
std::string runProgram(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                       int* exitCode) {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        dup2(out[1], 1);
        const int null = open("/dev/null", O_RDWR);
        if (null >= 0) {
            dup2(null, 0);
            dup2(null, 2);
        }
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        std::vector<char*> env;
        for (const std::string& e : environment) env.push_back(const_cast<char*>(e.c_str()));
        env.push_back(nullptr);
        execve(args[0], args.data(), env.data());
        _exit(127);
    }
    close(out[1]);
    std::string output;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n > 0) {
            output.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0 || errno != EINTR) {
            break;
        }
    }
    close(out[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (exitCode) *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

std::vector<std::string> testEnvironment(const std::string& directory) {
    std::vector<std::string> env;
    for (char** e = environ; e && *e; ++e) {
        const std::string entry(*e);
        const std::string name = entry.substr(0, entry.find('='));
        if (name == "HOME" || name == "TMUX" || name == "TMUX_PANE" || name == "TMUX_TMPDIR" || name == "TERM" ||
            name.rfind("XDG_", 0) == 0 || name == "GIT_CONFIG_GLOBAL" || name == "GIT_CONFIG_NOSYSTEM" ||
            name == "PS1" || name == "HISTFILE" || name == "PROMPT_COMMAND") {
            continue;
        }
        env.push_back(entry);
    }
    env.push_back("HOME=" + directory);
    env.push_back("TMUX_TMPDIR=" + directory);
    env.push_back("TERM=xterm-256color");
    env.push_back("XDG_CONFIG_HOME=" + directory + "/config");
    env.push_back("XDG_STATE_HOME=" + directory + "/state");
    env.push_back("XDG_CACHE_HOME=" + directory + "/cache");
    env.push_back("GIT_CONFIG_GLOBAL=" + directory + "/gitconfig");
    env.push_back("GIT_CONFIG_NOSYSTEM=1");
    env.push_back("PS1=$ ");
    env.push_back("HISTFILE=/dev/null");
    return env;
}

std::string toHex(const std::string& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out.push_back(digits[c >> 4]);
        out.push_back(digits[c & 15]);
        out.push_back(' ');
    }
    if (!out.empty()) out.pop_back();
    return out;
}

}  // namespace

bool TmuxSession::available() { return !findTmux().empty(); }

TmuxSession::TmuxSession(int columns, int rows) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarv-tmux-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    directory_ = pattern;
    static std::atomic<int> counter{0};
    socket_ = "tarv-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    int code = 0;
    tmux({"new-session", "-d", "-s", target_, "-x", std::to_string(columns), "-y", std::to_string(rows),
          "/bin/bash --norc --noprofile -i"},
         &code);
    if (code != 0) throw std::runtime_error("tmux new-session failed");
    tmux({"set-option", "-t", target_, "window-size", "manual"});
    // The pane's shell leads the session of everything started in it.
    paneSession_ = static_cast<pid_t>(std::strtol(display("#{pane_pid}").c_str(), nullptr, 10));
    // The shell's prompt.
    waitForScreen([](const std::string& screen) { return screen.find_first_not_of(" \n") != std::string::npos; });
}

TmuxSession::~TmuxSession() {
    tmux({"kill-server"});
    // The terminal is gone: what ran on it gets its hangup and must end.
    const auto left = waitForSessionToEnd(paneSession_, endLimit);
    if (!left.empty()) {
        const auto unkillable = killSession(paneSession_, std::chrono::seconds(10));
        ADD_FAILURE() << "still running " << endLimit.count() << " ms after its terminal was closed, killed: "
                      << describe(left)
                      << (unkillable.empty() ? "" : "; not even SIGKILL ended " + describe(unkillable));
    }
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

std::string TmuxSession::tmux(const std::vector<std::string>& arguments, int* exitCode) {
    std::vector<std::string> argv = {findTmux(), "-L", socket_, "-f", "/dev/null"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return runProgram(argv, testEnvironment(directory_), exitCode);
}

void TmuxSession::typeLine(const std::string& line) {
    sendLiteral(line);
    sendKeys({"Enter"});
}

void TmuxSession::sendKeys(const std::vector<std::string>& keys) {
    std::vector<std::string> arguments = {"send-keys", "-t", target_};
    arguments.insert(arguments.end(), keys.begin(), keys.end());
    tmux(arguments);
}

void TmuxSession::sendLiteral(const std::string& text) { tmux({"send-keys", "-t", target_, "-l", text}); }

void TmuxSession::sendBytes(const std::string& bytes) {
    std::vector<std::string> arguments = {"send-keys", "-t", target_, "-H"};
    for (unsigned char c : bytes) arguments.push_back(toHex(std::string(1, static_cast<char>(c))));
    tmux(arguments);
}

void TmuxSession::paste(const std::string& text) {
    tmux({"set-buffer", "-b", "test-paste", text});
    tmux({"paste-buffer", "-p", "-b", "test-paste", "-t", target_});
}

void TmuxSession::resize(int columns, int rows) {
    tmux({"resize-window", "-t", target_, "-x", std::to_string(columns), "-y", std::to_string(rows)});
}

std::string TmuxSession::capture() { return tmux({"capture-pane", "-p", "-t", target_}); }

std::string TmuxSession::display(const std::string& format) {
    std::string out = tmux({"display-message", "-p", "-t", target_, format});
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

bool TmuxSession::waitForScreen(const std::function<bool(const std::string&)>& done,
                                std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (done(capture())) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

bool TmuxSession::waitForText(const std::string& text, std::chrono::milliseconds timeout) {
    return waitForScreen([&](const std::string& screen) { return screen.find(text) != std::string::npos; },
                         timeout);
}

bool TmuxSession::waitForDisplay(const std::string& format, const std::string& value,
                                 std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (display(format) == value) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

}  // namespace tarv::testing
