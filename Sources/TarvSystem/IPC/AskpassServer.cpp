#include "TarvSystem/IPC/AskpassServer.hpp"

#include <dirent.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <vector>

#include "TarvCore/Errors/ProcessError.hpp"
#include "TarvCore/Rules/CredentialPromptParser.hpp"
#include "TarvSystem/FileSystem/TemporaryDirectory.hpp"
#include "TarvSystem/IPC/AskpassClient.hpp"
#include "TarvSystem/IPC/AskpassRequest.hpp"
#include "TarvSystem/IPC/AskpassResponse.hpp"
#include "TarvSystem/IPC/AskpassWire.hpp"
#include "TarvSystem/IPC/PrivateDirectory.hpp"
#include "TarvSystem/IPC/SecureRandom.hpp"
#include "TarvSystem/IPC/UnixSocket.hpp"

namespace tarv::system {

namespace {

// One prompt waiting for its answer: a one-shot semaphore with the answer.
struct Pending {
    std::mutex mutex;
    std::condition_variable signalled;
    bool woken = false;
    std::optional<std::string> answer;

    // Wakes the waiting connection; the first wake-up wins.
    void wake(std::optional<std::string> value) {
        {
            std::lock_guard lock(mutex);
            if (woken) return;
            woken = true;
            answer = std::move(value);
        }
        signalled.notify_all();
    }
};

std::string hex(std::uint64_t value) {
    char buffer[17];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, 16);
    return std::string(buffer, result.ptr);
}

void setTimeout(int fd, int option, std::chrono::milliseconds limit) {
    timeval value{};
    value.tv_sec = static_cast<time_t>(limit.count() / 1000);
    value.tv_usec = static_cast<suseconds_t>((limit.count() % 1000) * 1000);
    ::setsockopt(fd, SOL_SOCKET, option, &value, sizeof value);
}

void reply(int fd, const AskpassResponse& response) {
    std::string line = response.encode();
    line.push_back('\n');
    UnixSocket::writeAll(fd, {reinterpret_cast<const std::uint8_t*>(line.data()), line.size()});
}

std::optional<pid_t> processIDField(std::string_view rest) {
    // The rest of the name split at "-", empty pieces dropped; the first piece
    // is the process id.
    while (!rest.empty() && rest.front() == '-') rest.remove_prefix(1);
    const auto end = rest.find('-');
    const std::string_view piece = rest.substr(0, end);
    if (piece.empty()) return std::nullopt;
    std::int32_t pid = 0;
    const auto result = std::from_chars(piece.data(), piece.data() + piece.size(), pid, 10);
    if (result.ec != std::errc() || result.ptr != piece.data() + piece.size()) return std::nullopt;
    return static_cast<pid_t>(pid);
}

std::vector<std::string> entries(const std::string& base) {
    std::vector<std::string> names;
    DIR* directory = ::opendir(base.c_str());
    if (directory == nullptr) return names;
    while (const dirent* entry = ::readdir(directory)) names.emplace_back(entry->d_name);
    ::closedir(directory);
    return names;
}

}  // namespace

struct AskpassServer::Shared {
    Shared(int timeoutSeconds, std::chrono::milliseconds readTimeout, std::optional<std::string> base)
        : timeoutSeconds(timeoutSeconds), readTimeout(readTimeout) {
        if (base && (base->empty() || base->back() != '/')) base->push_back('/');
        temporaryBase = std::move(base);
    }

    const int timeoutSeconds;
    const std::chrono::milliseconds readTimeout;
    std::optional<std::string> temporaryBase;  // set once, before any thread
    const std::shared_ptr<core::Channel<core::CredentialPrompt>> stream =
        core::Channel<core::CredentialPrompt>::make(core::BufferingPolicy::unbounded);

    std::mutex mutex;  // guards everything below
    std::int64_t nextID = 1;
    std::map<std::int64_t, std::shared_ptr<Pending>> pending;
    int listenFD = -1;
    std::optional<Endpoint> endpoint;
    bool stopped = false;
    std::set<int> reading;  // accepted connections still reading their request
};

