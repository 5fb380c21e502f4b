#include "TarvSystem/FileWatching/InotifyWatcher.hpp"

#include "Support/TempGitRepo.hpp"
#include "TarvSystemTests/FileSystem/ScratchFolder.hpp"

#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

namespace tarv::system {
namespace {

using namespace std::chrono_literals;
using Steady = std::chrono::steady_clock;
using testing::ScratchFolder;

TEST(InotifyWatcherRelevance, OnlyHeadIndexAndReferencesCountInsideTheGitDirectory) {
    struct Case {
        const char* path;
        bool relevant;
    };
    const Case cases[] = {
        {"/repo/src/main.c", true},
        {"/repo/.gitignore", true},
        {"/repo/.github/workflows/ci.yml", true},
        {"/repo", true},
        {"/repo/.git/HEAD", true},
        {"/repo/.git/index", true},
        {"/repo/.git/refs/heads/main", true},
        {"/repo/.git/refs/remotes/origin/feature/x", true},
        {"/repo/.git/index.lock", false},
        {"/repo/.git/HEAD.lock", false},
        {"/repo/.git/refs/heads/main.lock", false},
        {"/repo/.git/objects/ab/cdef", false},
        {"/repo/.git/logs/HEAD", false},
        {"/repo/.git/ORIG_HEAD", false},
        {"/repo/.git/FETCH_HEAD", false},
        {"/repo/.git/packed-refs", false},
        {"/repo/.git/refs", false},
        {"/repo/.git", false},
        {"/repo/vendor/lib/.git/HEAD", true},  // the first git directory on the path decides
        {"/repo/.git/modules/sub/HEAD", false},
    };
    for (const Case& c : cases) EXPECT_EQ(InotifyWatcher::isRelevant(c.path), c.relevant) << c.path;
}

// Folders whose events can never be relevant are not watched at all.
TEST(InotifyWatcherRelevance, OnlyFoldersThatCanHoldRelevantPathsAreWatched) {
    struct Case {
        const char* path;
        bool watched;
    };
    const Case cases[] = {
        {"/repo", true},           {"/repo/src", true},           {"/repo/.git", true},
        {"/repo/.git/refs", true}, {"/repo/.git/refs/heads", true}, {"/repo/.git/objects", false},
        {"/repo/.git/objects/ab", false}, {"/repo/.git/logs", false}, {"/repo/.git/refsx", false},
        {"/repo/.git/hooks", false},
    };
    for (const Case& c : cases) EXPECT_EQ(InotifyWatcher::isWorthWatching(c.path), c.watched) << c.path;
}

// Consumes a change stream on its own thread and notes when each element
// arrived.
class Recorder {
public:
    explicit Recorder(std::shared_ptr<core::FileWatching::ChangeStream> stream) : stream_(std::move(stream)) {
        thread_ = std::thread([this] {
            while (stream_->next(stop_.get_token())) {
                std::lock_guard lock(mutex_);
                arrivals_.push_back(Steady::now());
                changed_.notify_all();
            }
        });
    }
    ~Recorder() { stop(); }

    // Waits (at most `limit`) until `count` elements have arrived.
    bool waitFor(std::size_t count, std::chrono::milliseconds limit = 5s) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return arrivals_.size() >= count; });
    }

    std::vector<Steady::time_point> arrivals() {
        std::lock_guard lock(mutex_);
        return arrivals_;
    }

    // Cancels the consumer; returns once the stream has ended.
    void stop() {
        stop_.request_stop();
        if (thread_.joinable()) thread_.join();
    }

private:
    std::shared_ptr<core::FileWatching::ChangeStream> stream_;
    std::stop_source stop_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Steady::time_point> arrivals_;
    std::thread thread_;
};

std::size_t openDescriptorCount() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
    return count;
}

TEST(InotifyWatcher, AWriteIsReportedAndNewFoldersAreWatchedAsTheyAppear) {
    ScratchFolder scratch;
    scratch.write("existing/deep/file", "x");
    Recorder recorder(InotifyWatcher().changes(scratch.path()));

    scratch.write("existing/deep/file", "changed");
    ASSERT_TRUE(recorder.waitFor(1));

    // A folder made after the start (with folders inside it at once) is
    // watched, and so is a folder moved in from elsewhere.
    std::filesystem::create_directories(scratch / "made/later/inside");
    ASSERT_TRUE(recorder.waitFor(2));
    scratch.write("made/later/inside/file", "x");
    ASSERT_TRUE(recorder.waitFor(3));

    ScratchFolder elsewhere;
    elsewhere.write("moved/sub/file", "x");
    std::filesystem::rename(elsewhere / "moved", scratch / "moved");
    ASSERT_TRUE(recorder.waitFor(4));
    scratch.write("moved/sub/file", "changed");
    EXPECT_TRUE(recorder.waitFor(5));
}

TEST(InotifyWatcher, ChangesOnlyInsideTheObjectDatabaseReportNothing) {
    ScratchFolder scratch;
    scratch.write(".git/objects/ab/existing", "x");
    scratch.write(".git/HEAD", "ref: refs/heads/main\n");
    Recorder recorder(InotifyWatcher().changes(scratch.path()));

    scratch.write(".git/objects/ab/cdef", "object");
    scratch.write(".git/objects/cd/new", "object");
    scratch.write(".git/logs/HEAD", "log");
    scratch.write(".git/index.lock", "lock");
    scratch.write(".git/ORIG_HEAD", "x");
    std::this_thread::sleep_for(400ms);
    const auto relevantWrite = Steady::now();
    scratch.write("tracked.txt", "x");
    ASSERT_TRUE(recorder.waitFor(1));
    for (const auto arrival : recorder.arrivals()) EXPECT_GE(arrival, relevantWrite);
}

