#include "TarvCore/Rules/FailureRemedies.hpp"

#include "TarvCore/Rules/RemoteURLParser.hpp"

#include <gtest/gtest.h>

using namespace tarv::core;
using Fixes = std::vector<FailureFix>;

namespace {
std::optional<RemoteURL> remote(const char* text) { return RemoteURLParser::parse(text); }
}  // namespace

TEST(FailureRemedies, SignInOnlyForSignedOutHostingRemotes) {
    for (const RemoteFailure& failure :
         {RemoteFailure::authenticationFailed(), RemoteFailure::permissionDenied(), RemoteFailure::repositoryNotFound()}) {
        EXPECT_EQ(FailureRemedies::fixes(failure, remote("https://github.com/o/r"), false), Fixes{FailureFix::signIn()});
        EXPECT_EQ(FailureRemedies::fixes(failure, remote("git@GitHub.COM:o/r.git"), false), Fixes{FailureFix::signIn()});
        EXPECT_EQ(FailureRemedies::fixes(failure, remote("https://github.com/o/r"), true), Fixes{});
        EXPECT_EQ(FailureRemedies::fixes(failure, remote("https://gitlab.com/o/r"), false), Fixes{});
        EXPECT_EQ(FailureRemedies::fixes(failure, remote("https://api.github.com/o/r"), false), Fixes{});
        EXPECT_EQ(FailureRemedies::fixes(failure, std::nullopt, false), Fixes{});
    }
}

TEST(FailureRemedies, FixedRows) {
    const auto gh = remote("https://github.com/o/r");
    struct Case {
        RemoteFailure failure;
        Fixes expected;
    };
    const std::vector<Case> cases = {
        {RemoteFailure::ssoRequired("https://github.com/orgs/x/sso"), {FailureFix::openURL("https://github.com/orgs/x/sso")}},
        {RemoteFailure::ssoRequired(std::nullopt), {}},
        {RemoteFailure::repositoryMoved("https://github.com/n/r.git"), {FailureFix::useRemoteURL("https://github.com/n/r.git")}},
        {RemoteFailure::repositoryMoved(std::nullopt), {}},
        {RemoteFailure::other("boom"), {}},
        {RemoteFailure::networkUnavailable(), {FailureFix::retry()}},
        {RemoteFailure::nonFastForward(), {FailureFix::pull()}},
        {RemoteFailure::divergentBranches(), {}},
        {RemoteFailure::noUpstream(), {FailureFix::publishBranch()}},
        {RemoteFailure::noRemote(), {}},
        {RemoteFailure::hookRejected(), {}},
        {RemoteFailure::hostKeyChanged(), {}},
        {RemoteFailure::lfsMissing(), {FailureFix::openURL(FailureRemedies::gitLFSURL())}},
        {RemoteFailure::signingFailed(), {}},
    };
    for (const auto& c : cases) EXPECT_EQ(FailureRemedies::fixes(c.failure, gh, false), c.expected) << c.failure.description();
    EXPECT_NE(FailureRemedies::gitLFSURL().find("git-lfs"), std::string::npos);
}

TEST(FailureRemedies, SshKeyMissing) {
    const auto keys = FailureFix::openURL(FailureRemedies::githubSSHKeysURL());
    EXPECT_EQ(FailureRemedies::githubSSHKeysURL(), "https://github.com/settings/keys");
    EXPECT_EQ(FailureRemedies::fixes(RemoteFailure::sshKeyMissing(), remote("git@github.com:owner/repo.git"), true),
              (Fixes{FailureFix::useRemoteURL("https://github.com/owner/repo.git"), keys}));
    EXPECT_EQ(FailureRemedies::fixes(RemoteFailure::sshKeyMissing(), remote("https://github.com/owner/repo"), false),
              Fixes{keys});
    EXPECT_EQ(FailureRemedies::fixes(RemoteFailure::sshKeyMissing(), remote("ssh://me@git.example.org:22/g/s/p"), false),
              Fixes{FailureFix::useRemoteURL("https://git.example.org/g/s/p.git")});
    EXPECT_EQ(FailureRemedies::fixes(RemoteFailure::sshKeyMissing(), remote("me@git.example.org:repo"), false), Fixes{});
    EXPECT_EQ(FailureRemedies::fixes(RemoteFailure::sshKeyMissing(), std::nullopt, false), Fixes{});
}
