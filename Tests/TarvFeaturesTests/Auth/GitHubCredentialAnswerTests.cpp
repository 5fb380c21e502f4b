#include "TarvFeatures/Auth/GitHubCredentialAnswer.hpp"

#include <gtest/gtest.h>

#include "TarvCore/Models/HostingDefaults.hpp"
#include "TarvFeatures/Auth/AuthAction.hpp"
#include "TarvFeatures/Auth/SignInState.hpp"

namespace tarv::features {
namespace {

using Kind = core::CredentialPrompt::Kind;
using Asker = core::CredentialPrompt::Asker;
const std::string web(core::HostingDefaults::webHost);

TEST(GitHubCredentialAnswer, HostOfASubject) {
    struct Case {
        std::string subject;
        std::optional<std::string> host;
    };
    const Case cases[] = {
        {"https://" + web, web},
        {"https://user:pw@GITHUB.com:443/owner/repo.git", web},
        {"HTTPS://GitHub.Com/owner/repo", web},
        {"https://a@b@" + web + "/x", web},
        {"https://" + web + "?q=1", web},
        {"https://", ""},
        {"https:///path", ""},
        // The authority ends at the path, query or fragment, whichever comes
        // first: an "@" after it is not user information.
        {"https://evil.example?@" + web + "/", "evil.example"},
        {"https://evil.example#@" + web + "/", "evil.example"},
        {"https://evil.example\\@" + web + "/", "evil.example"},
        {"https://evil.example/@" + web + "/", "evil.example"},
        {"https://" + web + ".evil.example/", web + ".evil.example"},
        {"http://" + web + "/owner/repo", std::nullopt},
        {"ssh://git@" + web + "/owner/repo", std::nullopt},
        {"git@" + web + ":owner/repo.git", std::nullopt},
        {"/home/ana/.ssh/id_ed25519", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(GitHubCredentialAnswer::host(c.subject), c.host) << c.subject;
}

TEST(GitHubCredentialAnswer, AnswersOnlyGitsUserAndPasswordForTheWebHost) {
    const core::GitHubSession session{"ana", "Ana", "gho_secret"};
    const std::string ours = "https://ana@" + web + "/owner/repo.git";
    struct Case {
        Kind kind;
        std::optional<std::string> subject;
        std::optional<std::string> answer;
        Asker asker = Asker::git;
    };
    const Case cases[] = {
        {Kind::username, ours, "ana"},
        // An SSH server words its prompts as it likes, git's words included.
        {Kind::username, ours, std::nullopt, Asker::ssh},
        {Kind::password, ours, std::nullopt, Asker::ssh},
        {Kind::password, ours, std::nullopt, Asker::unknown},
        {Kind::password, ours, "gho_secret"},
        {Kind::password, "https://" + std::string("GITHUB.COM"), "gho_secret"},
        {Kind::passphrase, ours, std::nullopt},
        {Kind::confirmation, ours, std::nullopt},
        {Kind::password, std::nullopt, std::nullopt},
        {Kind::password, "https://", std::nullopt},
        {Kind::password, "http://" + web + "/owner/repo", std::nullopt},
        {Kind::password, "https://evil.example?@" + web + "/", std::nullopt},
        {Kind::password, "https://evil.example#@" + web + "/", std::nullopt},
        {Kind::password, "https://evil.example\\@" + web + "/", std::nullopt},
        {Kind::username, "https://gitlab.com/owner/repo", std::nullopt},
    };
    for (const Case& c : cases) {
        const core::CredentialPrompt prompt{1, c.kind, "Password:", c.subject, c.asker};
        EXPECT_EQ(GitHubCredentialAnswer::answer(prompt, session), c.answer) << c.subject.value_or("no subject");
    }
}

TEST(SignInState, CodeOnlyWhileWaiting) {
    const core::DeviceCode code{"dev", "ABCD-1234", "https://example.test/device", 5, 900};
    EXPECT_EQ(SignInState{}.status, SignInState::Status::requesting());
    EXPECT_EQ(SignInState{}.code(), nullptr);
    const SignInState waiting{SignInState::Status::waiting(code)};
    ASSERT_NE(waiting.code(), nullptr);
    EXPECT_EQ(*waiting.code(), code);
    EXPECT_EQ(SignInState{SignInState::Status::failed(core::Text::hostingDenied())}.code(), nullptr);
}

TEST(AuthAction, CasesCopyAndCompare) {
    const AuthAction checks = AuthAction::pullRequestChecksLoaded(12, core::CheckSummary{1, 2, 3});
    AuthAction copy = checks;
    EXPECT_EQ(copy, checks);
    copy = AuthAction::sessionExpired();
    EXPECT_NE(copy, checks);
    EXPECT_EQ(AuthAction::sessionLoaded(std::nullopt), AuthAction(AuthAction::SessionLoaded{}));
    EXPECT_EQ(std::variant_size_v<AuthAction::Value>, 10u);
}

}  // namespace
}  // namespace tarv::features
