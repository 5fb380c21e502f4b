// The input pump on real descriptors: a pseudo-terminal pair (the pump reads
// the terminal side, the test types on the other) or a pipe, and real
// signals sent to this process.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Support/TerminalEventDescription.hpp"
#include "TarvTerminal/Backend/InputPump.hpp"
#include "TarvTerminal/Backend/RawMode.hpp"

namespace tarv::terminal {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct PumpOnPty : ::testing::Test {
    int master = -1;
    int terminal = -1;
    std::shared_ptr<InputEventStream> stream = std::make_shared<InputEventStream>();
    std::unique_ptr<InputPump> pump;

    void SetUp() override {
        winsize size{};
        size.ws_col = 80;
        size.ws_row = 24;
        ASSERT_EQ(openpty(&master, &terminal, nullptr, nullptr, &size), 0);
        RawMode::enable(terminal);
        pump = std::make_unique<InputPump>(stream, terminal, terminal);
        pump->start();
    }
    void TearDown() override {
        pump->stop();
        close(master);
        close(terminal);
    }

    void type(const std::string& bytes) { ASSERT_EQ(write(master, bytes.data(), bytes.size()), ssize_t(bytes.size())); }

    std::vector<InputEvent> collect(std::chrono::milliseconds quiet, std::chrono::milliseconds limit = 5s) {
        std::vector<InputEvent> events;
        const auto deadline = Clock::now() + limit;
        while (Clock::now() < deadline) {
            auto event = stream->next(quiet);
            if (!event) break;
            events.push_back(std::move(*event));
        }
        return events;
    }
};

InputEvent key(KeyCode code, Modifiers m = {}) { return InputEvent::key(KeyEvent{std::move(code), m}); }

TEST_F(PumpOnPty, LoneEscapeBecomesEscapeAfterAShortWait) {
    const auto start = Clock::now();
    type("\x1b");
    auto event = stream->next(5s);
    const auto waited = Clock::now() - start;
    ASSERT_TRUE(event);
    EXPECT_EQ(*event, key(KeyCode::escape()));
    EXPECT_GE(waited, 25ms);
}

TEST_F(PumpOnPty, EscapeFollowedQuicklyIsOneSequence) {
    type("\x1b");
    type("[A");
    EXPECT_EQ(collect(200ms), std::vector<InputEvent>{key(KeyCode::up())});
}

TEST_F(PumpOnPty, HalfSequencesAfterTheWait) {
    type("\x1b[");
    EXPECT_EQ(collect(200ms), std::vector<InputEvent>{key(KeyCode::character("["), Modifiers::alt)});
    type("\x1bO");
    EXPECT_EQ(collect(200ms), std::vector<InputEvent>{});
}

TEST_F(PumpOnPty, OpenPasteIsNeverFlushedByTheTimer) {
    type("\x1b[200~abc");
    EXPECT_TRUE(collect(200ms).empty());
    type("\x1b[201~");
    EXPECT_EQ(collect(200ms), std::vector<InputEvent>{InputEvent::paste("abc")});
}

TEST_F(PumpOnPty, KeysTypedWhilePausedAreDroppedAndHalfSequencesForgotten) {
    type("\x1b[1;");
    std::this_thread::sleep_for(10ms);
    pump->pause();
    type("typed while paused");
    std::this_thread::sleep_for(50ms);
    pump->resume();
    type("5A");
    EXPECT_EQ(collect(200ms), (std::vector<InputEvent>{key(KeyCode::character("5")), key(KeyCode::character("A"))}));
}

TEST_F(PumpOnPty, WindowSizeSignalBecomesResize) {
    winsize size{};
    size.ws_col = 100;
    size.ws_row = 40;
    ioctl(master, TIOCSWINSZ, &size);
    kill(getpid(), SIGWINCH);
    EXPECT_EQ(collect(200ms), std::vector<InputEvent>{InputEvent::resize(Size{100, 40})});
    size.ws_row = 0;
    ioctl(master, TIOCSWINSZ, &size);
    kill(getpid(), SIGWINCH);
    EXPECT_TRUE(collect(200ms).empty());
}

TEST_F(PumpOnPty, TerminationSignalsBecomeTerminateAndDoNotEndTheProcess) {
    for (int s : {SIGTERM, SIGHUP, SIGINT, SIGQUIT}) {
        kill(getpid(), s);
        EXPECT_EQ(collect(200ms), std::vector<InputEvent>{InputEvent::terminate()}) << s;
    }
}

TEST_F(PumpOnPty, WhileAProgramHasTheTerminalItsInterruptKeysDoNotEndTheSession) {
    pump->pause();
    kill(getpid(), SIGINT);
    kill(getpid(), SIGQUIT);
    EXPECT_TRUE(collect(200ms).empty());
    kill(getpid(), SIGTERM);
    EXPECT_EQ(collect(200ms), std::vector<InputEvent>{InputEvent::terminate()});
    pump->resume();
}

TEST(InputPump, EndOfInputGivesOneTerminateAndNoBusyLoop) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    auto stream = std::make_shared<InputEventStream>();
    InputPump pump(stream, fds[0], fds[0]);
    pump.start();
    ASSERT_EQ(write(fds[1], "ab", 2), 2);
    close(fds[1]);
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    std::vector<InputEvent> events;
    const auto deadline = Clock::now() + 400ms;
    while (Clock::now() < deadline) {
        if (auto e = stream->next(50ms)) events.push_back(*e);
    }
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    const auto seconds = [](const timeval& tv) { return double(tv.tv_sec) + double(tv.tv_usec) / 1e6; };
    const double cpu = seconds(after.ru_utime) - seconds(before.ru_utime) + seconds(after.ru_stime) -
                       seconds(before.ru_stime);
    EXPECT_EQ(events, (std::vector<InputEvent>{key(KeyCode::character("a")), key(KeyCode::character("b")),
                                               InputEvent::terminate()}));
    EXPECT_LT(cpu, 0.2);
    pump.stop();
    EXPECT_TRUE(stream->hasEnded());
    close(fds[0]);
}

TEST(InputEventStream, DeliversInOrderThenEndsAndSignalsItsDescriptor) {
    InputEventStream stream;
    pollfd p{stream.readyDescriptor(), POLLIN, 0};
    EXPECT_EQ(poll(&p, 1, 0), 0);
    std::thread producer([&] {
        for (int i = 0; i < 1000; ++i) stream.yield(InputEvent::focus(i % 2 == 0));
        stream.finish();
    });
    int received = 0;
    while (auto e = stream.next()) {
        EXPECT_EQ(*e, InputEvent::focus(received % 2 == 0));
        ++received;
    }
    producer.join();
    EXPECT_EQ(received, 1000);
    EXPECT_TRUE(stream.hasEnded());
    EXPECT_EQ(poll(&p, 1, 0), 1);  // the end stays visible
    EXPECT_FALSE(stream.yield(InputEvent::terminate()));

    InputEventStream second;
    second.yield(InputEvent::terminate());
    pollfd q{second.readyDescriptor(), POLLIN, 0};
    EXPECT_EQ(poll(&q, 1, 0), 1);
    EXPECT_TRUE(second.tryNext());
    EXPECT_EQ(poll(&q, 1, 0), 0);
    EXPECT_FALSE(second.tryNext());
}

}  // namespace
}  // namespace tarv::terminal
