#include "TarvEngine/Commands/CommitIndex.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>
#include <vector>

#include "TarvCore/Errors/GitError.hpp"
#include "TarvEngine/Commands/WriteSupport.hpp"
#include "TarvEngine/Parsers/ByteText.hpp"

namespace tarv::engine {

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// How long the commit waits for another git process to release the user's
// index: git holds that lock for the moment it takes to write the file.
constexpr auto lockPatience = 5s;
constexpr auto lockPoll = 20ms;

constexpr std::string_view namePrefix = "tarv-commit-index-";
// The marks beside the private index: hard links to the lock.
constexpr std::string_view lockMark = "-lock";
constexpr std::string_view readyMark = "-ready";
// The index prepared for the user, while it is built.
constexpr std::string_view nextSuffix = "-next";

// When the process `pid` started (clock ticks since boot); none when it does
// not run or cannot be looked at.
std::optional<std::uint64_t> processStart(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto close = stat.rfind(')');
    if (close == std::string::npos) return std::nullopt;
    // After the name: state, then the fields up to the start, the 22nd.
    std::string_view rest = std::string_view(stat).substr(close + 1);
    for (int field = 3; field < 22; ++field) {
        const auto space = rest.find(' ', 1);
        if (space == std::string_view::npos) return std::nullopt;
        rest.remove_prefix(space);
    }
    rest.remove_prefix(1);
    std::uint64_t start = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), start);
    if (error != std::errc{}) return std::nullopt;
    return start;
}

// "<pid>.<start>" of this process: two programs never share it, and one that
// reuses the id of a program gone is told apart from it.
std::string ownStamp() {
    return std::to_string(::getpid()) + "." + std::to_string(processStart(::getpid()).value_or(0));
}

// Whether the process a stamp names still runs (when it cannot be told: yes).
bool stampRuns(std::string_view stamp) {
    if (stamp == ownStamp()) return true;
    const auto dot = stamp.find('.');
    pid_t pid = 0;
    std::uint64_t start = 0;
    if (dot == std::string_view::npos ||
        std::from_chars(stamp.data(), stamp.data() + dot, pid).ptr != stamp.data() + dot ||
        std::from_chars(stamp.data() + dot + 1, stamp.data() + stamp.size(), start).ptr !=
            stamp.data() + stamp.size() ||
        pid <= 0) {
        return false;
    }
    if (const auto started = processStart(pid)) return *started == start;
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

std::string privateIndexPath(const std::string& gitDirectory) {
    static std::atomic<unsigned> counter{0};
    return gitDirectory + "/" + std::string(namePrefix) + ownStamp() + "-" + std::to_string(counter++);
}

// git's words when it cannot take an index lock.
std::string lockRefusal(const std::string& lock, int error) {
    if (error != EEXIST) return "fatal: Unable to create '" + lock + "': " + std::strerror(error);
    return "fatal: Unable to create '" + lock +
           "': File exists.\n\n"
           "Another git process seems to be running in this repository, e.g.\n"
           "an editor opened by 'git commit'. Please make sure all processes\n"
           "are terminated then try again. If it still fails, a git process\n"
           "may have crashed in this repository earlier:\n"
           "remove the file manually to continue.";
}

// Creates the lock `path` exclusively, waiting up to `lockPatience` for
// another process to release it; the descriptor, or -1 with errno set.
int takeLock(const std::string& path) {
    const auto giveUp = std::chrono::steady_clock::now() + lockPatience;
    for (;;) {
        const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST || std::chrono::steady_clock::now() >= giveUp) return fd;
        std::this_thread::sleep_for(lockPoll);
    }
}

// Whether `a` and `b` are one file (two names of one inode).
bool sameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return ::lstat(a.c_str(), &first) == 0 && ::lstat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

void removeQuietly(const std::string& path) {
    std::error_code error;
    fs::remove(path, error);
}

// Replaces the content of the open file `fd` by that of `source`, with its
// modification time (which tells git which entries' stat data to trust).
bool copyInto(int fd, const std::string& source) {
    const int from = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (from < 0) return false;
    bool copied = ::ftruncate(fd, 0) == 0 && ::lseek(fd, 0, SEEK_SET) == 0;
    char buffer[65536];
    while (copied) {
        const ssize_t count = ::read(from, buffer, sizeof buffer);
        if (count == 0) break;
        if (count < 0) {
            copied = errno == EINTR;
            continue;
        }
        for (ssize_t written = 0; copied && written < count;) {
            const ssize_t step = ::write(fd, buffer + written, static_cast<std::size_t>(count - written));
            if (step > 0) written += step;
            copied = step > 0 || errno == EINTR;
        }
    }
    struct stat status {};
    if (copied && ::fstat(from, &status) == 0) {
        const struct timespec times[2] = {status.st_atim, status.st_mtim};
        ::futimens(fd, times);
    }
    ::close(from);
    return copied;
}

// One "diff-index --raw -z" record of the user's index against HEAD.
struct IndexDifference {
    std::string_view mode;    // the index side
    std::string_view object;  // the index side
    char status = 0;          // 'A', 'M', 'T', 'D' or 'U'
    std::string_view path;
};

