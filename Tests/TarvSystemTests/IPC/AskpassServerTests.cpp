#include <gtest/gtest.h>

#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "PromptCollector.hpp"
#include "TarvCore/Errors/ProcessError.hpp"
#include "TarvSystem/IPC/AskpassClient.hpp"
#include "TarvSystem/IPC/AskpassRequest.hpp"
#include "TarvSystem/IPC/AskpassServer.hpp"
#include "TarvSystem/IPC/NullCredentialBroker.hpp"
#include "TarvSystem/IPC/PrivateDirectory.hpp"
#include "TarvSystem/IPC/UnixSocket.hpp"

using namespace std::chrono_literals;
using tarv::core::CredentialPrompt;
using tarv::system::AskpassClient::request;
using tarv::system::AskpassRequest;
using tarv::system::AskpassServer;
using tarv::testing::PromptCollector;
namespace PrivateDirectory = tarv::system::PrivateDirectory;
namespace UnixSocket = tarv::system::UnixSocket;
namespace fs = std::filesystem;

namespace {

constexpr const char* refusal = R"({"ok":false})";

struct TempDir {
    std::string path;
    explicit TempDir(const char* prefix = "/tmp/tarv-askpass-test-XXXXXX") {
        std::string pattern = prefix;
        path = ::mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    std::string base() const { return path + "/"; }
};

// A raw client: connects, sends `bytes`, optionally keeps the connection
// open for writing, and reads the one answer line.
class RawClient {
public:
    explicit RawClient(const std::string& socketPath) {
        const auto fd = UnixSocket::connect(socketPath);
        EXPECT_TRUE(fd) << socketPath;
        fd_ = fd.value_or(-1);
    }
    ~RawClient() {
        if (fd_ >= 0) ::close(fd_);
    }
    void send(std::string_view bytes) {
        UnixSocket::writeAll(fd_, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    }
    void finishWriting() { ::shutdown(fd_, SHUT_WR); }
    // The whole answer up to the end of the connection ("" when none).
    std::string answer() {
        std::string text;
        char buffer[256];
        for (;;) {
            const ssize_t got = ::read(fd_, buffer, sizeof buffer);
            if (got <= 0) break;
            text.append(buffer, static_cast<std::size_t>(got));
        }
        return text;
    }

private:
    int fd_ = -1;
};

std::string requestLine(const std::string& token, const std::string& prompt) {
    return AskpassRequest{token, prompt}.encode() + "\n";
}

pid_t deadProcessID() {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(0);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return pid;
}

template <class Duration>
auto elapsedSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<Duration>(std::chrono::steady_clock::now() - start);
}

}  // namespace

TEST(AskpassServer, StartMakesAPrivateDirectoryWithTheSocketAndTheLinkAndStopRemovesIt) {
    TempDir base;
    AskpassServer server(300, 10s, base.base());
    PromptCollector collector(server.prompts());
    const auto endpoint = server.start("/usr/bin/true");

    const std::string prefix = base.base() + "tarv-" + std::to_string(::getuid()) + "-" + std::to_string(::getpid()) + "-";
    EXPECT_EQ(endpoint.directory.rfind(prefix, 0), 0u) << endpoint.directory;
    EXPECT_EQ(endpoint.directory.substr(prefix.size()).find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_EQ(endpoint.socketPath, endpoint.directory + "/s");
    EXPECT_EQ(endpoint.askpassPath, endpoint.directory + "/tarv-askpass");
    EXPECT_TRUE(PrivateDirectory::isPrivate(endpoint.directory, ::getuid()));
    struct stat info {};
    ASSERT_EQ(::lstat(endpoint.socketPath.c_str(), &info), 0);
    EXPECT_TRUE(S_ISSOCK(info.st_mode));
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(fs::read_symlink(endpoint.askpassPath), "/usr/bin/true");
    EXPECT_EQ(endpoint.sshAskpassPath, endpoint.directory + "/tarv-ssh-askpass");
    EXPECT_EQ(fs::read_symlink(endpoint.sshAskpassPath), "/usr/bin/true");
    EXPECT_EQ(server.prompts(), server.prompts());

    server.stop();
    EXPECT_FALSE(fs::exists(endpoint.directory));
    EXPECT_TRUE(collector.waitForEnd());
    server.stop();  // harmless
    EXPECT_FALSE(request("Password: ", endpoint.socketPath, endpoint.token));
}

TEST(AskpassServer, BadRequestsAreRefusedWithoutAPrompt) {
    TempDir base;
    AskpassServer server(300, 10s, base.base());
    PromptCollector collector(server.prompts());
    const auto endpoint = server.start("/usr/bin/true");

    std::string lastDiffers = endpoint.token;
    lastDiffers.back() = lastDiffers.back() == 'a' ? 'b' : 'a';
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"token differing in its last character", requestLine(lastDiffers, "Password: ")},
        {"token missing", R"({"prompt":"Password: "})" "\n"},
        {"empty token", requestLine("", "Password: ")},
        {"empty line", "\n"},
        {"not JSON", "hello\n"},
        {"line too long", std::string(70000, 'x')},
    };
    for (const auto& c : cases) {
        RawClient client(endpoint.socketPath);
        client.send(c.bytes);
        client.finishWriting();
        EXPECT_EQ(client.answer(), std::string(refusal) + "\n") << c.name;
    }
    EXPECT_EQ(collector.count(), 0u);

