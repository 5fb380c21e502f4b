#include "TarvCore/Rules/DeviceFlowPoller.hpp"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>

#include "Support/TestClock.hpp"
#include "TarvCore/Concurrency/CancellationError.hpp"
#include "TarvCore/Errors/HostingError.hpp"

namespace tarv::core {
namespace {

using core::DeviceTokenStatus;
using std::chrono::milliseconds;
using std::chrono::seconds;
using testing::TestClock;

// Answers polls from a script (the last answer repeats) and records the
// clock's time at each poll.
class ScriptedPolls final : public core::GitHubClient {
public:
    ScriptedPolls(const TestClock& clock, std::vector<std::function<DeviceTokenStatus(std::stop_token)>> script)
        : clock_(clock), script_(std::move(script)) {}

    static std::function<DeviceTokenStatus(std::stop_token)> answer(DeviceTokenStatus status) {
        return [status](std::stop_token) { return status; };
    }

    DeviceTokenStatus pollAccessToken(const std::string& deviceCode, std::stop_token stop) override {
        std::function<DeviceTokenStatus(std::stop_token)> next;
        {
            std::lock_guard lock(mutex_);
            codes_.push_back(deviceCode);
            pollTimes_.push_back(clock_.now());
            next = script_.at(std::min(polls_, script_.size() - 1));
            ++polls_;
        }
        return next(stop);
    }

    std::size_t polls() const {
        std::lock_guard lock(mutex_);
        return polls_;
    }
    std::vector<std::string> codes() const {
        std::lock_guard lock(mutex_);
        return codes_;
    }

