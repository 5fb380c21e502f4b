#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TarvSystem/IPC/UnixSocket.hpp"

namespace UnixSocket = tarv::system::UnixSocket;

namespace {

std::vector<std::uint8_t> bytes(std::string_view text) { return {text.begin(), text.end()}; }

// A connected pair: the test writes on one end and reads on the other.
struct Pair {
    int writer = -1;
    int reader = -1;
    Pair() {
        int fds[2];
        EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds), 0);
        writer = fds[0];
        reader = fds[1];
    }
    ~Pair() {
        if (writer >= 0) ::close(writer);
        ::close(reader);
    }
    void send(std::string_view text) { ASSERT_TRUE(UnixSocket::writeAll(writer, bytes(text))); }
    void closeWriter() {
        ::close(writer);
        writer = -1;
    }
};

struct TempDir {
    std::string path;
    TempDir() {
        char pattern[] = "/tmp/tarv-socket-test-XXXXXX";
        path = ::mkdtemp(pattern);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
};

}  // namespace

TEST(UnixSocketReadLine, StopsAtTheLineFeedWithoutReadingFurther) {
    Pair pair;
    pair.send("first\n\nthird");
    pair.closeWriter();
    EXPECT_EQ(UnixSocket::readLine(pair.reader, 100), bytes("first"));
    EXPECT_EQ(UnixSocket::readLine(pair.reader, 100), bytes(""));  // a lone 0x0A is an empty line
    EXPECT_EQ(UnixSocket::readLine(pair.reader, 100), bytes("third"));  // last line without 0x0A
    EXPECT_EQ(UnixSocket::readLine(pair.reader, 100), std::nullopt);    // nothing left
}

TEST(UnixSocketReadLine, AcceptsOneByteLessThanTheLimit) {
    {
        Pair pair;
        pair.send(std::string(65535, 'x') + "\n");
        const auto line = UnixSocket::readLine(pair.reader, 65536);
        ASSERT_TRUE(line);
        EXPECT_EQ(line->size(), 65535u);
    }
    {
        Pair pair;
        pair.send(std::string(65536, 'x'));
        EXPECT_EQ(UnixSocket::readLine(pair.reader, 65536), std::nullopt);
    }
    {
        Pair pair;
        pair.send("x\n");
        EXPECT_EQ(UnixSocket::readLine(pair.reader, 0), std::nullopt);
    }
}

TEST(UnixSocketListen, ReplacesAStaleFileAndMakesAPrivateSocket) {
    TempDir dir;
    const std::string path = dir.path + "/s";
    std::ofstream(path) << "left over";

    const auto fd = UnixSocket::listen(path);
    ASSERT_TRUE(fd) << std::strerror(errno);
    struct stat info {};
    ASSERT_EQ(::lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISSOCK(info.st_mode));
    EXPECT_EQ(info.st_mode & 07777, 0600u);

    const auto client = UnixSocket::connect(path);
    ASSERT_TRUE(client);
    const int accepted = ::accept(*fd, nullptr, nullptr);
    ASSERT_GE(accepted, 0);
    ASSERT_TRUE(UnixSocket::writeAll(*client, bytes("hello\n")));
    EXPECT_EQ(UnixSocket::readLine(accepted, 100), bytes("hello"));
    ::close(accepted);
    ::close(*client);
    ::close(*fd);
}

TEST(UnixSocketListen, PathsUpToTheAddressSizeWork) {
    TempDir dir;
    const auto pathOfLength = [&](std::size_t length) {
        std::string path = dir.path + "/";
        path += std::string(length - path.size(), 'p');
        return path;
    };
    const std::string longest = pathOfLength(UnixSocket::maxPathBytes);
    ASSERT_EQ(longest.size(), 107u);
    const auto fd = UnixSocket::listen(longest);
    ASSERT_TRUE(fd) << std::strerror(errno);
    const auto client = UnixSocket::connect(longest);
    EXPECT_TRUE(client);
    if (client) ::close(*client);
    ::close(*fd);

    const std::string tooLong = pathOfLength(UnixSocket::maxPathBytes + 1);
    EXPECT_FALSE(UnixSocket::listen(tooLong));
    EXPECT_FALSE(UnixSocket::connect(tooLong));
    EXPECT_FALSE(std::filesystem::exists(tooLong));
}