    // Refusals use no prompt id: the first real prompt is still number 1.
    auto answer = std::async(std::launch::async, [&] { return request("Password: ", endpoint.socketPath, endpoint.token); });
    ASSERT_TRUE(collector.waitFor(1));
    EXPECT_EQ(collector.prompts()[0].id, 1);
    server.respond(1, "pw");
    EXPECT_EQ(answer.get(), "pw");
}

TEST(AskpassServer, AnswersGoBackToTheirOwnConnection) {
    TempDir base;
    AskpassServer server(300, 10s, base.base());
    PromptCollector collector(server.prompts());
    const auto endpoint = server.start("/usr/bin/true");

    const std::string userPrompt = "Username for 'https://example.com': ";
    const std::string keyPrompt = "Enter passphrase for key '/home/u/.ssh/id': ";
    auto user = std::async(std::launch::async, [&] { return request(userPrompt, endpoint.socketPath, endpoint.token); });
    ASSERT_TRUE(collector.waitFor(1));
    auto key = std::async(std::launch::async, [&] { return request(keyPrompt, endpoint.socketPath, endpoint.token); });
    ASSERT_TRUE(collector.waitFor(2));

    const auto prompts = collector.prompts();
    EXPECT_EQ(prompts[0], (CredentialPrompt{1, CredentialPrompt::Kind::username, userPrompt, "https://example.com"}));
    EXPECT_EQ(prompts[1], (CredentialPrompt{2, CredentialPrompt::Kind::passphrase, keyPrompt, "/home/u/.ssh/id"}));

    server.respond(2, "");        // the empty answer is an answer
    server.respond(1, "octocat");
    server.respond(1, "ignored");  // a second answer changes nothing
    EXPECT_EQ(user.get(), "octocat");
    EXPECT_EQ(key.get(), "");

    server.respond(99, "nobody waits for this");
    auto cancelled = std::async(std::launch::async, [&] { return request("Password: ", endpoint.socketPath, endpoint.token); });
    ASSERT_TRUE(collector.waitFor(3));
    server.respond(3, std::nullopt);
    EXPECT_EQ(cancelled.get(), std::nullopt);
}

TEST(AskpassServer, AnUnansweredPromptTimesOutAndKeepsItsId) {
    TempDir base;
    AskpassServer server(1, 10s, base.base());
    PromptCollector collector(server.prompts());
    const auto endpoint = server.start("/usr/bin/true");

    RawClient client(endpoint.socketPath);
    client.send(requestLine(endpoint.token, "Password: "));
    ASSERT_TRUE(collector.waitFor(1));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(client.answer(), std::string(refusal) + "\n");
    EXPECT_LT(elapsedSince<std::chrono::milliseconds>(start), 10s);
    server.respond(1, "too late");  // ignored

    auto next = std::async(std::launch::async, [&] { return request("Password: ", endpoint.socketPath, endpoint.token); });
    ASSERT_TRUE(collector.waitFor(2));
    EXPECT_EQ(collector.prompts()[1].id, 2);
    server.respond(2, "in time");
    EXPECT_EQ(next.get(), "in time");
}

