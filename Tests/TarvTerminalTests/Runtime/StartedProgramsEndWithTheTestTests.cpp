// The terminals tests run programs on (a pseudo-terminal, a tmux pane) let
// nothing they started outlive the test: what is left at the end is killed
// by its process group, and a program that does not end when its terminal
// goes away fails the test.

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Support/ProcessTestUtil.hpp"
#include "Support/PtyProcess.hpp"
#include "Support/TmuxSession.hpp"

namespace tarv::terminal {
namespace {

using namespace std::chrono_literals;
using testing::PtyProcess;
using testing::TmuxSession;

// A grandchild in the child's own group and one that moved to a group of
// its own both go with the child's terminal.
TEST(StartedProgramsEndWithTheTest, APseudoTerminalTakesItsWholeSessionAlong) {
    std::vector<pid_t> started;
    {
        auto child = PtyProcess::run([](int out) {
            for (const bool ownGroup : {false, true}) {
                const pid_t pid = fork();
                if (pid == 0) {
                    if (ownGroup) setpgid(0, 0);
                    signal(SIGHUP, SIG_IGN);
                    for (;;) pause();
                }
                testing::report(out, std::to_string(pid));
            }
            for (;;) pause();
            return 0;
        });
        for (int i = 0; i < 2; ++i) {
            const auto line = child.nextReport(10s);
            ASSERT_TRUE(line);
            started.push_back(static_cast<pid_t>(std::stol(*line)));
        }
    }
    for (const pid_t pid : started) {
        EXPECT_TRUE(testing::processWaitUntil([&] { return testing::processIsGone(pid); }, 10s)) << pid;
    }
}

std::optional<pid_t> readPid(const std::string& file) {
    std::ifstream in(file);
    pid_t pid = 0;
    if (in >> pid && pid > 0) return pid;
    return std::nullopt;
}

TEST(StartedProgramsEndWithTheTest, AProgramThatOutlivesItsTmuxTerminalFailsTheTestAndIsKilled) {
    if (!TmuxSession::available()) GTEST_SKIP() << "tmux is not installed";
    auto tmux = std::make_unique<TmuxSession>(80, 24);
    tmux->endLimit = 500ms;
    const std::string pidFile = tmux->directory() + "/stubborn.pid";
    tmux->typeLine("bash -c 'trap \"\" HUP; echo $$ > " + pidFile + "; exec sleep 600' &");
    std::optional<pid_t> stubborn;
    ASSERT_TRUE(testing::processWaitUntil([&] { return (stubborn = readPid(pidFile)).has_value(); }, 20s));

    EXPECT_NONFATAL_FAILURE(tmux.reset(), "after its terminal was closed, killed: ");
    EXPECT_TRUE(testing::processWaitUntil([&] { return testing::processIsGone(*stubborn); }, 10s));
}

TEST(StartedProgramsEndWithTheTest, ProgramsThatEndWithTheirTmuxTerminalPass) {
    if (!TmuxSession::available()) GTEST_SKIP() << "tmux is not installed";
    auto tmux = std::make_unique<TmuxSession>(80, 24);
    const std::string pidFile = tmux->directory() + "/job.pid";
    tmux->typeLine("sleep 600 & echo $! > " + pidFile);
    std::optional<pid_t> job;
    ASSERT_TRUE(testing::processWaitUntil([&] { return (job = readPid(pidFile)).has_value(); }, 20s));
    tmux.reset();
    EXPECT_TRUE(testing::processIsGone(*job));
}

}  // namespace
}  // namespace tarv::terminal