AskpassServer::AskpassServer(int timeoutSeconds, std::chrono::milliseconds readTimeout,
                             std::optional<std::string> temporaryBase)
    : shared_(std::make_shared<Shared>(timeoutSeconds, readTimeout, std::move(temporaryBase))) {}

AskpassServer::~AskpassServer() { stop(); }

std::string AskpassServer::temporaryBase() const {
    return shared_->temporaryBase.value_or(TemporaryDirectory::current() + "/");
}

std::shared_ptr<core::Channel<core::CredentialPrompt>> AskpassServer::prompts() { return shared_->stream; }

void AskpassServer::respond(std::int64_t id, std::optional<std::string> answer) {
    std::shared_ptr<Pending> waiting;
    {
        std::lock_guard lock(shared_->mutex);
        const auto found = shared_->pending.find(id);
        if (found == shared_->pending.end()) return;
        waiting = found->second;
    }
    waiting->wake(std::move(answer));
}

AskpassServer::Endpoint AskpassServer::start(const std::string& executablePath) {
    const uid_t uid = ::getuid();
    removeStaleDirectories(uid);

    const std::string base = temporaryBase();
    std::string directory;
    for (int attempt = 0;; ++attempt) {
        const std::string name = "tarv-" + std::to_string(uid) + "-" + std::to_string(::getpid()) + "-" +
                                 hex(SecureRandom::next32());
        directory = base + name;
        // Socket paths are limited; a long base gives way to /tmp.
        if ((directory + "/s").size() >= 100) directory = "/tmp/" + name;
        try {
            // Fails when anything is already at the name: it is never reused.
            TemporaryDirectory::createPrivate(directory);
            break;
        } catch (const std::filesystem::filesystem_error& error) {
            if (error.code() != std::errc::file_exists || attempt >= 64) throw;
        }
    }

    Endpoint endpoint{directory, directory + "/s", directory + "/" + AskpassClient::programName, makeToken(),
                      directory + "/" + AskpassClient::sshProgramName};
    const auto fd = UnixSocket::listen(endpoint.socketPath);
    if (!fd) {
        const int error = errno;
        std::error_code ignored;
        std::filesystem::remove_all(directory, ignored);
        throw core::ProcessError::spawnFailed(error);
    }
    for (const std::string& link : {endpoint.askpassPath, endpoint.sshAskpassPath}) {
        if (::symlink(executablePath.c_str(), link.c_str()) == 0) continue;
        const std::error_code error(errno, std::generic_category());
        ::close(*fd);
        std::error_code ignored;
        std::filesystem::remove_all(directory, ignored);
        throw std::filesystem::filesystem_error("cannot create the askpass link", link, error);
    }

    {
        std::lock_guard lock(shared_->mutex);
        shared_->listenFD = *fd;
        shared_->endpoint = endpoint;
    }
    acceptThread_ = std::thread([shared = shared_, listenFD = *fd, token = endpoint.token] {
        acceptLoop(shared, listenFD, token);
    });
    return endpoint;
}

void AskpassServer::stop() {
    int listenFD = -1;
    std::optional<Endpoint> endpoint;
    std::vector<std::shared_ptr<Pending>> waiting;
    {
        std::lock_guard lock(shared_->mutex);
        shared_->stopped = true;
        listenFD = std::exchange(shared_->listenFD, -1);
        endpoint = std::exchange(shared_->endpoint, std::nullopt);
        for (const auto& [id, pending] : shared_->pending) waiting.push_back(pending);
        // A connection still reading ends its read at once and is refused;
        // its write side stays open for the refusal. Connections leave this
        // set under the lock before they close, so these descriptors are
        // still theirs.
        for (const int fd : shared_->reading) ::shutdown(fd, SHUT_RD);
    }
    if (listenFD >= 0) {
        // Wakes the blocked accept; the descriptor is closed only after the
        // loop has ended so that its number cannot be reused under it.
        ::shutdown(listenFD, SHUT_RDWR);
    }
    if (acceptThread_.joinable()) acceptThread_.join();
    if (listenFD >= 0) ::close(listenFD);
    for (const auto& pending : waiting) pending->wake(std::nullopt);
    if (endpoint) {
        std::error_code ignored;
        std::filesystem::remove_all(endpoint->directory, ignored);
    }
    shared_->stream->finish();
}

