// The start folder's root and status read ahead: which requests they
// answer, waiting for a read that still runs, and how the reads end.
#include "TarvEngine/Service/StartReadAhead.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "Support/RepoClientSync.hpp"
#include "Support/TempGitRepo.hpp"
#include "TarvCore/Concurrency/CancellationError.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvEngineTests/Service/RepositoryClientFixture.hpp"

namespace tarv::engine {
namespace {

using namespace std::chrono_literals;
using Clock = StartReadAhead::Clock;
using tarv::testing::Gate;
const std::stop_token none;

core::WorkingTreeStatus statusWith(const std::string& path) {
    core::WorkingTreeStatus status;
    status.files.push_back(core::FileChange{path, std::nullopt, core::ChangeKind::untracked, false, true});
    return status;
}

// Readers that record what they were asked for and answer as told.
struct Reads {
    std::function<std::optional<std::string>(const std::string&)> root = [](const std::string&) {
        return std::optional<std::string>("/repo");
    };
    std::function<core::WorkingTreeStatus(const std::string&)> status = [](const std::string&) {
        return statusWith("ahead.txt");
    };
    // Holds the status reads of `gatedRepository` (of every repository when
    // empty).
    Gate* statusGate = nullptr;
    std::string gatedRepository;
    // Whether the start folder holds a repository of its own.
    bool holdsRepository = false;

    std::mutex mutex;
    std::vector<std::string> rootsRead;
    std::vector<std::string> statusesRead;
    Clock::time_point now{};

