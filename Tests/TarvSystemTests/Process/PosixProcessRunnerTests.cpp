#include "TarvSystem/Process/PosixProcessRunner.hpp"

#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <sys/wait.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Support/ProcessTestUtil.hpp"
#include "TarvCore/Errors/ProcessError.hpp"
#include "TarvSystem/Process/ExitStatus.hpp"

namespace tarv::system {
namespace {

using namespace std::chrono_literals;
using core::Bytes;
using core::ProcessError;
using core::ProcessResult;
using core::ProcessSpec;
using Clock = std::chrono::steady_clock;

ProcessSpec shell(std::string script) {
    ProcessSpec spec;
    spec.executable = "/bin/sh";
    spec.arguments = {"-c", std::move(script)};
    return spec;
}

ProcessSpec program(std::string executable) {
    ProcessSpec spec;
    spec.executable = std::move(executable);
    return spec;
}

ProcessSpec withStdin(ProcessSpec spec, Bytes input) {
    spec.stdin = std::move(input);
    return spec;
}

ProcessSpec withTimeout(ProcessSpec spec, std::chrono::milliseconds limit) {
    spec.timeout = limit;
    return spec;
}

ProcessResult run(const ProcessSpec& spec, std::stop_token stop = {}) { return PosixProcessRunner().run(spec, stop); }

// Runs `spec`, expecting a ProcessError; also reports how long the run took.
ProcessError runFailing(const ProcessSpec& spec, std::stop_token stop = {}, Clock::duration* took = nullptr) {
    const auto start = Clock::now();
    try {
        const ProcessResult result = run(spec, stop);
        ADD_FAILURE() << "expected an error, got exit code " << result.exitCode;
    } catch (const ProcessError& error) {
        if (took) *took = Clock::now() - start;
        return error;
    }
    return ProcessError::spawnFailed(-1);
}

std::string text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// Requests stop on `source` after `delay`, from another thread.
std::jthread stopAfter(std::stop_source& source, std::chrono::milliseconds delay) {
    return std::jthread([&source, delay] {
        std::this_thread::sleep_for(delay);
        source.request_stop();
    });
}

// No child of this process is left unreaped.
bool noChildLeft() { return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD; }

TEST(ExitStatusTest, DecodesStatusWords) {
    struct Case {
        int status;
        std::int32_t expected;
    };
    const Case cases[] = {
        {W_EXITCODE(0, 0), 0},           {W_EXITCODE(3, 0), 3},
        {W_EXITCODE(255, 0), 255},       {W_EXITCODE(0, SIGKILL), 137},
        {W_EXITCODE(0, SIGTERM), 143},   {W_EXITCODE(0, SIGSEGV) | WCOREFLAG, 139},  // core dumped
    };
    for (const auto& c : cases) EXPECT_EQ(decodeExitStatus(c.status), c.expected) << "status " << c.status;
}

TEST(PosixProcessRunnerTest, ReturnsEveryExitCodeAsAResult) {
    struct Case {
        const char* script;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"exit 0", 0}, {"exit 3", 3}, {"exit 255", 255},
        {"kill -TERM $$", 143}, {"kill -KILL $$", 137}, {"kill -INT $$", 130},
    };
    for (const auto& c : cases) EXPECT_EQ(run(shell(c.script)).exitCode, c.expected) << c.script;
}

TEST(PosixProcessRunnerTest, KeepsBothOutputStreamsApartAndByteExact) {
    const ProcessResult result = run(shell("printf 'a\\000b\\n  '; printf 'err\\377' >&2; exit 1"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.stdout, (Bytes{'a', 0, 'b', '\n', ' ', ' '}));
    EXPECT_EQ(result.stderr, (Bytes{'e', 'r', 'r', 0xFF}));
}

TEST(PosixProcessRunnerTest, StandardInput) {
    struct Case {
        const char* name;
        std::optional<Bytes> input;
        const char* script;
        const char* expected;
    };
    const Case cases[] = {
        {"none is /dev/null", std::nullopt, "readlink /proc/$$/fd/0; cat", "/dev/null\n"},
        {"empty is a pipe at its end", Bytes{}, "cat; readlink /proc/$$/fd/0 | cut -d: -f1", "pipe\n"},
        {"bytes are fed", core::toBytes("one\ntwo"), "cat", "one\ntwo"},
    };
    for (const auto& c : cases) {
        ProcessSpec spec = shell(c.script);
        spec.stdin = c.input;
        EXPECT_EQ(text(run(spec).stdout), c.expected) << c.name;
    }
}

// The child writes a lot to standard error before it reads anything, then
// echoes its large input, then writes to standard error again: a runner that
// served one pipe at a time would deadlock.
TEST(PosixProcessRunnerTest, ServesAllThreePipesAtOnce) {
    const Bytes input = testing::processPatternBytes(6u << 20);
    const ProcessResult result = run(withStdin(
        shell("head -c 3000000 /dev/zero >&2 && cat && head -c 2000000 /dev/zero >&2"), input));
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.stdout == input) << "stdout has " << result.stdout.size() << " bytes";
    EXPECT_EQ(result.stderr, Bytes(5000000, 0));
}

// SIGPIPE stays at its default here, as in a program that forgot to ignore
// it: feeding a child that never reads (or stops early) must not kill us.
TEST(PosixProcessRunnerTest, ChildThatStopsReadingDoesNotRaiseSigpipe) {
    testing::ProcessSignalDisposition defaultPipe(SIGPIPE, SIG_DFL);
    const Bytes input = testing::processPatternBytes(16u << 20);
    for (const char* script : {"exit 0", "head -c 10 >/dev/null", "exec <&-; sleep 0.2"}) {
        EXPECT_EQ(run(withStdin(shell(script), input)).exitCode, 0) << script;
    }
    sigset_t pending;
    ::sigpending(&pending);
    EXPECT_FALSE(::sigismember(&pending, SIGPIPE));
    sigset_t blocked;
    ::pthread_sigmask(SIG_BLOCK, nullptr, &blocked);
    EXPECT_FALSE(::sigismember(&blocked, SIGPIPE)) << "the thread's signal mask was not restored";
}

TEST(PosixProcessRunnerTest, Environment) {
    struct Case {
        const char* name;
        bool inherit;
        std::map<std::string, std::string> variables;
        std::string executable;
        std::vector<std::string> arguments;
        const char* expected;
    };
    const Case cases[] = {
        {"inherited, with overrides", true, {{"HOME", "/nowhere"}, {"TARV_PROCESS_TEST", "x y"}}, "/bin/sh",
         {"-c", "printf '%s|%s|%s' \"$HOME\" \"$TARV_PROCESS_TEST\" \"${PATH:+path}\""}, "/nowhere|x y|path"},
        {"not inherited, empty", false, {}, "env", {}, ""},
        {"not inherited, given", false, {{"B", "two words"}, {"A", "1"}}, "env", {}, "A=1\nB=two words\n"},
    };
    for (const auto& c : cases) {
        ProcessSpec spec;
        spec.executable = c.executable;
        spec.arguments = c.arguments;
        spec.environment = c.variables;
        spec.inheritEnvironment = c.inherit;
        EXPECT_EQ(text(run(spec).stdout), c.expected) << c.name;
    }
}

TEST(PosixProcessRunnerTest, FindsTheProgramAndSetsTheWorkingDirectory) {
    testing::ProcessTempDir dir;
    testing::processWriteFile(dir.file("tool"), "#!/bin/sh\necho tool \"$@\"\n", true);
    const std::string canonical = std::filesystem::canonical(dir.path()).string();
    struct Case {
        const char* name;
        std::string executable;
        std::vector<std::string> arguments;
        std::optional<std::string> directory;
        std::string expected;
    };
    const Case cases[] = {
        {"bare name, looked up on PATH", "echo", {"hi"}, std::nullopt, "hi\n"},
        {"absolute path", "/bin/echo", {"hi"}, std::nullopt, "hi\n"},
        {"relative path, from the working directory", "./tool", {"a b"}, dir.path(), "tool a b\n"},
        {"working directory", "pwd", {"-P"}, dir.path(), canonical + "\n"},
    };
    for (const auto& c : cases) {
        ProcessSpec spec;
        spec.executable = c.executable;
        spec.arguments = c.arguments;
        spec.currentDirectory = c.directory;
        EXPECT_EQ(text(run(spec).stdout), c.expected) << c.name;
    }
}

TEST(PosixProcessRunnerTest, SpawnFailuresLeaveNothingBehind) {
    testing::ProcessTempDir dir;
    testing::processWriteFile(dir.file("not-executable"), "#!/bin/sh\n", false);
    struct Case {
        const char* name;
        ProcessSpec spec;
        int error;
    };
    ProcessSpec missingDirectory = shell("exit 0");
    missingDirectory.currentDirectory = dir.file("no-such-folder");
    ProcessSpec nulInArgument = shell(std::string("echo a\0b", 8));
    ProcessSpec withInput = withStdin(program("/no/such/program"), Bytes(100, 'x'));
    const Case cases[] = {
        {"missing path", program("/no/such/program"), ENOENT},
        {"missing path, with input", withInput, ENOENT},
        {"missing bare name", program("tarv-no-such-program-on-path"), ENOENT},
        {"not executable", program(dir.file("not-executable")), EACCES},
        {"missing working directory", missingDirectory, ENOENT},
        {"NUL in an argument", nulInArgument, EINVAL},
    };
    for (const auto& c : cases) {
        const auto before = testing::processOpenDescriptors();
        EXPECT_EQ(runFailing(c.spec), ProcessError::spawnFailed(c.error)) << c.name;
        EXPECT_EQ(testing::processOpenDescriptors(), before) << c.name;
        EXPECT_TRUE(noChildLeft()) << c.name;
    }
}

TEST(PosixProcessRunnerTest, TimeLimitBoundsTheWholeRun) {
    struct Case {
        const char* name;
        const char* script;
    };
    const Case cases[] = {
        {"busy until killed", "sleep 30"},
        {"pipes closed, still running", "exec >/dev/null 2>&1; sleep 30"},
        {"ignores SIGTERM", "trap '' TERM; sleep 30"},
    };
    for (const auto& c : cases) {
        Clock::duration took{};
        EXPECT_EQ(runFailing(withTimeout(shell(c.script), 300ms), {}, &took), ProcessError::timedOut()) << c.name;
        EXPECT_GE(took, 300ms) << c.name;
        EXPECT_LT(took, 5s) << c.name;
        EXPECT_TRUE(noChildLeft()) << c.name;
    }
}

TEST(PosixProcessRunnerTest, TimeLimitKillsTheWholeProcessGroup) {
    testing::ProcessTempDir dir;
    const std::string pidFile = dir.file("pid");
    EXPECT_EQ(runFailing(withTimeout(shell("sleep 30 & echo $! > " + pidFile + "; wait"), 500ms)),
              ProcessError::timedOut());
    const pid_t grandchild = std::stoi(testing::processReadFile(pidFile));
    EXPECT_TRUE(testing::processWaitUntil([&] { return testing::processIsGone(grandchild); }));
}

TEST(PosixProcessRunnerTest, ARunWithinItsTimeLimitIsUnaffected) {
    const ProcessResult result = run(withTimeout(shell("echo done; exit 4"), 30s));
    EXPECT_EQ(result.exitCode, 4);
    EXPECT_EQ(text(result.stdout), "done\n");
}

// A program the child started in the background (a forking clipboard tool, a
// credential daemon) keeps the output pipes open after the child has ended.
// The run ends shortly after the child; the program is left running.
TEST(PosixProcessRunnerTest, ProgramLeftHoldingThePipesDoesNotHoldTheRun) {
    for (const auto& limit : {std::optional<std::chrono::milliseconds>{}, std::optional{60000ms}}) {
        ProcessSpec spec = shell("sleep 30 & echo $!; echo gone >&2");
        spec.timeout = limit;
        const auto start = Clock::now();
        const ProcessResult result = run(spec);
        EXPECT_LT(Clock::now() - start, 5s);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(text(result.stderr), "gone\n");
        const pid_t background = std::stoi(text(result.stdout));
        EXPECT_FALSE(testing::processIsGone(background));
        ::kill(background, SIGKILL);
    }
}

TEST(PosixProcessRunnerTest, StopRequestEndsTheRun) {
    struct Case {
        const char* name;
        const char* script;
        std::chrono::milliseconds atLeast;
    };
    const Case cases[] = {
        {"running", "sleep 30", 0ms},
        {"pipes closed, still running", "exec >/dev/null 2>&1; sleep 30", 0ms},
        // SIGTERM is ignored: SIGKILL follows after the grace.
        {"ignores SIGTERM", "trap '' TERM; sleep 30", 1900ms},
    };
    for (const auto& c : cases) {
        std::stop_source source;
        auto stopper = stopAfter(source, 100ms);
        Clock::duration took{};
        EXPECT_EQ(runFailing(shell(c.script), source.get_token(), &took), ProcessError::cancelled()) << c.name;
        EXPECT_GE(took, c.atLeast) << c.name;
        EXPECT_LT(took, 8s) << c.name;
        EXPECT_TRUE(noChildLeft()) << c.name;
    }
}

TEST(PosixProcessRunnerTest, StopRequestReachesTheWholeGroupAndWinsOverTheTimeLimit) {
    testing::ProcessTempDir dir;
    const std::string pidFile = dir.file("pid");
    {
        // Stopped before the run: nothing is started, so nothing the command
        // would have done can happen on a busy machine after all.
        std::stop_source source;
        source.request_stop();
        Clock::duration took{};
        const std::string marker = dir.file("ran");
        EXPECT_EQ(runFailing(withTimeout(shell("touch " + marker + "; sleep 30"), 0ms), source.get_token(), &took),
                  ProcessError::cancelled());
        EXPECT_LT(took, 5s);
        EXPECT_FALSE(std::filesystem::exists(marker));
    }
    {
        // SIGTERM goes to the group, so the background sleep ends as well.
        std::stop_source source;
        auto stopper = stopAfter(source, 100ms);
        EXPECT_EQ(runFailing(shell("sleep 30 & echo $! > " + pidFile + "; wait"), source.get_token()),
                  ProcessError::cancelled());
        const pid_t grandchild = std::stoi(testing::processReadFile(pidFile));
        EXPECT_TRUE(testing::processWaitUntil([&] { return testing::processIsGone(grandchild); }, 1500ms));
    }
    {
        // The time limit passes while the stopped group takes its grace.
        std::stop_source source;
        auto stopper = stopAfter(source, 100ms);
        const auto script = "trap '' TERM; sleep 30 & echo $! > " + pidFile + "; wait";
        EXPECT_EQ(runFailing(withTimeout(shell(script), 400ms), source.get_token()), ProcessError::cancelled());
        const pid_t grandchild = std::stoi(testing::processReadFile(pidFile));
        EXPECT_TRUE(testing::processWaitUntil([&] { return testing::processIsGone(grandchild); }));
    }
}

TEST(PosixProcessRunnerTest, ChildStartsInItsOwnSessionWithOnlyTheStandardDescriptors) {
    // A descriptor this process leaks (not close-on-exec) must not reach it.
    const int leaked = ::dup(2);
    ASSERT_GE(leaked, 3);
    const ProcessResult result =
        run(shell("set -- $(cat /proc/$$/stat); echo $$ $5 $6 $7; ls /proc/$$/fd"));
    ::close(leaked);
    const std::string out = text(result.stdout);
    const auto newline = out.find('\n');
    ASSERT_NE(newline, std::string::npos) << out;
    std::istringstream ids(out.substr(0, newline));
    std::string pid, group, session, terminal;
    ids >> pid >> group >> session >> terminal;
    EXPECT_EQ(group, pid);
    EXPECT_EQ(session, pid);
    EXPECT_EQ(terminal, "0") << "the child must have no controlling terminal";
    // Listed by `ls` alone: in a pipeline the shell would still hold the
    // pipe's ends for a moment, and `ls` could list them.
    EXPECT_EQ(out.substr(newline + 1), "0\n1\n2\n");
}

TEST(PosixProcessRunnerTest, EveryEndingLeavesTheDescriptorsAsTheyWere) {
    const auto before = testing::processOpenDescriptors();
    run(withStdin(shell("cat; echo x >&2"), Bytes(200000, 'y')));
    runFailing(withTimeout(shell("sleep 30"), 100ms));
    std::stop_source source;
    auto stopper = stopAfter(source, 50ms);
    runFailing(withStdin(shell("sleep 30"), Bytes(10, 'y')), source.get_token());
    const pid_t background = std::stoi(text(run(shell("sleep 30 & echo $!")).stdout));
    ::kill(background, SIGKILL);
    EXPECT_EQ(testing::processOpenDescriptors(), before);
}

TEST(PosixProcessRunnerTest, WorksWhenThisProcessHasNoStandardInput) {
    const int saved = ::fcntl(0, F_DUPFD_CLOEXEC, 10);
    ASSERT_GE(saved, 0);
    ::close(0);
    const ProcessResult fed = run(withStdin(shell("cat; echo err >&2"), core::toBytes("abc")));
    const ProcessResult unfed = run(shell("cat; echo out"));
    ::dup2(saved, 0);
    ::close(saved);
    EXPECT_EQ(text(fed.stdout), "abc");
    EXPECT_EQ(text(fed.stderr), "err\n");
    EXPECT_EQ(text(unfed.stdout), "out\n");
}

// Spawns on several threads at once: each child has its own pipes and none
// of another's (a stray write end would keep a pipe from reaching its end).
// The shell's descriptors are listed from a subshell, so that neither a
// pipeline's ends nor a redirection's saved copy is among them.
TEST(PosixProcessRunnerTest, ConcurrentRunsKeepTheirOwnStreams) {
    PosixProcessRunner runner;
    std::atomic<int> mismatches{0};
    {
        std::vector<std::jthread> threads;
        for (int t = 0; t < 6; ++t) {
            threads.emplace_back([&, t] {
                for (int i = 0; i < 8; ++i) {
                    const std::string tag = std::to_string(t) + ":" + std::to_string(i);
                    const Bytes input = testing::processPatternBytes(70000 + std::size_t(t * 1000 + i), t * 100 + i);
                    const ProcessResult result = runner.run(
                        withStdin(shell("(ls /proc/$$/fd) >&2; cat; printf %s " + tag + " >&2"), input),
                        {});
                    if (result.stdout != input || text(result.stderr) != "0\n1\n2\n" + tag) ++mismatches;
                }
            });
        }
    }
    EXPECT_EQ(mismatches.load(), 0);
}

}  // namespace
}  // namespace tarv::system
