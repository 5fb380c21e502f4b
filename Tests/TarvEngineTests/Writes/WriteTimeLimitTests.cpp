// Writes on the real git that take longer than the time limits of reads: a
// write that has started runs to its end, and no lock stays behind.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>

#include "TarvCore/Ports/ProcessRunning.hpp"
#include "TarvEngineTests/Writes/WriteTestSupport.hpp"

namespace tarv::engine {
namespace {

using namespace std::chrono_literals;

// Hands every run to `inner`; a write's time limit, when it has one, is cut
// to 50 ms: any limit a write carried would end it half-way. Reads (git's
// optional locks off) keep theirs, so a busy machine cannot time them out.
class ShortLimits final : public core::ProcessRunning {
public:
    explicit ShortLimits(std::shared_ptr<core::ProcessRunning> inner) : inner_(std::move(inner)) {}
    core::ProcessResult run(const core::ProcessSpec& spec, std::stop_token stop) override {
        core::ProcessSpec shortened = spec;
        const auto locks = spec.environment.find("GIT_OPTIONAL_LOCKS");
        const bool reads = locks != spec.environment.end() && locks->second == "0";
        if (shortened.timeout && !reads) shortened.timeout = 50ms;
        return inner_->run(shortened, stop);
    }

private:
    std::shared_ptr<core::ProcessRunning> inner_;
};

struct WriteTimeLimitTest : testing::RealRepository {
    void hook(const std::string& name) {
        const std::string path = ".git/hooks/" + name;
        repo.writeFile(path, "#!/bin/sh\nsleep 0.4\n");
        ::chmod((repo.path() + "/" + path).c_str(), 0755);
    }
};

TEST_F(WriteTimeLimitTest, ASlowWriteFinishesAndLeavesNoLock) {
    repo.writeFile("c.txt", "base\n");
    repo.commitAll("base");
    repo.git({"switch", "-q", "-c", "side"});
    repo.writeFile("s.txt", "side\n");
    repo.commitAll("side");
    repo.git({"switch", "-q", "main"});
    repo.writeFile("m.txt", "main\n");
    repo.commitAll("main");

    GitExecutor limited = executor;
    limited.runner = std::make_shared<ShortLimits>(executor.runner);
    const GitWriteCommands slow{limited};
    struct Case {
        const char* name;
        const char* hook;
        std::function<void()> write;
        std::function<bool()> done;
    };
    const std::vector<Case> cases{
        {"commit", "pre-commit",
         [&] {
             repo.writeFile("c.txt", "changed\n");
             slow.commit(repo.path(), message("Slow"), core::CommitSelection{{"c.txt"}}, false, none);
         },
         [&] { return testing::blob(repo, "HEAD", "c.txt") == "changed\n"; }},
        {"merge", "pre-merge-commit", [&] { slow.merge(repo.path(), "side", none); },
         [&] { return testing::blob(repo, "HEAD", "s.txt") == "side\n"; }},
        {"branch switch", "post-checkout", [&] { slow.switchBranch(repo.path(), "side", none); },
         [&] { return repo.git({"branch", "--show-current"}) == "side\n"; }},
    };
    for (const auto& c : cases) {
        hook(c.hook);
        EXPECT_NO_THROW(c.write()) << c.name;
        EXPECT_TRUE(c.done()) << c.name;
        EXPECT_FALSE(repo.exists(".git/index.lock")) << c.name;
        EXPECT_EQ(repo.run({"commit", "--allow-empty", "-qm", "after"}).exitCode, 0) << c.name;
        repo.removeFile(std::string(".git/hooks/") + c.hook);
    }
}

}  // namespace
}  // namespace tarv::engine