    std::unique_ptr<StartReadAhead> start(const std::string& directory) {
        return std::make_unique<StartReadAhead>(
            directory,
            [this](const std::string& path, std::stop_token) {
                {
                    std::lock_guard lock(mutex);
                    rootsRead.push_back(path);
                }
                return root(path);
            },
            [this](const std::string& repository, std::stop_token stop) {
                {
                    std::lock_guard lock(mutex);
                    statusesRead.push_back(repository);
                }
                if (statusGate && (gatedRepository.empty() || repository == gatedRepository)) statusGate->pass(stop);
                return status(repository);
            },
            [this](const std::string&) { return holdsRepository; }, 1000ms, [this] {
                std::lock_guard lock(mutex);
                return now;
            });
    }
    void advance(std::chrono::milliseconds by) {
        std::lock_guard lock(mutex);
        now += by;
    }
};

TEST(StartReadAhead, TheFirstRootAndStatusRequestsTakeOneReadEach) {
    Reads reads;
    auto ahead = reads.start("/repo/sub");
    EXPECT_EQ(ahead->takeRoot("/repo/sub", none), std::optional<std::optional<std::string>>("/repo"));
    EXPECT_EQ(ahead->takeStatus("/repo", none), statusWith("ahead.txt"));
    ahead.reset();
    EXPECT_EQ(reads.rootsRead, std::vector<std::string>{"/repo/sub"});
    EXPECT_EQ(reads.statusesRead, std::vector<std::string>{"/repo"});
}

TEST(StartReadAhead, AFolderHoldingItsRepositoryHasItsStatusReadBesideItsRoot) {
    Gate gate;
    gate.open();
    Reads reads;
    reads.holdsRepository = true;
    reads.statusGate = &gate;
    // The root answers only once the status is being read.
    reads.root = [&gate](const std::string&) {
        return gate.awaitArrival() ? std::optional<std::string>("/repo") : std::nullopt;
    };
    auto ahead = reads.start("/repo");
    EXPECT_EQ(ahead->takeRoot("/repo", none), std::optional<std::optional<std::string>>("/repo"));
    EXPECT_EQ(ahead->takeStatus("/repo", none), statusWith("ahead.txt"));
    ahead.reset();
    EXPECT_EQ(reads.statusesRead, std::vector<std::string>{"/repo"});
}

TEST(StartReadAhead, AFolderInsideItsRepositoryHasItsGuessStoppedAndTheRootsStatusRead) {
    Gate gate;  // never opened: the folder's own status runs until stopped
    Reads reads;
    reads.holdsRepository = true;
    reads.statusGate = &gate;
    reads.gatedRepository = "/repo/sub";
    reads.root = [&gate](const std::string&) {
        return gate.awaitArrival() ? std::optional<std::string>("/repo") : std::nullopt;
    };
    reads.status = [](const std::string& repository) { return statusWith(repository); };
    auto ahead = reads.start("/repo/sub");
    EXPECT_EQ(ahead->takeStatus("/repo", none), statusWith("/repo"));
    ahead.reset();
    EXPECT_TRUE(gate.stopped());
    EXPECT_EQ(reads.statusesRead, (std::vector<std::string>{"/repo/sub", "/repo"}));
}

TEST(StartReadAhead, AFolderOutsideAnyRepositoryIsAnsweredAndNoStatusIsRead) {
    Reads reads;
    reads.root = [](const std::string&) { return std::optional<std::string>(); };
    auto ahead = reads.start("/elsewhere");
    EXPECT_EQ(ahead->takeRoot("/elsewhere", none), std::make_optional(std::optional<std::string>()));
    EXPECT_EQ(ahead->takeStatus("/elsewhere", none), std::nullopt);
    ahead.reset();
    EXPECT_TRUE(reads.statusesRead.empty());
}

// Requests the read-ahead leaves to the caller, who then reads as usual.
TEST(StartReadAhead, LeavesOtherRequestsToTheCaller) {
    struct Case {
        const char* name;
        std::function<void(Reads&)> setUp;
        // Runs earlier requests, then returns whether the last one was
        // answered from the read-ahead.
        std::function<bool(StartReadAhead&, Reads&)> requests;
    };
    const auto failing = [](Reads& reads) {
        reads.root = [](const std::string&) -> std::optional<std::string> {
            throw core::GitError::commandFailed("git rev-parse --show-toplevel", 1, "broken");
        };
    };
    const std::vector<Case> cases{
        {"the root of another folder", {},
         [](StartReadAhead& ahead, Reads&) { return ahead.takeRoot("/other", none).has_value(); }},
        {"the root asked again", {},
         [](StartReadAhead& ahead, Reads&) {
             (void)ahead.takeRoot("/repo/sub", none);
             return ahead.takeRoot("/repo/sub", none).has_value();
         }},
        {"the status of another repository", {},
         [](StartReadAhead& ahead, Reads&) { return ahead.takeStatus("/repo/sub", none).has_value(); }},
        {"the status asked again", {},
         [](StartReadAhead& ahead, Reads&) {
             (void)ahead.takeStatus("/repo", none);
             return ahead.takeStatus("/repo", none).has_value();
         }},
        {"a status asked for too long after its read began", {},
         [](StartReadAhead& ahead, Reads& reads) {
             (void)ahead.takeRoot("/repo/sub", none);
             reads.advance(1001ms);
             return ahead.takeStatus("/repo", none).has_value();
         }},
        {"the root of a failed read", failing,
         [](StartReadAhead& ahead, Reads&) { return ahead.takeRoot("/repo/sub", none).has_value(); }},
        {"the status after the root's read failed", failing,
         [](StartReadAhead& ahead, Reads&) { return ahead.takeStatus("/repo", none).has_value(); }},
        {"the status of a failed read",
         [](Reads& reads) {
             reads.status = [](const std::string&) -> core::WorkingTreeStatus {
                 throw core::GitError::commandFailed("git status", 128, "index locked");
             };
         },
         [](StartReadAhead& ahead, Reads&) { return ahead.takeStatus("/repo", none).has_value(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reads reads;
        if (c.setUp) c.setUp(reads);
        auto ahead = reads.start("/repo/sub");
        EXPECT_FALSE(c.requests(*ahead, reads));
    }
}

TEST(StartReadAhead, AStatusOfAnotherRepositoryLeavesTheReadForTheRightOne) {
    Reads reads;
    auto ahead = reads.start("/repo");
    EXPECT_EQ(ahead->takeStatus("/other", none), std::nullopt);
    EXPECT_EQ(ahead->takeStatus("/repo", none), statusWith("ahead.txt"));
}

TEST(StartReadAhead, AStatusAskedJustInTimeIsTaken) {
    Reads reads;
    auto ahead = reads.start("/repo");
    (void)ahead->takeRoot("/repo", none);
    reads.advance(1000ms);
    EXPECT_EQ(ahead->takeStatus("/repo", none), statusWith("ahead.txt"));
}

TEST(StartReadAhead, ARequestWaitsForTheReadStillRunning) {
    Gate gate;
    Reads reads;
    reads.statusGate = &gate;
    auto ahead = reads.start("/repo");
    gate.awaitArrival();
    auto taken = std::async(std::launch::async, [&] { return ahead->takeStatus("/repo", none); });
    EXPECT_EQ(taken.wait_for(50ms), std::future_status::timeout);
    gate.open();
    EXPECT_EQ(taken.get(), statusWith("ahead.txt"));
}

TEST(StartReadAhead, ARequestCancelledWhileItWaitsThrowsAndStopsTheRead) {
    Gate gate;
    Reads reads;
    reads.statusGate = &gate;
    auto ahead = reads.start("/repo");
    gate.awaitArrival();
    std::stop_source cancel;
    auto taken = std::async(std::launch::async, [&] { return ahead->takeStatus("/repo", cancel.get_token()); });
    EXPECT_EQ(taken.wait_for(20ms), std::future_status::timeout);
    cancel.request_stop();
    EXPECT_THROW(taken.get(), core::CancellationError);
    ahead.reset();  // joins the reading thread
    EXPECT_TRUE(gate.stopped());
}

TEST(StartReadAhead, StoppingOrDestroyingEndsARunningRead) {
    for (const bool explicitStop : {true, false}) {
        SCOPED_TRACE(explicitStop ? "stop" : "destruction");
        Gate gate;
        Reads reads;
        reads.statusGate = &gate;
        auto ahead = reads.start("/repo");
        gate.awaitArrival();
        if (explicitStop) {
            ahead->stop();
            // The request that comes afterwards reads for itself.
            EXPECT_EQ(ahead->takeStatus("/repo", none), std::nullopt);
        }
        ahead.reset();
        EXPECT_TRUE(gate.stopped());
    }
}

// The live runner, counting the status commands it runs.
class StatusCountingRunner final : public core::ProcessRunning {
public:
    core::ProcessResult run(const core::ProcessSpec& spec, std::stop_token stop) override {
        if (std::find(spec.arguments.begin(), spec.arguments.end(), "status") != spec.arguments.end()) ++statuses;
        return real_.run(spec, stop);
    }
    std::atomic<int> statuses{0};

private:
    system::PosixProcessRunner real_;
};

TEST(StartReadAhead, TheLiveClientAnswersTheStartFolderWithOneStatusLikeAPlainRead) {
    tarv::testing::TempGitRepo repo;
    repo.writeFile("sub/tracked.txt", "one\n");
    repo.commitAll("First");
    repo.writeFile("sub/tracked.txt", "two\n");
    repo.writeFile("sub/new file.txt", "new\n");
    const auto plain = testing::liveClient(repo)->status(repo.path(), none);

    // Started at the root (whose status is read beside the root) and in a
    // folder below it.
    for (const std::string& start : {repo.path(), repo.path() + "/sub"}) {
        SCOPED_TRACE(start);
        auto runner = std::make_shared<StatusCountingRunner>();
        auto client = testing::liveClient(repo, runner);
        client->readAhead(start);
        EXPECT_EQ(client->repositoryRoot(start, none), repo.path());
        EXPECT_EQ(client->status(repo.path(), none), plain);
        EXPECT_EQ(runner->statuses.load(), 1);
        // Later reads are the client's own again.
        EXPECT_EQ(client->status(repo.path(), none), plain);
        EXPECT_EQ(runner->statuses.load(), 2);
    }
}

}  // namespace
}  // namespace tarv::engine
