#include "TarvSystem/Process/PosixForegroundRunner.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

#include "Support/ProcessTestUtil.hpp"
#include "TarvSystem/Process/PosixProcessRunner.hpp"

namespace tarv::system {
namespace {

std::optional<std::int32_t> runShell(const std::string& script) {
    return PosixForegroundRunner().run("sh", {"-c", script}, {});
}

TEST(PosixForegroundRunnerTest, ReportsExitCodesAndSignals) {
    struct Case {
        const char* script;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"exit 0", 0}, {"exit 3", 3}, {"exit 255", 255}, {"kill -INT $$", 130}, {"kill -KILL $$", 137},
    };
    for (const auto& c : cases) EXPECT_EQ(runShell(c.script), c.expected) << c.script;
}

TEST(PosixForegroundRunnerTest, ProgramThatCannotStartGivesNothingAndLeavesNoChild) {
    PosixForegroundRunner runner;
    EXPECT_EQ(runner.run("tarv-no-such-editor-on-path", {"file"}, {}), std::nullopt);
    EXPECT_EQ(runner.run("/no/such/editor", {}, {}), std::nullopt);
    EXPECT_EQ(runner.run("sh", {"-c", std::string("exit 0\0 1", 9)}, {}), std::nullopt);
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

// What this process ignores or blocks (the terminal toolkit ignores some
// signals) is at its default and unblocked in the program, with both runners.
TEST(PosixForegroundRunnerTest, ProgramGetsDefaultSignalHandling) {
    testing::ProcessSignalDisposition ignoreInterrupt(SIGINT, SIG_IGN);
    testing::ProcessSignalDisposition ignorePipe(SIGPIPE, SIG_IGN);
    sigset_t block, previous;
    ::sigemptyset(&block);
    ::sigaddset(&block, SIGUSR1);
    ::sigaddset(&block, SIGTERM);
    ::pthread_sigmask(SIG_BLOCK, &block, &previous);

    testing::ProcessTempDir dir;
    const std::string report = dir.file("signals");
    // The shell reads its own status with builtins only: while it forks a
    // child (grep, say) it blocks every signal for a moment, and a child
    // reading the shell's status then could see that passing mask.
    const std::string script =
        "while IFS= read -r line; do case $line in Sig[BI]*) echo \"$line\";; esac; done < /proc/$$/status > " +
        report + "; kill -INT $$";
    const auto foreground = runShell(script);
    const std::string foregroundReport = testing::processReadFile(report);
    core::ProcessSpec spec;
    spec.executable = "sh";
    spec.arguments = {"-c", script};
    const auto piped = PosixProcessRunner().run(spec, {});
    const std::string pipedReport = testing::processReadFile(report);
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);

    EXPECT_EQ(foreground, 130);
    EXPECT_EQ(piped.exitCode, 130);
    // The standard signals 1..31 (glibc keeps its two internal real-time
    // signals ignored in spawned children, which is harmless).
    const auto standardSignals = [](const std::string& text, const std::string& field) {
        const auto at = text.find(field + ":\t");
        if (at == std::string::npos) return ~0ull;
        return std::stoull(text.substr(at + field.size() + 2, 16), nullptr, 16) & 0x7fffffffull;
    };
    for (const auto& text : {foregroundReport, pipedReport}) {
        EXPECT_EQ(standardSignals(text, "SigBlk"), 0u) << text;
        EXPECT_EQ(standardSignals(text, "SigIgn"), 0u) << text;
    }
}

// In a forked helper that owns a pseudo-terminal as its controlling terminal,
// like tarv on the user's terminal: the editor gets the terminal (it is in the
// foreground group and reads what is typed), and the terminal is the helper's
// again afterwards. A child of the process runner meanwhile has no terminal.
TEST(PosixForegroundRunnerTest, EditorGetsTheTerminalAndHandsItBack) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const std::string slaveName = ::ptsname(master);

    const pid_t helper = ::fork();
    ASSERT_GE(helper, 0);
    if (helper == 0) {
        ::setsid();
        const int slave = ::open(slaveName.c_str(), O_RDWR);
        if (slave < 0 || ::ioctl(slave, TIOCSCTTY, 0) != 0) ::_exit(20);
        ::dup2(slave, 0);
        ::dup2(slave, 1);
        ::dup2(slave, 2);
        if (slave > 2) ::close(slave);
        ::close(master);
        const auto code = PosixForegroundRunner().run(
            "sh",
            {"-c",
             "[ -t 0 ] && [ -t 1 ] && [ -t 2 ] || exit 90; set -- $(cat /proc/$$/stat); [ \"$5\" = \"$8\" ] || exit 91; "
             "read line; [ \"$line\" = hello ] || exit 92; exit 7"},
            {});
        if (code != 7) ::_exit(code ? 30 + (*code % 64) : 21);
        if (::tcgetpgrp(0) != ::getpgrp()) ::_exit(22);
        core::ProcessSpec spec;
        spec.executable = "sh";
        spec.arguments = {"-c", ": </dev/tty"};
        if (PosixProcessRunner().run(spec, {}).exitCode == 0) ::_exit(23);
        ::_exit(0);
    }
    ASSERT_EQ(::write(master, "hello\n", 6), 6);
    // Drain what the terminal echoes so that nothing blocks on a full buffer.
    std::jthread drain([master] {
        char buffer[256];
        while (::read(master, buffer, sizeof buffer) > 0) {
        }
    });
    int status = 0;
    ASSERT_EQ(::waitpid(helper, &status, 0), helper);
    drain.join();  // the terminal is gone with the helper: the read ends
    ::close(master);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "20: no terminal, 21: not started, 22: terminal not back, "
                                         "23: piped child had a terminal, 30+n: editor exited n";
}

}  // namespace
}  // namespace tarv::system
