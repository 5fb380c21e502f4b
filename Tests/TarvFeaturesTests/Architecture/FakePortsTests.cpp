#include <gtest/gtest.h>

#include <stop_token>
#include <string>
#include <vector>

#include "Support/FakePorts.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvFeatures/App/ErrorText.hpp"

namespace tarv::testing {
namespace {

TEST(FakePortsTests, DependenciesCarryEachFakeInItsPlace) {
    const FakePorts fakes;
    const features::Dependencies dependencies = fakes.dependencies();
    EXPECT_EQ(dependencies.git.get(), fakes.git.get());
    EXPECT_EQ(dependencies.repository.get(), fakes.repository.get());
    EXPECT_EQ(dependencies.registry.get(), fakes.registry.get());
    EXPECT_EQ(dependencies.watcher.get(), fakes.watcher.get());
    EXPECT_EQ(dependencies.platform.get(), fakes.platform.get());
    EXPECT_EQ(dependencies.process.get(), fakes.process.get());
    EXPECT_EQ(dependencies.clock.get(), fakes.clock.get());
    EXPECT_EQ(dependencies.files.get(), fakes.files.get());
    EXPECT_EQ(dependencies.credentials.get(), fakes.credentials.get());
    EXPECT_EQ(dependencies.github.get(), fakes.github.get());
    EXPECT_EQ(dependencies.accounts.get(), fakes.accounts.get());
    const features::Dependencies fresh = makeFakeDependencies();
    EXPECT_NE(fresh.repository, nullptr);
    EXPECT_NE(fresh.clock, nullptr);
}

TEST(FakePortsTests, RepositoryAnswersRecordsAndFails) {
    FakePorts fakes;
    auto& repository = *fakes.repository;
    repository.answers.commits.resize(5);
    std::stop_source stop;

    EXPECT_EQ(repository.history("/r", 3, 100, stop.get_token()).size(), 2u);
    EXPECT_TRUE(repository.repositoryExists("/r", stop.get_token()));
    repository.answers.missingRepositories = {"/gone"};
    EXPECT_FALSE(repository.repositoryExists("/gone", stop.get_token()));

    repository.fail("merge", core::GitError::invalidArgument("Nombre de rama inválido: x"));
    try {
        repository.merge("/r", "x", stop.get_token());
        FAIL() << "merge should have failed";
    } catch (...) {
        EXPECT_EQ(features::ErrorText::describe(std::current_exception()), "Nombre de rama inválido: x");
    }
    repository.succeed("merge");
    EXPECT_EQ(repository.merge("/r", "x", stop.get_token()), core::MergeResult::merged());

    EXPECT_EQ(repository.calls(), (std::vector<std::string>{"history /r 3 100", "repositoryExists /r",
                                                             "repositoryExists /gone", "merge /r x", "merge /r x"}));
    EXPECT_EQ(repository.calls("merge").size(), 2u);
}

TEST(FakePortsTests, StoresKeepWhatWasWritten) {
    FakePorts fakes;
    std::stop_source stop;
    fakes.files->writeFile("/r/.gitignore", core::toBytes("build/\n"));
    EXPECT_EQ(fakes.files->content("/r/.gitignore"), "build/\n");
    EXPECT_TRUE(fakes.files->fileExists("/r/.gitignore"));
    EXPECT_EQ(fakes.files->contentsOfDirectory("/r"), std::vector<std::string>{".gitignore"});

    fakes.accounts->save(core::GitHubSession{"me", std::nullopt, "token"}, stop.get_token());
    EXPECT_EQ(fakes.accounts->load(stop.get_token())->login, "me");
    fakes.accounts->remove(stop.get_token());
    EXPECT_EQ(fakes.accounts->load(stop.get_token()), std::nullopt);

    fakes.credentials->respond(4, std::nullopt);
    EXPECT_EQ(fakes.credentials->calls(), std::vector<std::string>{"respond 4 -"});
}

}  // namespace
}  // namespace tarv::testing