std::vector<IndexDifference> parseDifferences(std::string_view raw) {
    // ":<mode> <mode> <object> <object> <status>" NUL "<path>" NUL ...
    std::vector<std::string_view> pieces;
    bytes::forEachPiece(raw, '\0', [&](std::string_view piece) { pieces.push_back(piece); });
    std::vector<IndexDifference> differences;
    for (std::size_t i = 0; i + 1 < pieces.size(); i += 2) {
        std::string_view fields[4];
        std::string_view status;
        if (!pieces[i].starts_with(':') || !bytes::takeFields(pieces[i].substr(1), ' ', 4, fields, status) ||
            status.empty()) {
            throw core::GitError::invalidOutput("git diff-index: unexpected record");
        }
        differences.push_back({fields[1], fields[3], status.front(), pieces[i + 1]});
    }
    return differences;
}

// The user's entries of the unmerged `paths`, as "update-index --index-info"
// lines (all stages, after a line that clears the path).
std::string unmergedEntries(const GitExecutor& executor, const std::string& repository,
                            const std::set<std::string_view>& paths, const std::string& removal,
                            std::stop_token stop) {
    auto listing = executor.run({"ls-files", "-s", "-z"}, repository, stop);
    std::string entries;
    for (auto path : paths) (entries += removal).append(path) += '\0';
    bytes::forEachPiece(listing.stdoutBytes(), '\0', [&](std::string_view line) {
        const auto tab = line.find('\t');
        if (tab != std::string_view::npos && paths.contains(line.substr(tab + 1))) (entries += line) += '\0';
    });
    return entries;
}

// Lays `overlay` ("update-index --index-info" lines) over the index `index`.
void layOver(const GitExecutor& executor, const std::string& repository, const std::string& index,
             const std::string& overlay, std::stop_token stop) {
    if (overlay.empty()) return;
    GitExecutor::Options options = write::writing();
    options.environment = {{"GIT_INDEX_FILE", index}};
    options.stdin = core::toBytes(overlay);
    executor.run({"update-index", "-z", "--index-info"}, repository, options, stop);
}

// The tree of the index `index`, or of HEAD (`index` none); empty when git
// cannot tell.
std::string treeOf(const GitExecutor& executor, const std::string& repository, const std::optional<std::string>& index,
                   std::stop_token stop) {
    if (!index) {
        auto head = executor.run({"rev-parse", "-q", "--verify", "HEAD^{tree}"}, repository,
                                 write::reading({0, 1, 128}), stop);
        return write::trimmedOutput(head);
    }
    GitExecutor::Options options = write::writing({0, 128});
    options.environment = {{"GIT_INDEX_FILE", *index}};
    auto written = executor.run({"write-tree"}, repository, options, stop);
    return written.exitCode == 0 ? write::trimmedOutput(written) : std::string();
}

// Settles the commit whose private index is `index` (its program gone, its
// git done).
void settle(const GitExecutor& executor, const std::string& repository, const std::string& gitDirectory,
            const std::string& index, std::stop_token stop) {
    const std::string lock = gitDirectory + "/index.lock";
    const std::string readyLink = index + std::string(readyMark);
    if (sameFile(lock, index + std::string(lockMark))) {
        bool made = false;
        if (sameFile(lock, readyLink) && fs::exists(index)) {
            const std::string tree = treeOf(executor, repository, index, stop);
            made = !tree.empty() && tree == treeOf(executor, repository, std::nullopt, stop);
        }
        if (made) {
            std::error_code error;
            fs::rename(lock, gitDirectory + "/index", error);
        } else {
            removeQuietly(lock);
        }
    }
    for (std::string_view suffix : {std::string_view(), lockMark, readyMark, nextSuffix}) {
        removeQuietly(index + std::string(suffix));
    }
}

}  // namespace

CommitIndex::CommitIndex(const GitExecutor& executor, const std::string& repository,
                         const std::optional<std::string>& head, std::stop_token stop)
    : executor_(executor), repository_(repository), head_(head) {
    const std::string gitDirectory =
        write::trimmedOutput(executor.run({"rev-parse", "--absolute-git-dir"}, repository, stop));
    realIndex_ = gitDirectory + "/index";
    path_ = privateIndexPath(gitDirectory);
    const std::string lock = realIndex_ + ".lock";
    lock_ = takeLock(lock);
    if (lock_ < 0) {
        const int error = errno;
        throw core::GitError::commandFailed("git commit", 128, lockRefusal(lock, error));
    }
    // Where the file system has no hard links there are no marks: the commit
    // goes on, and a program stopped during it leaves its lock as git would.
    ::link(lock.c_str(), (path_ + std::string(lockMark)).c_str());
    try {
        build(head, stop);
    } catch (...) {
        release();
        removeQuietly(path_);
        throw;
    }
}

