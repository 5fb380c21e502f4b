#include "TarvEngine/Commands/CommitIndex.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
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

// How long `publish` waits for another git process to release the user's
// index: git holds that lock for the moment it takes to write the file.
constexpr auto lockPatience = 5s;
constexpr auto lockPoll = 20ms;

std::string privateIndexPath(const std::string& gitDirectory) {
    static std::atomic<unsigned> counter{0};
    return gitDirectory + "/tarv-commit-index-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

// The user's index lock, held from construction to destruction; none when
// another process keeps it past `lockPatience`.
class IndexLock {
public:
    explicit IndexLock(std::string path) : path_(std::move(path)) {
        const auto giveUp = std::chrono::steady_clock::now() + lockPatience;
        for (;;) {
            fd_ = ::open(path_.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
            if (fd_ >= 0 || errno != EEXIST || std::chrono::steady_clock::now() >= giveUp) return;
            std::this_thread::sleep_for(lockPoll);
        }
    }
    ~IndexLock() {
        if (fd_ < 0) return;
        ::close(fd_);
        ::unlink(path_.c_str());
    }
    IndexLock(const IndexLock&) = delete;
    IndexLock& operator=(const IndexLock&) = delete;

    bool held() const { return fd_ >= 0; }

private:
    std::string path_;
    int fd_ = -1;
};

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

}  // namespace

CommitIndex::CommitIndex(const GitExecutor& executor, const std::string& repository,
                         const std::optional<std::string>& head, std::stop_token stop)
    : executor_(executor), repository_(repository), head_(head) {
    const std::string gitDirectory =
        write::trimmedOutput(executor.run({"rev-parse", "--absolute-git-dir"}, repository, stop));
    realIndex_ = gitDirectory + "/index";
    path_ = privateIndexPath(gitDirectory);
    GitExecutor::Options options = write::writing();
    options.environment = environment();
    if (!head) {
        executor.run({"read-tree", "--empty"}, repository, options, stop);
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
    if (executor.run({"read-tree", "--reset", *head}, repository, tolerant, stop).exitCode != 0) {
        fs::remove(path_, error);
        executor.run({"read-tree", *head}, repository, options, stop);
    }
}

CommitIndex::~CommitIndex() {
    std::error_code error;
    fs::remove(path_, error);
    fs::remove(path_ + ".lock", error);
}

std::map<std::string, std::string> CommitIndex::environment() const { return {{"GIT_INDEX_FILE", path_}}; }

void CommitIndex::publish(const std::function<bool(const std::string&)>& committed, std::stop_token stop) {
    IndexLock lock(realIndex_ + ".lock");
    if (!lock.held()) {
        throw core::GitError::commandFailed(
            "git commit", 128,
            "Unable to create '" + realIndex_ + ".lock': File exists. The commit was made; the index stays as it "
            "was until the other git process ends (or the stale lock file is removed).");
    }
    const std::string base =
        head_ ? *head_
              : write::trimmedOutput(executor_.run({"hash-object", "-t", "tree", "/dev/null"}, repository_, stop));
    auto raw = executor_.run({"diff-index", "--cached", "-z", "--no-renames", "--raw", base}, repository_, stop);

    // A mode of 0 removes the path; the id (zeros) has the repository's length.
    const std::string removal = "0 " + std::string(base.size(), '0') + "\t";
    std::string overlay;
    std::set<std::string_view> unmerged;
    for (const auto& difference : parseDifferences(raw.stdoutBytes())) {
        if (committed(std::string(difference.path))) continue;
        if (difference.status == 'U') {
            unmerged.insert(difference.path);
        } else if (difference.status == 'D') {
            (overlay += removal).append(difference.path) += '\0';
        } else {
            ((((overlay += difference.mode) += ' ') += difference.object) += '\t').append(difference.path) += '\0';
        }
    }
    if (!unmerged.empty()) overlay += unmergedEntries(executor_, repository_, unmerged, removal, stop);
    if (!overlay.empty()) {
        GitExecutor::Options options = write::writing();
        options.environment = environment();
        options.stdin = core::toBytes(overlay);
        executor_.run({"update-index", "-z", "--index-info"}, repository_, options, stop);
    }
    std::error_code error;
    fs::rename(path_, realIndex_, error);
    if (error) {
        throw core::GitError::commandFailed("git commit", 128,
                                            "Unable to replace '" + realIndex_ + "': " + error.message());
    }
}

}  // namespace tarv::engine
