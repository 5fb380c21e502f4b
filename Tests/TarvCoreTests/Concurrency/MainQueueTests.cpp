#include "TarvCore/Concurrency/MainQueue.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>

#include <thread>
#include <vector>

namespace tarv::core {
namespace {

bool readable(int fd) {
    pollfd pfd{fd, POLLIN, 0};
    return ::poll(&pfd, 1, 0) == 1;
}

TEST(MainQueueTest, WakesPollAndRunsClosuresInOrder) {
    MainQueue queue;
    EXPECT_FALSE(readable(queue.wakeFd()));
    EXPECT_TRUE(::fcntl(queue.wakeFd(), F_GETFD) & FD_CLOEXEC);
    std::vector<int> ran;
    for (int i = 0; i < 3; ++i) queue.post([&ran, i] { ran.push_back(i); });
    EXPECT_TRUE(readable(queue.wakeFd()));
    EXPECT_EQ(queue.drain(), 3u);
    EXPECT_EQ(ran, (std::vector<int>{0, 1, 2}));
    EXPECT_FALSE(readable(queue.wakeFd()));
}

TEST(MainQueueTest, ClosuresPostedWhileDrainingRunNextTimeAndKeepTheLoopAwake) {
    MainQueue queue;
    int second = 0;
    queue.post([&] { queue.post([&] { ++second; }); });
    EXPECT_EQ(queue.drain(), 1u);
    EXPECT_EQ(second, 0);
    EXPECT_TRUE(readable(queue.wakeFd()));
    EXPECT_EQ(queue.drain(), 1u);
    EXPECT_EQ(second, 1);
}

TEST(MainQueueTest, ManyProducersLoseNothing) {
    MainQueue queue;
    std::vector<int> perThread(4, 0);
    {
        std::vector<std::jthread> producers;
        for (int t = 0; t < 4; ++t) {
            producers.emplace_back([&, t] {
                for (int i = 0; i < 2000; ++i) queue.post([&, t] { ++perThread[t]; });
            });
        }
    }
    while (queue.drain() > 0) {}
    for (int n : perThread) EXPECT_EQ(n, 2000);
}

}  // namespace
}  // namespace tarv::core