TEST(InotifyWatcher, TheWatchedFolderMayBeGivenThroughALink) {
    ScratchFolder scratch;
    ScratchFolder links;
    std::filesystem::create_directory_symlink(scratch.path(), links / "repository");
    Recorder recorder(InotifyWatcher().changes(links / "repository"));
    scratch.write("file", "x");
    EXPECT_TRUE(recorder.waitFor(1));
}

TEST(InotifyWatcher, SymbolicLinksAreNotFollowed) {
    ScratchFolder scratch;
    ScratchFolder outside;
    outside.write("file", "x");
    std::filesystem::create_directory_symlink(outside.path(), scratch / "link");
    Recorder recorder(InotifyWatcher().changes(scratch.path()));

    outside.write("file", "changed");
    outside.write("new", "x");
    std::this_thread::sleep_for(400ms);
    const auto relevantWrite = Steady::now();
    scratch.write("inside", "x");
    ASSERT_TRUE(recorder.waitFor(1));
    for (const auto arrival : recorder.arrivals()) EXPECT_GE(arrival, relevantWrite);
}

// The first change after a quiet period comes at once; changes right after
// it are merged into one element that comes when the latency has passed.
TEST(InotifyWatcher, TheFirstChangeComesAtOnceAndLaterOnesAreMerged) {
    ScratchFolder scratch;
    const auto latency = 1500ms;
    Recorder recorder(InotifyWatcher(InotifyWatcher::Options{latency, std::nullopt}).changes(scratch.path()));

    const auto firstWrite = Steady::now();
    scratch.write("a", "1");
    ASSERT_TRUE(recorder.waitFor(1));
    EXPECT_LT(recorder.arrivals()[0] - firstWrite, latency);

    for (int i = 0; i < 20; ++i) scratch.write("b" + std::to_string(i), "x");
    ASSERT_TRUE(recorder.waitFor(2));
    const auto arrivals = recorder.arrivals();
    EXPECT_GE(arrivals[1] - arrivals[0], latency - 50ms);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(recorder.arrivals().size(), 2u);
}

TEST(InotifyWatcher, ManyChangesWithASlowConsumerLeaveOneElement) {
    ScratchFolder scratch;
    auto stream = InotifyWatcher().changes(scratch.path());
    for (int i = 0; i < 1000; ++i) scratch.write("file" + std::to_string(i % 10), std::to_string(i));
    std::this_thread::sleep_for(1s);  // the watcher has long caught up

    std::stop_source stop;
    EXPECT_TRUE(stream->next(stop.get_token()).has_value());
    std::thread canceller([&] {
        std::this_thread::sleep_for(300ms);
        stop.request_stop();
    });
    EXPECT_FALSE(stream->next(stop.get_token()).has_value());
    canceller.join();
}

TEST(InotifyWatcher, CancellingTheConsumerEndsTheStreamAndClosesItsDescriptors) {
    ScratchFolder scratch;
    scratch.write("sub/file", "x");
    const std::size_t before = openDescriptorCount();
    auto stream = InotifyWatcher().changes(scratch.path());
    EXPECT_GT(openDescriptorCount(), before);

    std::stop_source stop;
    std::thread canceller([&] {
        std::this_thread::sleep_for(100ms);
        stop.request_stop();
    });
    EXPECT_FALSE(stream->next(stop.get_token()).has_value());
    canceller.join();
    EXPECT_EQ(openDescriptorCount(), before);
    EXPECT_TRUE(stream->isTerminated());
    scratch.write("sub/file", "after");
    EXPECT_FALSE(stream->next(std::stop_token()).has_value());

    // Dropping a stream without cancelling it ends its watch as well.
    InotifyWatcher().changes(scratch.path()).reset();
    EXPECT_EQ(openDescriptorCount(), before);
}

TEST(InotifyWatcher, AFolderThatCannotBeWatchedGivesASilentStream) {
    ScratchFolder scratch;
    const std::size_t before = openDescriptorCount();
    Recorder recorder(InotifyWatcher().changes(scratch / "missing"));
    scratch.write("missing", "a file where the folder was expected");
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(recorder.arrivals().empty());
    recorder.stop();
    EXPECT_EQ(openDescriptorCount(), before);
}

// At the watch limit the rest of the tree goes unwatched, quietly: what is
// watched still reports.
TEST(InotifyWatcher, TheWatchLimitDegradesQuietly) {
    ScratchFolder scratch;
    for (int i = 0; i < 5; ++i) scratch.write("folder" + std::to_string(i) + "/file", "x");
    Recorder recorder(InotifyWatcher(InotifyWatcher::Options{150ms, 2}).changes(scratch.path()));
    scratch.write("top-level", "x");
    EXPECT_TRUE(recorder.waitFor(1));
}

TEST(InotifyWatcher, ACommitIsReportedAndReadsAreNot) {
    tarv::testing::TempGitRepo repo;
    repo.writeFile("file.txt", "one\n");
    repo.commitAll("first");
    repo.writeFile("file.txt", "two\n");
    repo.git({"add", "file.txt"});
    Recorder recorder(InotifyWatcher().changes(repo.path()));

    // Reading the repository as the status refresh does must not feed back.
    auto environment = repo.environment();
    environment["GIT_OPTIONAL_LOCKS"] = "0";
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"status", "--porcelain=v2", "-z"}, {"log", "-5"}, {"diff", "HEAD"}, {"branch", "-a"}}) {
        EXPECT_EQ(tarv::testing::runProgram("git", arguments, repo.path(), environment).exitCode, 0);
    }
    std::this_thread::sleep_for(400ms);
    EXPECT_TRUE(recorder.arrivals().empty());

    repo.commit("second");
    EXPECT_TRUE(recorder.waitFor(1));
}

}  // namespace
}  // namespace tarv::system