TEST(AskpassServer, ASilentConnectionIsRefusedAfterTheReadLimit) {
    TempDir base;
    AskpassServer server(300, 200ms, base.base());
    PromptCollector collector(server.prompts());
    const auto endpoint = server.start("/usr/bin/true");

    RawClient silent(endpoint.socketPath);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(silent.answer(), std::string(refusal) + "\n");
    EXPECT_LT(elapsedSince<std::chrono::milliseconds>(start), 10s);
    EXPECT_EQ(collector.count(), 0u);
}

TEST(AskpassServer, StopAnswersEveryWaitingAndReadingConnectionAtOnce) {
    TempDir base;
    AskpassServer server(300, 300s, base.base());
    PromptCollector collector(server.prompts());
    const auto endpoint = server.start("/usr/bin/true");

    // One connection sends nothing; another a whole request without its
    // line feed, so that it is only complete once stop ends the reading.
    RawClient silent(endpoint.socketPath);
    RawClient unfinished(endpoint.socketPath);
    unfinished.send(AskpassRequest{endpoint.token, "Password: "}.encode());
    // Connections are accepted in order: once these two prompts are there,
    // the two above have been accepted as well.
    auto first = std::async(std::launch::async, [&] { return request("Password: ", endpoint.socketPath, endpoint.token); });
    ASSERT_TRUE(collector.waitFor(1));
    auto second = std::async(std::launch::async, [&] { return request("Username: ", endpoint.socketPath, endpoint.token); });
    ASSERT_TRUE(collector.waitFor(2));
    std::this_thread::sleep_for(50ms);  // usually lets them reach their read

    const auto start = std::chrono::steady_clock::now();
    server.stop();
    EXPECT_EQ(first.get(), std::nullopt);
    EXPECT_EQ(second.get(), std::nullopt);
    EXPECT_EQ(silent.answer(), std::string(refusal) + "\n");
    EXPECT_EQ(unfinished.answer(), std::string(refusal) + "\n");
    EXPECT_LT(elapsedSince<std::chrono::milliseconds>(start), 5s);
    EXPECT_FALSE(fs::exists(endpoint.directory));
    EXPECT_TRUE(collector.waitForEnd());
    EXPECT_EQ(collector.count(), 2u);  // the request read after stop became no prompt
}

TEST(AskpassServer, StartRemovesOnlyStaleDirectoriesOfThisUser) {
    TempDir base;
    const std::string uid = std::to_string(::getuid());
    const std::string dead = std::to_string(deadProcessID());
    const auto path = [&](const std::string& name) { return base.base() + name; };
    const auto makeDir = [&](const std::string& name) {
        fs::create_directory(path(name));
        std::ofstream(path(name) + "/content") << "x";
    };

    TempDir victim;
    std::ofstream(victim.path + "/precious") << "keep me";

    makeDir("tarv-" + uid + "-" + dead + "-1a");                          // stale: removed
    makeDir("tarv-" + uid + "--" + dead + "-2b");                         // empty pieces dropped: removed
    makeDir("tarv-" + uid + "-" + std::to_string(::getpid()) + "-3c");   // this process
    makeDir("tarv-" + uid + "-" + std::to_string(::getppid()) + "-4d");  // a live process
    makeDir("tarv-" + uid + "-notapid-5e");                               // not a number
    makeDir("tarv-" + uid + "x-" + dead + "-6f");                         // another prefix
    fs::create_directory_symlink(victim.path, path("tarv-" + uid + "-" + dead + "-link"));
    std::ofstream(path("tarv-" + uid + "-" + dead + "-file")) << "a file";
    const bool root = ::geteuid() == 0;
    if (root) {
        makeDir("tarv-" + uid + "-" + dead + "-foreign");
        ASSERT_EQ(::chown(path("tarv-" + uid + "-" + dead + "-foreign").c_str(), 65534, 65534), 0);
    }

    AskpassServer server(300, 10s, base.base());
    const auto endpoint = server.start("/usr/bin/true");

    EXPECT_FALSE(fs::exists(path("tarv-" + uid + "-" + dead + "-1a")));
    EXPECT_FALSE(fs::exists(path("tarv-" + uid + "--" + dead + "-2b")));
    EXPECT_TRUE(fs::exists(path("tarv-" + uid + "-" + std::to_string(::getpid()) + "-3c")));
    EXPECT_TRUE(fs::exists(path("tarv-" + uid + "-" + std::to_string(::getppid()) + "-4d")));
    EXPECT_TRUE(fs::exists(path("tarv-" + uid + "-notapid-5e")));
    EXPECT_TRUE(fs::exists(path("tarv-" + uid + "x-" + dead + "-6f")));
    EXPECT_TRUE(fs::is_symlink(path("tarv-" + uid + "-" + dead + "-link")));
    EXPECT_TRUE(fs::exists(victim.path + "/precious"));
    EXPECT_TRUE(fs::is_regular_file(path("tarv-" + uid + "-" + dead + "-file")));
    if (root) {
        EXPECT_TRUE(fs::exists(path("tarv-" + uid + "-" + dead + "-foreign/content")));
    }
    EXPECT_TRUE(fs::exists(endpoint.directory));
}

