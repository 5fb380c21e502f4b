// History pages read from a kept-open git log, checked page by page against
// the plain `--max-count`/`--skip` read of the same moment, on real git.
#include "TarvEngine/Service/HistoryStreams.hpp"

#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Support/ProcessTestUtil.hpp"
#include "Support/TempGitRepo.hpp"
#include "TarvCore/Errors/ProcessError.hpp"
#include "TarvCore/Ports/ProcessStreaming.hpp"
#include "TarvEngine/Commands/GitReadCommands.hpp"
#include "TarvEngine/Parsers/LogParser.hpp"
#include "TarvEngineTests/Service/RepositoryClientFixture.hpp"

namespace tarv::engine {
namespace {

using namespace std::chrono_literals;
using tarv::testing::TempGitRepo;
using Commits = std::vector<core::Commit>;
using Paths = std::vector<std::string>;
const std::stop_token none;

// The live runner, counting the streams it starts and the plain log runs;
// its streams honour a stop request at every read (as a stream may), and
// can be told to stop their reader after some reads.
class CountingRunner final : public core::ProcessRunning, public core::ProcessStreaming {
public:
    core::ProcessResult run(const core::ProcessSpec& spec, std::stop_token stop) override {
        if (isLog(spec)) ++plainLogs;
        return real_.run(spec, stop);
    }
    std::unique_ptr<core::ProcessStream> start(const core::ProcessSpec& spec) override {
        ++streams;
        return std::make_unique<Stream>(real_.start(spec), *this);
    }

    std::atomic<int> streams{0};
    std::atomic<int> plainLogs{0};
    // When set, requested after this many further reads of any stream.
    std::stop_source* stopAfterReads = nullptr;
    int readsLeft = 0;

private:
    struct Stream final : core::ProcessStream {
        Stream(std::unique_ptr<core::ProcessStream> real, CountingRunner& runner)
            : real(std::move(real)), runner(runner) {}
        std::size_t read(std::span<std::uint8_t> buffer, std::stop_token stop) override {
            if (stop.stop_requested()) throw core::ProcessError::cancelled();
            const std::size_t count = real->read(buffer, stop);
            if (runner.stopAfterReads && --runner.readsLeft <= 0) runner.stopAfterReads->request_stop();
            return count;
        }
        core::ProcessResult finish(std::stop_token stop) override { return real->finish(stop); }
        std::unique_ptr<core::ProcessStream> real;
        CountingRunner& runner;
    };
    static bool isLog(const core::ProcessSpec& spec) {
        return std::find(spec.arguments.begin(), spec.arguments.end(), "log") != spec.arguments.end();
    }
    system::PosixProcessRunner real_;
};

// The children of this process that run git (zombies included).
std::vector<pid_t> gitChildren() {
    std::vector<pid_t> children;
    DIR* proc = ::opendir("/proc");
    while (const dirent* entry = proc ? ::readdir(proc) : nullptr) {
        const pid_t pid = std::atoi(entry->d_name);
        if (pid <= 0) continue;
        const std::string stat = tarv::testing::processReadFile("/proc/" + std::to_string(pid) + "/stat");
        const auto open = stat.find('('), close = stat.rfind(')');
        if (open == std::string::npos || close == std::string::npos) continue;
        int parent = 0;
        char state = 0;
        if (std::sscanf(stat.c_str() + close + 1, " %c %d", &state, &parent) != 2) continue;
        if (parent == ::getpid() && stat.substr(open + 1, close - open - 1) == "git") children.push_back(pid);
    }
    if (proc) ::closedir(proc);
    return children;
}

// A history imported in one go: `count` commits on main, each writing
// `main.txt` and every third also `a.txt`; every tenth a merge of a side
// branch of three commits (writing `side.txt`) whose dates fall between
// main's, so that git interleaves the two lines.
void importHistory(TempGitRepo& repo, int count, bool merges = true) {
    std::string stream;
    auto data = [&](const std::string& text) { stream += "data " + std::to_string(text.size()) + "\n" + text + "\n"; };
    auto header = [&](const std::string& ref, int mark, long date, const std::string& message) {
        stream += "commit " + ref + "\nmark :" + std::to_string(mark) + "\n";
        stream += "author A U Thor <author@example.com> " + std::to_string(date) + " +0000\n";
        stream += "committer A U Thor <author@example.com> " + std::to_string(date) + " +0000\n";
        data(message);
    };
    int mark = 0;
    int mainTip = 0;
    for (int i = 1; i <= count; ++i) {
        const long date = 1600000000L + i * 100;
        int sideTip = 0;
        if (merges && i % 10 == 0 && mainTip > 0) {
            int from = mainTip;
            for (int s = 0; s < 3; ++s) {
                header("refs/heads/side", ++mark, date - 250 + s * 100, "side " + std::to_string(i) + "." +
                                                                          std::to_string(s));
                stream += "from :" + std::to_string(from) + "\n";
                stream += "M 100644 inline side.txt\n";
                data("side " + std::to_string(i) + "." + std::to_string(s));
                from = mark;
            }
            sideTip = mark;
        }
        header("refs/heads/main", ++mark, date, (sideTip ? "merge " : "change ") + std::to_string(i));
        if (mainTip > 0) stream += "from :" + std::to_string(mainTip) + "\n";
        if (sideTip) stream += "merge :" + std::to_string(sideTip) + "\n";
        stream += "M 100644 inline main.txt\n";
        data("main " + std::to_string(i));
        if (i % 3 == 0) {
            stream += "M 100644 inline a.txt\n";
            data("a " + std::to_string(i));
        }
        mainTip = mark;
    }
    const auto imported = repo.run({"fast-import", "--quiet"}, std::nullopt, stream);
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    repo.git({"checkout", "-q", "-f", "main"});
}

struct Pager {
    explicit Pager(const TempGitRepo& repo, std::chrono::milliseconds idleLimit = HistoryStreams::defaultIdleLimit)
        : runner(std::make_shared<CountingRunner>()),
          executor(testing::isolatedProvider(repo, runner)->executor(none)),
          files(std::make_shared<system::LocalFileStore>()),
          streams(std::make_unique<HistoryStreams>(files, idleLimit)),
          repository(repo.path()) {}

