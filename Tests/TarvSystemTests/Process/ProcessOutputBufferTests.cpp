#include "TarvSystem/Process/ProcessOutputBuffer.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <thread>
#include <vector>

#include "Support/ProcessTestUtil.hpp"

namespace tarv::system {
namespace {

// Feeds `bytes` through a pipe in uneven pieces and collects them with
// readFrom until end of file.
std::vector<std::uint8_t> collectThroughPipe(const std::vector<std::uint8_t>& bytes) {
    int fds[2];
    EXPECT_EQ(::pipe2(fds, O_CLOEXEC), 0);
    std::jthread writer([&bytes, fd = fds[1]] {
        std::size_t offset = 0;
        std::size_t piece = 1;
        while (offset < bytes.size()) {
            const std::size_t n = std::min(piece, bytes.size() - offset);
            const ssize_t written = ::write(fd, bytes.data() + offset, n);
            if (written <= 0) break;
            offset += std::size_t(written);
            piece = piece * 7 % 300007 + 1;
        }
        ::close(fd);
    });
    ProcessOutputBuffer buffer;
    std::vector<std::uint8_t> scratch(65536);
    while (buffer.readFrom(fds[0], scratch) > 0) {
    }
    ::close(fds[0]);
    return buffer.take();
}

TEST(ProcessOutputBufferTest, KeepsEveryByteAcrossTheSizeBoundaries) {
    constexpr std::size_t limit = ProcessOutputBuffer::largeThreshold;
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{65536}, limit - 1, limit, limit + 1,
                                   std::size_t{9u << 20} + 123}) {
        const auto bytes = testing::processPatternBytes(size, static_cast<std::uint32_t>(size));
        EXPECT_TRUE(collectThroughPipe(bytes) == bytes) << size << " bytes";
    }
}

TEST(ProcessOutputBufferTest, AppendAndTakeLeaveAnEmptyBuffer) {
    const auto bytes = testing::processPatternBytes(3u << 20);
    ProcessOutputBuffer buffer;
    buffer.append({bytes.data(), 1000});
    buffer.append({bytes.data() + 1000, bytes.size() - 1000});
    EXPECT_EQ(buffer.size(), bytes.size());
    EXPECT_TRUE(buffer.take() == bytes);
    EXPECT_EQ(buffer.size(), 0u);
    EXPECT_TRUE(buffer.take().empty());
}

}  // namespace
}  // namespace tarv::system
