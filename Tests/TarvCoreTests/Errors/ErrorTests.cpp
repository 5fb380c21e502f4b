#include <gtest/gtest.h>

#include <string>

#include "TarvCore/Errors/ConfigurationError.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvCore/Errors/HostingError.hpp"
#include "TarvCore/Errors/ProcessError.hpp"
#include "TarvCore/Errors/RemoteFailure.hpp"
#include "TarvCore/Errors/SecretStoreError.hpp"

namespace tarv::core {
namespace {

TEST(ErrorTest, EqualityComparesCaseAndEveryPayload) {
    EXPECT_EQ(GitError::commandFailed("git status", 1, "x"), GitError::commandFailed("git status", 1, "x"));
    EXPECT_NE(GitError::commandFailed("git status", 1, "x"), GitError::commandFailed("git status", 1, "y"));
    EXPECT_NE(GitError::invalidOutput("a"), GitError::invalidArgument("a"));
    EXPECT_EQ(GitError::gitNotFound(), GitError::gitNotFound());

    EXPECT_NE(RemoteFailure::other(""), RemoteFailure::other("boom"));
    EXPECT_NE(RemoteFailure::ssoRequired(std::nullopt), RemoteFailure::ssoRequired("x"));
    EXPECT_NE(RemoteFailure::ssoRequired("x"), RemoteFailure::repositoryMoved("x"));
    EXPECT_EQ(RemoteFailure::noRemote(), RemoteFailure{RemoteFailure::NoRemote{}});

    EXPECT_NE(ProcessError::spawnFailed(2), ProcessError::spawnFailed(13));
    EXPECT_NE(ProcessError::timedOut(), ProcessError::cancelled());
    EXPECT_NE(HostingError::http(500, "m"), HostingError::http(502, "m"));
    EXPECT_NE(HostingError::forbidden(""), HostingError::network(""));
    EXPECT_NE(SecretStoreError::writeFailed("a"), SecretStoreError::writeFailed("b"));
    EXPECT_EQ(ConfigurationError::malformed("/k.json"), ConfigurationError::malformed("/k.json"));
}

TEST(ErrorTest, RemoteFailureCasesKeepTheirDeclarationOrder) {
    EXPECT_EQ(RemoteFailure::caseCount, 16u);
    EXPECT_EQ(RemoteFailure::ssoRequired(std::nullopt).value.index(), 0u);
    EXPECT_EQ(RemoteFailure::other("").value.index(), 2u);
    EXPECT_EQ(RemoteFailure::authenticationFailed().value.index(), 3u);
    EXPECT_EQ(RemoteFailure::nonFastForward().value.index(), 7u);
    EXPECT_EQ(RemoteFailure::signingFailed().value.index(), 15u);
    EXPECT_STREQ(RemoteFailure::hostKeyChanged().what(), "RemoteFailure.hostKeyChanged");
}

TEST(ErrorTest, ThrownAsExceptionsAndCaughtWithTheirCase) {
    try {
        throw GitError::commandFailed("git push", 128, "fatal: no");
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "GitError.commandFailed");
        const auto* git = dynamic_cast<const GitError*>(&e);
        ASSERT_NE(git, nullptr);
        const auto* failed = std::get_if<GitError::CommandFailed>(&git->value);
        ASSERT_NE(failed, nullptr);
        EXPECT_EQ(failed->exitCode, 128);
        EXPECT_EQ(git->description(), "GitError.commandFailed(git push, exit 128): fatal: no");
    }
    try {
        throw RemoteFailure::repositoryMoved("https://example.com/new");
    } catch (const RemoteFailure& failure) {
        EXPECT_EQ(failure, RemoteFailure::repositoryMoved("https://example.com/new"));
    }
    EXPECT_EQ(ProcessError::spawnFailed(2).description().rfind("ProcessError.spawnFailed(errno 2", 0), 0u);
}

}  // namespace
}  // namespace tarv::core