TEST(AskpassServer, ALongTemporaryFolderGivesWayToTmp) {
    TempDir base;
    // base + "tarv-<uid>-<pid>-<suffix>" + "/s" comes to 100 bytes or more.
    const std::string deep = base.path + "/" + std::string(60, 'd');
    fs::create_directory(deep);
    AskpassServer server(300, 10s, deep);
    const auto endpoint = server.start("/usr/bin/true");
    EXPECT_EQ(endpoint.directory.rfind("/tmp/tarv-", 0), 0u) << endpoint.directory;
    EXPECT_TRUE(PrivateDirectory::isPrivate(endpoint.directory, ::getuid()));
    server.stop();
    EXPECT_FALSE(fs::exists(endpoint.directory));
}

TEST(AskpassServer, APeerOfAnotherUserIsClosedWithoutAnAnswer) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to connect as another user";
    TempDir base;
    AskpassServer server(300, 10s, base.base());
    PromptCollector collector(server.prompts());
    const auto endpoint = server.start("/usr/bin/true");
    // Open the way that the private directory and the socket mode normally
    // bar, so that only the peer check stands between the user and a prompt.
    ASSERT_EQ(::chmod(base.path.c_str(), 0755), 0);
    ASSERT_EQ(::chmod(endpoint.directory.c_str(), 0711), 0);
    ASSERT_EQ(::chmod(endpoint.socketPath.c_str(), 0666), 0);

    const std::string line = requestLine(endpoint.token, "Password: ");
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Only async-signal-safe calls from here on.
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(10);
        // The server may close the connection before the request is written:
        // the write then fails instead of ending this process with SIGPIPE.
        ::signal(SIGPIPE, SIG_IGN);
        const auto fd = UnixSocket::connect(endpoint.socketPath);
        if (!fd) ::_exit(11);
        const ssize_t written = ::write(*fd, line.data(), line.size());
        if (written < 0 && (errno == EPIPE || errno == ECONNRESET)) ::_exit(0);
        if (written != static_cast<ssize_t>(line.size())) ::_exit(12);
        char byte;
        const ssize_t got = ::read(*fd, &byte, 1);
        // Closed unread, the connection may also end in a reset.
        if (got == 0 || (got < 0 && errno == ECONNRESET)) ::_exit(0);
        ::_exit(got > 0 ? 13 : 14);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "10: setuid, 11: connect, 12: write, 13: got an answer, 14: read failed";
    EXPECT_EQ(collector.count(), 0u);
}

TEST(NullCredentialBroker, ItsStreamEndsAtOnce) {
    tarv::system::NullCredentialBroker broker;
    std::stop_source never;
    EXPECT_EQ(broker.prompts()->next(never.get_token()), std::nullopt);
    broker.respond(1, "ignored");
}
