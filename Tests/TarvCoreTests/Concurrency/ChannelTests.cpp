#include "TarvCore/Concurrency/Channel.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace tarv::core {
namespace {

TEST(ChannelTest, UnboundedDeliversEverythingInOrderThenEnds) {
    auto channel = Channel<int>::make();
    int terminations = 0;
    channel->onTermination([&] { ++terminations; });
    std::jthread producer([&] {
        for (int i = 0; i < 1000; ++i) channel->yield(i);
        channel->finish();
    });
    std::vector<int> got;
    std::stop_source never;
    while (auto v = channel->next(never.get_token())) got.push_back(*v);
    producer.join();
    ASSERT_EQ(got.size(), 1000u);
    for (int i = 0; i < 1000; ++i) EXPECT_EQ(got[i], i);
    EXPECT_EQ(terminations, 1);
    EXPECT_FALSE(channel->yield(5));
}

TEST(ChannelTest, NewestOnlyKeepsTheLatest) {
    Channel<int> channel(BufferingPolicy::newestOnly);
    channel.yield(1);
    channel.yield(2);
    channel.yield(3);
    std::stop_source never;
    EXPECT_EQ(channel.next(never.get_token()), 3);
    channel.finish();
    EXPECT_EQ(channel.next(never.get_token()), std::nullopt);
}

TEST(ChannelTest, CancellingTheConsumerEndsTheStreamAndRunsTheHandlerOnce) {
    auto channel = Channel<int>::make();
    std::atomic<int> terminations{0};
    channel->onTermination([&] { ++terminations; });
    std::stop_source stop;
    std::jthread consumer([&] { EXPECT_EQ(channel->next(stop.get_token()), std::nullopt); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    stop.request_stop();
    consumer.join();
    EXPECT_EQ(terminations.load(), 1);
    EXPECT_FALSE(channel->yield(1));
    channel->finish();
    EXPECT_EQ(terminations.load(), 1);
}

TEST(ChannelTest, HandlerSetAfterTerminationRunsAtOnceAndDestructionTerminates) {
    int ran = 0;
    {
        Channel<int> channel;
        channel.onTermination([&] { ++ran; });
    }
    EXPECT_EQ(ran, 1);
    Channel<int> finished;
    finished.finish();
    finished.onTermination([&] { ++ran; });
    EXPECT_EQ(ran, 2);
}

}  // namespace
}  // namespace tarv::core