    Commits page(std::int64_t skip, std::int64_t limit, const Paths& paths = {}, std::stop_token stop = {}) {
        return streams->page(executor, repository, skip, limit, paths, stop);
    }
    // What the plain read gives right now.
    Commits plain(std::int64_t skip, std::int64_t limit, const Paths& paths = {}) {
        auto arguments = GitReadCommands::historyArguments(skip, limit);
        arguments.insert(arguments.end(), paths.begin(), paths.end());
        auto result = executor.run(arguments, repository, {.allowedExitCodes = {0, 128}}, none);
        return result.exitCode == 0 ? LogParser::parse(result.stdoutBytes()) : Commits{};
    }
    // Pages through everything, checking each page against the plain read;
    // returns how many commits there were.
    std::int64_t pageThrough(std::int64_t limit, const Paths& paths = {}) {
        std::int64_t skip = 0;
        for (;;) {
            const Commits got = page(skip, limit, paths);
            EXPECT_EQ(got, plain(skip, limit, paths)) << "page at " << skip << " of " << limit;
            skip += std::int64_t(got.size());
            if (std::int64_t(got.size()) < limit) return skip;
        }
    }

    std::shared_ptr<CountingRunner> runner;
    GitExecutor executor;
    std::shared_ptr<core::FileStore> files;
    std::unique_ptr<HistoryStreams> streams;
    std::string repository;
};

TEST(HistoryStreams, PagesMatchThePlainReadOnAHistoryWithMerges) {
    TempGitRepo repo;
    importHistory(repo, 120);
    for (std::int64_t limit : {1, 7, 50, 1000}) {
        Pager pager(repo);
        const std::int64_t total = pager.pageThrough(limit);
        EXPECT_EQ(total, 120 + 12 * 3) << limit;
        // One git for all the pages, the plain reads of the check aside.
        EXPECT_EQ(pager.runner->streams, 1) << limit;
        EXPECT_EQ(pager.runner->plainLogs, total / limit + 1) << limit;
    }
}

TEST(HistoryStreams, PathLimitedPagesMatchThePlainRead) {
    TempGitRepo repo;
    importHistory(repo, 120);
    for (const Paths& paths : {Paths{"--", "a.txt"}, Paths{"--", "side.txt"}, Paths{"--", "none.txt"}}) {
        Pager pager(repo);
        pager.pageThrough(4, paths);
        EXPECT_EQ(pager.runner->streams, 1) << paths[1];
    }
}

// The history changes between two pages: the second page is still what the
// plain read gives at that moment.
TEST(HistoryStreams, AChangeBetweenTwoPagesNeverShows) {
    struct Case {
        const char* name;
        std::function<void(TempGitRepo&)> change;
    };
    const Case cases[] = {
        {"commit", [](TempGitRepo& repo) { repo.commit("new on top"); }},
        {"branch switch", [](TempGitRepo& repo) { repo.git({"checkout", "-q", "-b", "old", "main~40"}); }},
        {"reset, then refs packed",
         [](TempGitRepo& repo) {
             repo.git({"reset", "-q", "--hard", "main~3"});
             repo.git({"pack-refs", "--all"});
         }},
        {"detached head moved",
         [](TempGitRepo& repo) {
             repo.git({"checkout", "-q", "--detach", "main"});
             repo.git({"checkout", "-q", "--detach", "main~5"});
         }},
        {"replace ref",
         [](TempGitRepo& repo) { repo.git({"replace", repo.revParse("main~2"), repo.revParse("main~30")}); }},
    };
    for (const auto& c : cases) {
        TempGitRepo repo;
        importHistory(repo, 60);
        Pager pager(repo);
        ASSERT_EQ(pager.page(0, 5), pager.plain(0, 5)) << c.name;
        c.change(repo);
        EXPECT_EQ(pager.page(5, 5), pager.plain(5, 5)) << c.name;
        EXPECT_EQ(pager.page(10, 5), pager.plain(10, 5)) << c.name;
    }
}

TEST(HistoryStreams, AFetchBetweenTwoPagesNeverShows) {
    TempGitRepo origin;
    importHistory(origin, 60);
    TempGitRepo repo(TempGitRepo::Start::emptyFolder);
    const std::string clone = repo.path();
    ASSERT_EQ(repo.run({"clone", "-q", "--depth", "8", "--no-local", origin.path(), clone}, repo.root()).exitCode, 0);
    Pager pager(repo);
    ASSERT_EQ(pager.page(0, 3), pager.plain(0, 3));

    // New commits on the remote: the remote-tracking refs move, HEAD stays.
    origin.commit("remote 1");
    origin.commit("remote 2");
    repo.git({"fetch", "-q", "origin"});
    EXPECT_EQ(pager.page(3, 3), pager.plain(3, 3));
    // The shallow history is deepened: older commits appear at its end.
    repo.git({"fetch", "-q", "--deepen", "20", "origin"});
    EXPECT_EQ(pager.page(6, 30), pager.plain(6, 30));
    // A pull brings the remote commits into the branch.
    repo.git({"merge", "-q", "--ff-only", "origin/main"});
    EXPECT_EQ(pager.page(36, 5), pager.plain(36, 5));
    EXPECT_EQ(pager.page(0, 5), pager.plain(0, 5));
}

TEST(HistoryStreams, AJumpStartsAStreamAtItsPageAndPagingGoesOnFromThere) {
    TempGitRepo repo;
    importHistory(repo, 100);
    Pager pager(repo);
    EXPECT_EQ(pager.page(0, 10), pager.plain(0, 10));
    EXPECT_EQ(pager.page(70, 10), pager.plain(70, 10));
    EXPECT_EQ(pager.page(80, 10), pager.plain(80, 10));
    EXPECT_EQ(pager.page(20, 10), pager.plain(20, 10));  // back up
    EXPECT_EQ(pager.page(30, 10), pager.plain(30, 10));
    EXPECT_EQ(pager.page(1000, 10), Commits{});           // beyond the end
    EXPECT_EQ(pager.runner->streams, 4);
}

TEST(HistoryStreams, ACancelledPageLeavesTheStreamUsable) {
    TempGitRepo repo;
    importHistory(repo, 400, false);
    Pager pager(repo);
    ASSERT_EQ(pager.page(0, 10), pager.plain(0, 10));
    const auto children = gitChildren();
    ASSERT_EQ(children.size(), 1u);

    // Stopped before the page and part-way through it (after one read of
    // the 300 commits it needs).
    std::stop_source before;
    before.request_stop();
    std::stop_source partWay;
    pager.runner->stopAfterReads = &partWay;
    pager.runner->readsLeft = 1;
    for (std::stop_token stop : {before.get_token(), partWay.get_token()}) {
        EXPECT_THROW(pager.page(10, 300, {}, stop), core::ProcessError);
        EXPECT_EQ(gitChildren(), children);
    }
    pager.runner->stopAfterReads = nullptr;

    EXPECT_EQ(pager.page(10, 300), pager.plain(10, 300));
    EXPECT_EQ(pager.page(310, 300), pager.plain(310, 300));
    EXPECT_EQ(pager.runner->streams, 1);
}

TEST(HistoryStreams, NoGitIsLeftBehind) {
    TempGitRepo repo;
    importHistory(repo, 400, false);
    TempGitRepo other;
    importHistory(other, 5, false);
    struct Case {
        const char* name;
        std::function<void(Pager&)> end;
        std::chrono::milliseconds idleLimit = HistoryStreams::defaultIdleLimit;
    };
    const Case cases[] = {
        {"repository closed", [&](Pager& pager) { pager.streams->close(repo.path()); }},
        {"all closed", [](Pager& pager) { pager.streams->closeAll(); }},
        {"quit", [](Pager& pager) { pager.streams.reset(); }},
        // That history ends within its page, so its git ends too.
        {"another repository's history",
         [&](Pager& pager) { pager.streams->page(pager.executor, other.path(), 0, 10, {}, none); }},
        {"unused for a while", [](Pager&) {}, 200ms},
    };
    for (const auto& c : cases) {
        Pager pager(repo, c.idleLimit);
        pager.page(0, 10);
        ASSERT_EQ(gitChildren().size(), 1u) << c.name;
        pager.streams->close(other.path());  // another repository's: nothing happens
        EXPECT_EQ(gitChildren().size(), 1u) << c.name;
        c.end(pager);
        EXPECT_TRUE(tarv::testing::processWaitUntil([] { return gitChildren().empty(); }, std::chrono::seconds(30))) << c.name;
    }
}

TEST(HistoryStreams, ReadsThePlainWayWhereAStreamCannotBeTrusted) {
    struct Case {
        const char* name;
        std::function<void(TempGitRepo&)> setUp;
    };
    const Case cases[] = {
        {"refs in a reftable",
         [](TempGitRepo& repo) {
             importHistory(repo, 20, false);
             repo.makeFolder("repo/.git/reftable");
         }},
        {"head on a ref of its worktree",
         [](TempGitRepo& repo) {
             importHistory(repo, 20, false);
             repo.git({"update-ref", "refs/bisect/bad", "main~2"});
             repo.git({"symbolic-ref", "HEAD", "refs/bisect/bad"});
         }},
    };
    for (const auto& c : cases) {
        TempGitRepo repo;
        c.setUp(repo);
        Pager pager(repo);
        EXPECT_EQ(pager.page(0, 5), pager.plain(0, 5)) << c.name;
        EXPECT_EQ(pager.page(5, 5), pager.plain(5, 5)) << c.name;
        EXPECT_EQ(pager.runner->streams, 0) << c.name;
        EXPECT_TRUE(gitChildren().empty()) << c.name;
    }
}

// Before the first commit git fails; the page is then what the plain read
// makes of that (nothing), and no git stays behind.
TEST(HistoryStreams, NoCommitYet) {
    TempGitRepo repo;
    Pager pager(repo);
    EXPECT_EQ(pager.page(0, 5), Commits{});
    EXPECT_TRUE(gitChildren().empty());
    repo.commit("first");
    EXPECT_EQ(pager.page(0, 5), pager.plain(0, 5));
}

// The live client reads its history pages this way: one git while paging
// down, ended when the repository is closed or the client goes away.
TEST(HistoryStreams, TheLiveClientKeepsOneGitWhilePagingAndEndsItWhenClosed) {
    TempGitRepo repo;
    importHistory(repo, 400, false);
    Pager plain(repo);
    auto client = testing::liveClient(repo);
    EXPECT_EQ(client->history(repo.path(), 0, 100, none), plain.plain(0, 100));
    const auto children = gitChildren();
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(client->history(repo.path(), 100, 100, none), plain.plain(100, 100));
    EXPECT_EQ(gitChildren(), children);

    client->closeHistoryStream(repo.path());
    EXPECT_TRUE(tarv::testing::processWaitUntil([] { return gitChildren().empty(); }));
    EXPECT_EQ(client->history(repo.path(), 200, 100, none), plain.plain(200, 100));
    client->closeHistoryStreams();
    EXPECT_TRUE(tarv::testing::processWaitUntil([] { return gitChildren().empty(); }));
    EXPECT_EQ(client->history(repo.path(), 0, 100, none), plain.plain(0, 100));
    client.reset();
    EXPECT_TRUE(tarv::testing::processWaitUntil([] { return gitChildren().empty(); }));
}

}  // namespace
}  // namespace tarv::engine