void AskpassServer::acceptLoop(const std::shared_ptr<Shared>& shared, int listenFD, const std::string& token) {
    for (;;) {
        const int fd = ::accept4(listenFD, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            {
                std::lock_guard lock(shared->mutex);
                if (shared->stopped) return;
            }
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                // Out of resources for a moment: try again shortly.
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                continue;
            }
            return;
        }
        try {
            std::thread([shared, fd, token] { handle(shared, fd, token); }).detach();
        } catch (...) {
            ::close(fd);
        }
    }
}

void AskpassServer::handle(const std::shared_ptr<Shared>& shared, int fd, const std::string& token) {
    ucred peer{};
    socklen_t length = sizeof peer;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0 || length != sizeof peer ||
        peer.uid != ::getuid()) {
        ::close(fd);
        return;
    }
    // No connection may hold its thread for ever: reading the request and
    // writing the answer are both bounded.
    setTimeout(fd, SO_RCVTIMEO, shared->readTimeout);
    setTimeout(fd, SO_SNDTIMEO, shared->readTimeout);

    const auto refuse = [fd] {
        reply(fd, AskpassResponse::refusal());
        ::close(fd);
    };

    {
        std::unique_lock lock(shared->mutex);
        if (shared->stopped) {
            lock.unlock();
            return refuse();
        }
        shared->reading.insert(fd);
    }
    const auto line = UnixSocket::readLine(fd, AskpassWire::maxLineBytes);
    {
        std::lock_guard lock(shared->mutex);
        shared->reading.erase(fd);
    }
    if (!line) return refuse();
    const auto request =
        AskpassRequest::decode(std::string_view(reinterpret_cast<const char*>(line->data()), line->size()));
    if (!request || !constantTimeEquals(request->token, token)) return refuse();

    const auto parsed = core::CredentialPromptParser::parse(request->prompt);
    const auto pending = std::make_shared<Pending>();
    std::int64_t id = 0;
    {
        std::unique_lock lock(shared->mutex);
        if (shared->stopped) {
            // Nobody would ever answer it: refused at once.
            lock.unlock();
            return refuse();
        }
        id = shared->nextID++;
        shared->pending[id] = pending;
    }
    shared->stream->yield(core::CredentialPrompt{id, parsed.kind, request->prompt, parsed.subject, request->asker});

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(shared->timeoutSeconds);
    std::optional<std::string> answer;
    {
        std::unique_lock lock(pending->mutex);
        pending->signalled.wait_until(lock, deadline, [&] { return pending->woken; });
        // A late respond finds the prompt gone below; one that comes between
        // the time-out and the removal is not used either.
        pending->woken = true;
        answer = pending->answer;
    }
    {
        std::lock_guard lock(shared->mutex);
        shared->pending.erase(id);
    }
    reply(fd, AskpassResponse{answer.has_value(), answer});
    ::close(fd);
}

void AskpassServer::removeStaleDirectories(uid_t uid) const {
    const std::string prefix = "tarv-" + std::to_string(uid) + "-";
    std::vector<std::string> bases{temporaryBase()};
    if (bases.front() != "/tmp/") bases.emplace_back("/tmp/");
    const pid_t self = ::getpid();
    for (const auto& base : bases) {
        for (const auto& name : entries(base)) {
            if (name.compare(0, prefix.size(), prefix) != 0) continue;
            const auto pid = processIDField(std::string_view(name).substr(prefix.size()));
            if (!pid || *pid == self) continue;
            if (::kill(*pid, 0) == 0 || errno != ESRCH) continue;
            // Only a real directory of this user is removed; a link or
            // someone else's entry with the same name stays untouched.
            PrivateDirectory::removeOwnedDirectory(base + name, uid);
        }
    }
}

std::string AskpassServer::makeToken() {
    std::string token;
    for (int i = 0; i < 4; ++i) token += hex(SecureRandom::next64());
    return token;
}

bool AskpassServer::constantTimeEquals(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    volatile unsigned char difference = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        difference = difference | static_cast<unsigned char>(a[i] ^ b[i]);
    }
    return difference == 0;
}

}  // namespace tarv::system
