#include "TarvSystem/Process/PosixProcessStream.hpp"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <functional>
#include <iomanip>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "Support/ProcessTestUtil.hpp"
#include "TarvCore/Errors/ProcessError.hpp"
#include "TarvSystem/Process/PosixProcessRunner.hpp"

namespace tarv::system {
namespace {

using namespace std::chrono_literals;
using core::ProcessError;
using core::ProcessSpec;
using Clock = std::chrono::steady_clock;

ProcessSpec shell(std::string script, std::optional<std::chrono::milliseconds> limit = std::nullopt) {
    ProcessSpec spec;
    spec.executable = "/bin/sh";
    spec.arguments = {"-c", std::move(script)};
    spec.timeout = limit;
    return spec;
}

std::unique_ptr<core::ProcessStream> start(const ProcessSpec& spec) { return PosixProcessRunner().start(spec); }

std::stop_token stopped() {
    std::stop_source source;
    source.request_stop();
    return source.get_token();
}

// Reads `size` bytes (fewer at the end of the output).
std::string readBytes(core::ProcessStream& stream, std::size_t size, std::stop_token stop = {}) {
    std::string out;
    std::uint8_t chunk[4096];
    while (out.size() < size) {
        const std::size_t n =
            stream.read(std::span<std::uint8_t>(chunk, std::min(sizeof chunk, size - out.size())), stop);
        if (n == 0) break;
        out.append(reinterpret_cast<const char*>(chunk), n);
    }
    return out;
}

std::string readToEnd(core::ProcessStream& stream) { return readBytes(stream, std::string::npos); }

ProcessError failure(const std::function<void()>& call) {
    try {
        call();
        ADD_FAILURE() << "no error";
    } catch (const ProcessError& error) {
        return error;
    }
    return ProcessError::spawnFailed(-1);
}

// The scheduler state of a process ('R' running, 'S' sleeping, ...).
char state(pid_t pid) {
    const std::string stat = testing::processReadFile("/proc/" + std::to_string(pid) + "/stat");
    const auto close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() ? stat[close + 2] : '?';
}

bool noChildLeft() { return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD; }

TEST(PosixProcessStreamTest, ReadsTheOutputPieceByPieceThenTheEnding) {
    auto stream = start(shell("printf 'first\\0second'; echo warning >&2; exit 3"));
    EXPECT_EQ(readBytes(*stream, 3), "fir");
    EXPECT_EQ(readToEnd(*stream), std::string("st\0second", 9));
    EXPECT_EQ(readToEnd(*stream), "");  // stays at the end
    const core::ProcessResult ending = stream->finish({});
    EXPECT_EQ(ending.exitCode, 3);
    EXPECT_TRUE(ending.stdout.empty());
    EXPECT_EQ(std::string(ending.stderr.begin(), ending.stderr.end()), "warning\n");
    stream.reset();
    EXPECT_TRUE(noChildLeft());
}

// Nobody reads between two reads: the child fills the pipe and waits there,
// and the next read goes on exactly where the last one stopped.
TEST(PosixProcessStreamTest, ChildWaitsOnItsFullPipeBetweenReads) {
    PosixProcessStream stream(shell("i=0; while :; do printf '%07d\\n' $i; i=$((i+1)); done"));
    EXPECT_EQ(readBytes(stream, 16), "0000000\n0000001\n");
    EXPECT_TRUE(testing::processWaitUntil([&] { return state(stream.pid()) == 'S'; }));
    const std::string next = readBytes(stream, 200 * 8);
    for (int line = 0; line < 200; ++line)
        ASSERT_EQ(next.substr(std::size_t(line) * 8, 8), (std::ostringstream() << std::setw(7) << std::setfill('0')
                                                                             << line + 2 << '\n')
                                                                                .str());
}

TEST(PosixProcessStreamTest, StopRequestEndsTheWaitButNotTheChild) {
    testing::ProcessTempDir dir;
    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    PosixProcessStream stream(shell("echo one; read line < " + fifo + "; echo \"$line\""));
    EXPECT_EQ(readBytes(stream, 4), "one\n");

    // Stopped before and while waiting.
    EXPECT_EQ(failure([&] { readBytes(stream, 1, stopped()); }), ProcessError::cancelled());
    std::stop_source source;
    std::jthread stopper([&] {
        std::this_thread::sleep_for(50ms);
        source.request_stop();
    });
    const auto before = Clock::now();
    EXPECT_EQ(failure([&] { readBytes(stream, 1, source.get_token()); }), ProcessError::cancelled());
    EXPECT_LT(Clock::now() - before, 5s);

    // The child is still there and the stream goes on.
    EXPECT_FALSE(testing::processIsGone(stream.pid()));
    testing::processWriteFile(fifo, "two\n");
    EXPECT_EQ(readToEnd(stream), "two\n");
    EXPECT_EQ(stream.finish({}).exitCode, 0);
}

TEST(PosixProcessStreamTest, TimeLimitBoundsEachWaitNotTheTimeBetweenReads) {
    testing::ProcessTempDir dir;
    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    PosixProcessStream stream(
        shell("echo one; read line < " + fifo + "; echo \"$line\"; sleep 30 & echo $! > " + dir.file("pid") + "; wait",
              300ms));
    EXPECT_EQ(readBytes(stream, 4), "one\n");
    // Longer than the limit without reading: nothing happens to the child.
    std::this_thread::sleep_for(600ms);
    EXPECT_FALSE(testing::processIsGone(stream.pid()));
    testing::processWriteFile(fifo, "two\n");
    EXPECT_EQ(readBytes(stream, 4), "two\n");

    // Waiting longer than the limit kills the whole group.
    const auto before = Clock::now();
    EXPECT_EQ(failure([&] { readBytes(stream, 1); }), ProcessError::timedOut());
    EXPECT_LT(Clock::now() - before, 5s);
    const pid_t grandchild = std::stoi(testing::processReadFile(dir.file("pid")));
    EXPECT_TRUE(testing::processWaitUntil([&] { return testing::processIsGone(grandchild); }));
    EXPECT_EQ(stream.pid(), 0);
    EXPECT_EQ(readToEnd(stream), "");
    EXPECT_TRUE(noChildLeft());
}

TEST(PosixProcessStreamTest, DestroyingEndsAndReapsTheChildWhereverItIs) {
    struct Case {
        const char* name;
        std::string script;
    };
    const Case cases[] = {
        {"waiting on its full pipe", "yes"},
        {"running, not writing", "echo ready; sleep 30"},
        {"ignores SIGTERM", "trap '' TERM; echo ready; sleep 30"},
        {"already ended", "echo ready"},
    };
    for (const auto& c : cases) {
        const auto before = testing::processOpenDescriptors();
        auto stream = std::make_unique<PosixProcessStream>(shell(c.script));
        const pid_t pid = stream->pid();
        const std::string first = readBytes(*stream, 2);
        EXPECT_FALSE(first.empty()) << c.name;
        const auto start = Clock::now();
        stream.reset();
        EXPECT_LT(Clock::now() - start, 8s) << c.name;
        EXPECT_TRUE(testing::processIsGone(pid)) << c.name;
        EXPECT_TRUE(noChildLeft()) << c.name;
        EXPECT_EQ(testing::processOpenDescriptors(), before) << c.name;
    }
}

TEST(PosixProcessStreamTest, BackgroundProgramOfTheGroupEndsWithTheStream) {
    auto stream = std::make_unique<PosixProcessStream>(shell("sleep 30 & echo $!; wait"));
    std::string line;
    while (line.find('\n') == std::string::npos) line += readBytes(*stream, 1);
    const pid_t background = std::stoi(line);
    stream.reset();
    EXPECT_TRUE(testing::processWaitUntil([&] { return testing::processIsGone(background); }));
}

TEST(PosixProcessStreamTest, StandardErrorNeverBlocksTheChildAndIsKeptBounded) {
    PosixProcessStream stream(shell("head -c 1000000 /dev/zero | tr '\\0' e >&2; echo out; exit 1"));
    EXPECT_EQ(readToEnd(stream), "out\n");
    const core::ProcessResult ending = stream.finish({});
    EXPECT_EQ(ending.exitCode, 1);
    EXPECT_EQ(ending.stderr.size(), PosixProcessStream::stderrLimit);
}

TEST(PosixProcessStreamTest, StartsLikeEveryChildOfTheRunner) {
    // A descriptor this process leaks (not close-on-exec) must not reach it.
    const int leaked = ::dup(2);
    ASSERT_GE(leaked, 3);
    const auto inheritable = testing::processInheritableDescriptors();
    PosixProcessStream stream(shell("set -- $(cat /proc/$$/stat); echo $$ $5 $6; ls /proc/$$/fd; "
                                    "cat; echo \"[$X]\"",
                                    std::nullopt));
    EXPECT_EQ(testing::processInheritableDescriptors(), inheritable) << "the stream's own pipes are close-on-exec";
    ::close(leaked);
    const std::string out = readToEnd(stream);
    std::istringstream lines(out);
    std::string pid, group, session;
    lines >> pid >> group >> session;
    EXPECT_EQ(group, pid);
    EXPECT_EQ(session, pid);
    // Only the standard three (listed by `ls` alone: in a pipeline the shell
    // would still hold the pipe's ends for a moment); input is /dev/null.
    EXPECT_NE(out.find("\n0\n1\n2\n[]\n"), std::string::npos) << out;
}

TEST(PosixProcessStreamTest, StartFailures) {
    const auto before = testing::processOpenDescriptors();
    ProcessSpec missing;
    missing.executable = "/nonexistent/program";
    EXPECT_EQ(failure([&] { start(missing); }), ProcessError::spawnFailed(ENOENT));
    ProcessSpec fed = shell("cat");
    fed.stdin = core::Bytes{'x'};
    EXPECT_EQ(failure([&] { start(fed); }), ProcessError::spawnFailed(EINVAL));
    EXPECT_EQ(testing::processOpenDescriptors(), before);
    EXPECT_TRUE(noChildLeft());
}

}  // namespace
}  // namespace tarv::system
