#include "TarvSystem/FileWatching/InotifyWatcher.hpp"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <dirent.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace tarv::system {

namespace {

using Clock = std::chrono::steady_clock;
using ChangeChannel = core::FileWatching::ChangeStream;

constexpr std::uint32_t eventMask = IN_MODIFY | IN_ATTRIB | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                    IN_DELETE_SELF | IN_MOVE_SELF;
constexpr std::uint32_t watchFlags = eventMask | IN_ONLYDIR | IN_DONT_FOLLOW | IN_EXCL_UNLINK;

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Everything one watching thread works with. Only that thread touches the
// descriptors' contents and the map; `stopping` is also set by the stream's
// termination handler.
struct WatchSession {
    int inotifyFd = -1;
    int stopFd = -1;
    std::string root;
    std::chrono::milliseconds latency;
    std::optional<std::size_t> watchLimit;
    std::unordered_map<int, std::string> directories;  // watch descriptor -> path
    bool limitReached = false;
    std::atomic<bool> stopping{false};
    std::weak_ptr<ChangeChannel> channel;

    ~WatchSession() {
        if (inotifyFd >= 0) ::close(inotifyFd);
        if (stopFd >= 0) ::close(stopFd);
    }

    bool canAddWatch() const {
        return !limitReached && (!watchLimit || directories.size() < *watchLimit);
    }

    // Watches `top` and every directory below it that is worth watching,
    // without following symbolic links below `top` (`top` itself is followed
    // when `followTop`: the watched root may be given through a link). Stops
    // quietly at the watch limit.
    void watchTree(const std::string& top, bool followTop = false) {
        std::vector<std::string> pending{top};
        while (!pending.empty() && !stopping.load(std::memory_order_relaxed)) {
            std::string directory = std::move(pending.back());
            pending.pop_back();
            if (!canAddWatch()) {
                limitReached = true;
                return;
            }
            const bool follow = followTop && directory == top;
            const int wd =
                ::inotify_add_watch(inotifyFd, directory.c_str(), follow ? watchFlags & ~IN_DONT_FOLLOW : watchFlags);
            if (wd < 0) {
                if (errno == ENOSPC) {
                    limitReached = true;
                    return;
                }
                continue;  // vanished, not a directory, no permission
            }
            DIR* listing = ::opendir(directory.c_str());
            directories[wd] = directory;
            if (listing == nullptr) continue;
            while (const dirent* entry = ::readdir(listing)) {
                const char* name = entry->d_name;
                if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
                std::string child = directory == "/" ? "/" + std::string(name) : directory + "/" + name;
                bool isDirectory = entry->d_type == DT_DIR;
                if (entry->d_type == DT_UNKNOWN) {
                    struct stat info {};
                    isDirectory = ::lstat(child.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
                }
                if (isDirectory && InotifyWatcher::isWorthWatching(child)) pending.push_back(std::move(child));
            }
            ::closedir(listing);
        }
    }

    // Drops the watches of a directory that moved away and of everything
    // below it; if it moved within the tree, its new place is watched anew.
    void unwatchTree(const std::string& top) {
        const std::string prefix = top + "/";
        for (auto it = directories.begin(); it != directories.end();) {
            if (it->second == top || startsWith(it->second, prefix)) {
                ::inotify_rm_watch(inotifyFd, it->first);
                it = directories.erase(it);
            } else {
                ++it;
            }
        }
        limitReached = false;
    }

    // Reads every queued event; true when one of them names a relevant path.
    bool drainEvents() {
        alignas(inotify_event) char buffer[64 * 1024];
        bool relevant = false;
        bool rescan = false;
        for (;;) {
            const ssize_t length = ::read(inotifyFd, buffer, sizeof buffer);
            if (length < 0) {
                if (errno == EINTR) continue;
                break;  // EAGAIN: nothing more queued
            }
            if (length == 0) break;
            for (ssize_t offset = 0; offset < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
                offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
                if (event->mask & IN_Q_OVERFLOW) {
                    // Events were lost: something changed, and folders made
                    // meanwhile may be unwatched.
                    relevant = true;
                    rescan = true;
                    continue;
                }
                const auto found = directories.find(event->wd);
                if (event->mask & IN_IGNORED) {
                    if (found != directories.end()) directories.erase(found);
                    limitReached = false;
                    continue;
                }
                if (found == directories.end()) continue;
                std::string path = found->second;
                if (event->len > 0) {
                    if (path != "/") path += '/';
                    path += event->name;  // NUL-terminated within `len`
                }
                if (event->mask & IN_ISDIR) {
                    if (event->mask & IN_MOVED_FROM) unwatchTree(path);
                    if ((event->mask & (IN_CREATE | IN_MOVED_TO)) && InotifyWatcher::isWorthWatching(path)) {
                        watchTree(path);
                    }
                }
                if (!relevant && InotifyWatcher::isRelevant(path)) relevant = true;
            }
        }
        if (rescan) watchTree(root, true);
        return relevant;
    }

    void deliver() {
        if (auto stream = channel.lock()) stream->yield(InotifyWatcher::Change{});
    }

    void run() {
        bool pendingReport = false;
        auto lastReport = Clock::time_point::min();
        while (!stopping.load()) {
            int timeout = -1;
            if (pendingReport) {
                const auto due = lastReport + latency;
                const auto now = Clock::now();
                timeout = due <= now ? 0
                                     : static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(due - now).count());
            }
            pollfd fds[2] = {{stopFd, POLLIN, 0}, {inotifyFd, POLLIN, 0}};
            const int ready = ::poll(fds, 2, timeout);
            if (ready < 0 && errno != EINTR) break;
            if (ready > 0 && fds[0].revents != 0) break;
            if (ready > 0 && (fds[1].revents & (POLLERR | POLLNVAL))) break;
            if (ready > 0 && fds[1].revents != 0 && drainEvents()) {
                const auto now = Clock::now();
                if (!pendingReport && (lastReport == Clock::time_point::min() || now - lastReport >= latency)) {
                    lastReport = now;
                    deliver();
                } else {
                    pendingReport = true;
                }
            }
            if (pendingReport && Clock::now() >= lastReport + latency) {
                pendingReport = false;
                lastReport = Clock::now();
                deliver();
            }
        }
        // Only the stop signal may end this thread (the termination handler
        // writes to `stopFd` and may still be about to), so after a failure
        // wait for it.
        if (!stopping.load()) {
            pollfd stopOnly{stopFd, POLLIN, 0};
            while (!stopping.load() && ::poll(&stopOnly, 1, -1) < 0 && errno == EINTR) {
            }
        }
    }
};

// Owns the watching thread; the stream's termination handler holds it.
struct WatchThread {
    std::thread thread;
};

}  // namespace