    core::DeviceCode requestDeviceCode(std::stop_token) override { throw std::logic_error("unused"); }
    core::GitHubUser currentUser(const std::string&, std::stop_token) override { throw std::logic_error("unused"); }
    std::vector<core::PullRequest> pullRequests(const std::string&, const std::string&, const std::string&,
                                                std::stop_token) override {
        throw std::logic_error("unused");
    }
    std::vector<core::GitHubRepository> repositories(const std::string&, std::stop_token) override {
        throw std::logic_error("unused");
    }
    core::CheckSummary checks(const std::string&, const std::string&, const std::string&, const std::string&,
                              std::stop_token) override {
        throw std::logic_error("unused");
    }
    core::GitHubRepository createRepository(const std::string&, const std::string&, bool, const std::string&,
                                            std::stop_token) override {
        throw std::logic_error("unused");
    }

private:
    const TestClock& clock_;
    std::vector<std::function<DeviceTokenStatus(std::stop_token)>> script_;
    mutable std::mutex mutex_;
    std::size_t polls_ = 0;
    std::vector<std::string> codes_;
    std::vector<std::chrono::system_clock::time_point> pollTimes_;
};

core::DeviceCode code(std::int64_t interval, std::int64_t expiresIn) {
    return core::DeviceCode{"device-1", "ABCD-EFGH", "https://w/login/device", interval, expiresIn};
}

// The HostingError that `f` throws; none when it returns.
template <class F>
std::optional<HostingError> hostingErrorOf(F&& f) {
    try {
        f();
    } catch (const HostingError& error) {
        return error;
    }
    return std::nullopt;
}

std::vector<milliseconds> secondsList(std::initializer_list<long> values) {
    std::vector<milliseconds> out;
    for (long v : values) out.push_back(seconds(v));
    return out;
}

struct Outcome {
    DeviceTokenStatus status;
    std::size_t polls;
    std::vector<milliseconds> sleeps;
};

Outcome run(std::vector<DeviceTokenStatus> answers, core::DeviceCode deviceCode) {
    TestClock clock;
    clock.limitSleeps(100);
    std::vector<std::function<DeviceTokenStatus(std::stop_token)>> script;
    for (auto& status : answers) script.push_back(ScriptedPolls::answer(status));
    ScriptedPolls github(clock, std::move(script));
    const DeviceTokenStatus status = DeviceFlowPoller::waitForToken(github, clock, deviceCode, {});
    EXPECT_EQ(github.codes(), std::vector<std::string>(github.polls(), "device-1"));
    return Outcome{status, github.polls(), clock.sleeps()};
}

TEST(DeviceFlowPoller, EndingsOfTheWait) {
    const auto P = DeviceTokenStatus::pending();
    const auto S = DeviceTokenStatus::slowDown();
    struct Case {
        const char* name;
        std::vector<DeviceTokenStatus> answers;
        core::DeviceCode code;
        DeviceTokenStatus expected;
        std::vector<milliseconds> sleeps;
    };
    const Case cases[] = {
        {"success after pending", {P, P, DeviceTokenStatus::authorized("gho_x")}, code(5, 900),
         DeviceTokenStatus::authorized("gho_x"), secondsList({5, 5, 5})},
        {"denied", {P, DeviceTokenStatus::denied()}, code(5, 900), DeviceTokenStatus::denied(), secondsList({5, 5})},
        {"expired answer", {DeviceTokenStatus::expired()}, code(5, 900), DeviceTokenStatus::expired(),
         secondsList({5})},
        {"pending until the lifetime is used", {P}, code(5, 15), DeviceTokenStatus::expired(),
         secondsList({5, 5, 5})},
        {"slow-down lengthens every later wait", {S, P, S, DeviceTokenStatus::authorized("t")}, code(5, 900),
         DeviceTokenStatus::authorized("t"), secondsList({5, 10, 10, 15})},
        // The mended fault: slow-down answers alone cannot keep polling past
        // the code's lifetime (5 + 10 + 15 = 30 >= 30).
        {"endless slow-down expires", {S}, code(5, 30), DeviceTokenStatus::expired(), secondsList({5, 10, 15})},
        {"interval below 1 is 1 second", {P, P, DeviceTokenStatus::authorized("t")}, code(0, 900),
         DeviceTokenStatus::authorized("t"), secondsList({1, 1, 1})},
        {"negative interval", {P, DeviceTokenStatus::denied()}, code(-30, 900), DeviceTokenStatus::denied(),
         secondsList({1, 1})},
        {"lifetime already spent still polls once", {P}, code(5, 0), DeviceTokenStatus::expired(), secondsList({5})},
        {"a success past the lifetime still counts", {DeviceTokenStatus::authorized("late")}, code(5, 1),
         DeviceTokenStatus::authorized("late"), secondsList({5})},
        {"huge interval is capped", {DeviceTokenStatus::denied()}, code(INT64_MAX, INT64_MAX),
         DeviceTokenStatus::denied(), secondsList({DeviceFlowPoller::maxIntervalSeconds})},
    };
    for (const Case& c : cases) {
        const Outcome outcome = run(c.answers, c.code);
        EXPECT_EQ(outcome.status, c.expected) << c.name;
        EXPECT_EQ(outcome.sleeps, c.sleeps) << c.name;
        EXPECT_EQ(outcome.polls, c.sleeps.size()) << c.name;
    }
}

TEST(DeviceFlowPoller, PollErrorsPropagate) {
    TestClock clock;
    ScriptedPolls github(clock, {ScriptedPolls::answer(DeviceTokenStatus::pending()),
                                 [](std::stop_token) -> DeviceTokenStatus {
                                     throw core::HostingError::network("offline");
                                 }});
    EXPECT_EQ(hostingErrorOf([&] { DeviceFlowPoller::waitForToken(github, clock, code(5, 900), {}); }),
              core::HostingError::network("offline"));
    EXPECT_EQ(github.polls(), 2u);
}

TEST(DeviceFlowPoller, StopDuringTheWaitEndsAtOnceWithoutPolling) {
    TestClock clock(TestClock::SleepMode::wait);
    ScriptedPolls github(clock, {ScriptedPolls::answer(DeviceTokenStatus::pending())});
    std::stop_source stop;
    auto waiting = std::async(std::launch::async, [&] {
        DeviceFlowPoller::waitForToken(github, clock, code(5, 900), stop.get_token());
    });
    // First wait passes, the poll answers pending, the second wait blocks.
    ASSERT_TRUE(clock.waitForSleepers(1, seconds(10)));
    clock.advance(seconds(5));
    ASSERT_TRUE(clock.waitForSleeps(2, seconds(10)));
    ASSERT_TRUE(clock.waitForSleepers(1, seconds(10)));
    stop.request_stop();
    ASSERT_EQ(waiting.wait_for(seconds(10)), std::future_status::ready);
    EXPECT_THROW(waiting.get(), core::CancellationError);
    EXPECT_EQ(github.polls(), 1u);
}

TEST(DeviceFlowPoller, StopDuringAPollEndsWithoutAnotherWait) {
    TestClock clock;
    std::stop_source stop;
    // The poll sees the stop fire while it is out, as the HTTP client does
    // when the job is cancelled, and answers pending anyway.
    ScriptedPolls github(clock, {[&stop](std::stop_token token) {
                             stop.request_stop();
                             EXPECT_TRUE(token.stop_requested());
                             return DeviceTokenStatus::pending();
                         }});
    EXPECT_THROW(DeviceFlowPoller::waitForToken(github, clock, code(5, 900), stop.get_token()),
                 core::CancellationError);
    EXPECT_EQ(github.polls(), 1u);
    EXPECT_EQ(clock.sleeps().size(), 1u);
}

TEST(DeviceFlowPoller, AlreadyStoppedDoesNothing) {
    TestClock clock;
    ScriptedPolls github(clock, {ScriptedPolls::answer(DeviceTokenStatus::authorized("t"))});
    std::stop_source stop;
    stop.request_stop();
    EXPECT_THROW(DeviceFlowPoller::waitForToken(github, clock, code(5, 900), stop.get_token()),
                 core::CancellationError);
    EXPECT_EQ(github.polls(), 0u);
}

}  // namespace
}  // namespace tarv::core
