#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TarvEngine/Parsers/GitFailureClassifier.hpp"

namespace tarv::engine {
namespace {

using core::RemoteFailure;

TEST(GitFailureClassifier, Table) {
    struct Case {
        std::string text;
        RemoteFailure expected;
    };
    std::vector<Case> cases{
        {"Error: git-lfs filesystem not found", RemoteFailure::lfsMissing()},
        {"error: gpg failed to sign the data\nfatal: failed to write commit object", RemoteFailure::signingFailed()},
        {"remote: The 'acme' organization has enabled or enforced SAML SSO.\n"
         "remote: visit <https://github.com/orgs/acme/sso?authorization_request=AB>.",
         RemoteFailure::ssoRequired("https://github.com/orgs/acme/sso?authorization_request=AB")},
        {"SAML SSO required, see https://example.com/help", RemoteFailure::ssoRequired(std::nullopt)},
        {"remote: This repository moved. Please use the new location:\nremote:   https://github.com/New/Place.git\n",
         RemoteFailure::repositoryMoved("https://github.com/New/Place.git")},
        {"This repository moved, see https://github.com/x/y", RemoteFailure::repositoryMoved(std::nullopt)},
        {"repository has moved. New Location (http://insecure/x) https://ok/x",
         RemoteFailure::repositoryMoved("https://ok/x")},
        {"git@github.com: Permission denied (publickey).\nfatal: Authentication failed", RemoteFailure::sshKeyMissing()},
        {"Host key verification failed.", RemoteFailure::hostKeyChanged()},
        {"fatal: Authentication failed for 'https://x'", RemoteFailure::authenticationFailed()},
        {"fatal: could not read Username for 'https://github.com': terminal prompts disabled",
         RemoteFailure::authenticationFailed()},
        {"The requested URL returned error: 403\nremote: Repository not found.", RemoteFailure::permissionDenied()},
        {"remote: Permission to a/b.git denied to c.", RemoteFailure::permissionDenied()},
        {"remote: Repository not found.", RemoteFailure::repositoryNotFound()},
        {"fatal: repository 'https://github.com/x/y.git/' not found", RemoteFailure::repositoryNotFound()},
        {"fatal: '/nowhere' does not appear to be a git repository", RemoteFailure::repositoryNotFound()},
        {"fatal: unable to access: Could not resolve host: github.com", RemoteFailure::networkUnavailable()},
        {"hint: You have divergent branches\n ! [rejected] main -> main", RemoteFailure::divergentBranches()},
        {" ! [rejected]        main -> main (fetch first)", RemoteFailure::nonFastForward()},
        {"fatal: The current branch x has no upstream branch.", RemoteFailure::noUpstream()},
        {"fatal: No configured push destination.", RemoteFailure::noRemote()},
        {"remote: error: GH006: Protected branch update failed\n ! [remote rejected] main (pre-receive hook declined)",
         RemoteFailure::hookRejected()},
        {"", RemoteFailure::other("")},
        {"  \n\t ", RemoteFailure::other("")},
        {"\n  first line  \nsecond", RemoteFailure::other("first line")},
        {"caf\xe9 \xff went wrong", RemoteFailure::other("caf\xe9 \xff went wrong")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GitFailureClassifier::classify(c.text), c.expected) << c.text;
    }
}

TEST(GitFailureClassifier, AddressKeepsItsCaseAndLosesQuotesAndPunctuation) {
    auto failure = GitFailureClassifier::classify("Single sign-on: '(https://Example.COM/orgs/X/sso).',");
    EXPECT_EQ(failure, RemoteFailure::ssoRequired("https://Example.COM/orgs/X/sso"));
}

TEST(GitFailureClassifier, LocalKeepsOnlyLfsAndSigning) {
    EXPECT_EQ(GitFailureClassifier::classifyLocal("error: cannot run gpg: No such file"), RemoteFailure::signingFailed());
    EXPECT_EQ(GitFailureClassifier::classifyLocal("git: 'lfs' is not a git command"), RemoteFailure::lfsMissing());
    EXPECT_EQ(GitFailureClassifier::classifyLocal("Could not resolve host: x"), std::nullopt);
    EXPECT_EQ(GitFailureClassifier::classifyLocal("pre-commit hook failed"), std::nullopt);
}

}  // namespace
}  // namespace tarv::engine