bool InotifyWatcher::isRelevant(std::string_view path) {
    std::string_view rest;
    if (const auto inside = path.find("/.git/"); inside != std::string_view::npos) {
        rest = path.substr(inside + 6);
    } else if (!endsWith(path, "/.git")) {
        return true;
    } else {
        rest = path.substr(path.find("/.git") + 5);
    }
    if (endsWith(rest, ".lock")) return false;
    if (rest == "HEAD" || rest == "index") return true;
    return startsWith(rest, "refs/");
}

bool InotifyWatcher::isWorthWatching(std::string_view path) {
    const auto inside = path.find("/.git/");
    if (inside == std::string_view::npos) return true;
    const std::string_view rest = path.substr(inside + 6);
    return rest == "refs" || startsWith(rest, "refs/");
}

std::shared_ptr<core::FileWatching::ChangeStream> InotifyWatcher::changes(const std::string& directory) {
    auto stream = ChangeChannel::make(core::BufferingPolicy::newestOnly);

    auto session = std::make_shared<WatchSession>();
    session->inotifyFd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    session->stopFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (session->inotifyFd < 0 || session->stopFd < 0) return stream;  // silent stream
    std::string root = directory;
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    session->root = root;
    session->latency = options_.latency;
    session->watchLimit = options_.watchLimit;
    session->channel = stream;
    session->watchTree(session->root, true);

    auto owner = std::make_shared<WatchThread>();
    try {
        owner->thread = std::thread([session] { session->run(); });
    } catch (const std::system_error&) {
        return stream;  // no thread: silent stream; the session closes its descriptors
    }
    stream->onTermination([session, owner] {
        session->stopping.store(true);
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(session->stopFd, &one, sizeof one);
        if (!owner->thread.joinable()) return;
        if (owner->thread.get_id() == std::this_thread::get_id()) {
            // The stream was released by the watching thread itself; it
            // sees `stopping` and ends on its own.
            owner->thread.detach();
        } else {
            owner->thread.join();
        }
    });
    return stream;
}

}  // namespace tarv::system