void CommitIndex::build(const std::optional<std::string>& head, std::stop_token stop) {
    GitExecutor::Options options = write::writing();
    options.environment = environment();
    if (!head) {
        executor_.run({"read-tree", "--empty"}, repository_, options, stop);
        return;
    }
    // A copy of the user's index, then HEAD's tree read over it: entries that
    // match HEAD keep their stat data, the rest (and any unmerged entry)
    // become HEAD's.
    std::error_code error;
    fs::copy_file(realIndex_, path_, fs::copy_options::overwrite_existing, error);
    // The copy keeps the index's own modification time: git trusts an entry's
    // stat data only when the file changed before the index was written, so a
    // newer copy would hide a file rewritten with the same size in the same
    // moment as the index ("racily clean") and commit its old content.
    if (!error) {
        const auto written = fs::last_write_time(realIndex_, error);
        if (!error) fs::last_write_time(path_, written, error);
    }
    GitExecutor::Options tolerant = options;
    tolerant.allowedExitCodes = {0, 128};
    if (executor_.run({"read-tree", "--reset", *head}, repository_, tolerant, stop).exitCode != 0) {
        fs::remove(path_, error);
        executor_.run({"read-tree", *head}, repository_, options, stop);
    }
}

CommitIndex::~CommitIndex() {
    release();
    for (std::string_view suffix : {std::string_view(), std::string_view(".lock"), nextSuffix}) {
        removeQuietly(path_ + std::string(suffix));
    }
    removeQuietly(path_ + std::string(nextSuffix) + ".lock");
}

void CommitIndex::release() noexcept {
    if (lock_ < 0) return;
    // The lock goes first: marks without it are never taken for a lock.
    ::close(lock_);
    lock_ = -1;
    ::unlink((realIndex_ + ".lock").c_str());
    removeQuietly(path_ + std::string(lockMark));
    removeQuietly(path_ + std::string(readyMark));
}

std::map<std::string, std::string> CommitIndex::environment() const { return {{"GIT_INDEX_FILE", path_}}; }

void CommitIndex::prepare(const std::function<bool(const std::string&)>& committed, std::stop_token stop) {
    const std::string base =
        head_ ? *head_
              : write::trimmedOutput(executor_.run({"hash-object", "-t", "tree", "/dev/null"}, repository_, stop));
    auto raw = executor_.run({"diff-index", "--cached", "-z", "--no-renames", "--raw", base}, repository_, stop);

    // A mode of 0 removes the path; the id (zeros) has the repository's length.
    const std::string removal = "0 " + std::string(base.size(), '0') + "\t";
    overlay_.clear();
    std::set<std::string_view> unmerged;
    for (const auto& difference : parseDifferences(raw.stdoutBytes())) {
        if (committed(std::string(difference.path))) continue;
        if (difference.status == 'U') {
            unmerged.insert(difference.path);
        } else if (difference.status == 'D') {
            (overlay_ += removal).append(difference.path) += '\0';
        } else {
            ((((overlay_ += difference.mode) += ' ') += difference.object) += '\t').append(difference.path) += '\0';
        }
    }
    if (!unmerged.empty()) overlay_ += unmergedEntries(executor_, repository_, unmerged, removal, stop);

    // What the user's index becomes, in the lock, marked ready: put in place
    // at the next opening should the program stop before `publish`.
    std::string source = path_;
    if (!overlay_.empty()) {
        source = path_ + std::string(nextSuffix);
        std::error_code error;
        fs::copy_file(path_, source, fs::copy_options::overwrite_existing, error);
        const auto written = fs::last_write_time(path_, error);
        if (!error) fs::last_write_time(source, written, error);
        layOver(executor_, repository_, source, overlay_, stop);
    }
    const bool copied = copyInto(lock_, source);
    if (source != path_) removeQuietly(source);
    if (copied) ::link((realIndex_ + ".lock").c_str(), (path_ + std::string(readyMark)).c_str());
}

void CommitIndex::publish(std::stop_token stop) {
    layOver(executor_, repository_, path_, overlay_, stop);
    std::error_code error;
    fs::rename(path_, realIndex_, error);
    if (error) {
        throw core::GitError::commandFailed("git commit", 128,
                                            "Unable to replace '" + realIndex_ + "': " + error.message());
    }
    release();
}

void CommitIndex::settleLeftovers(const GitExecutor& executor, const std::string& repository,
                                  const std::string& gitDirectory, std::stop_token stop) {
    std::set<std::string> indexes;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(gitDirectory, error)) {
        std::string name = entry.path().filename().string();
        if (!name.starts_with(namePrefix)) continue;
        for (std::string_view suffix : {lockMark, readyMark, nextSuffix, std::string_view(".lock")}) {
            if (name.ends_with(suffix)) {
                name.resize(name.size() - suffix.size());
                break;
            }
        }
        indexes.insert(gitDirectory + "/" + name);
    }
    for (const auto& index : indexes) {
        // "<prefix><pid>.<start>-<n>"; an earlier form without the start has
        // no marks, and only its files go.
        const std::string_view name = std::string_view(index).substr(gitDirectory.size() + 1 + namePrefix.size());
        const std::string_view stamp = name.substr(0, name.rfind('-'));
        if (stampRuns(stamp) || fs::exists(index + ".lock")) continue;
        try {
            settle(executor, repository, gitDirectory, index, stop);
        } catch (...) {
        }
    }
}

}  // namespace tarv::engine
