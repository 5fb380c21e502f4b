// Git's credential prompts through the store: which ones the hosting session
// answers by itself, which ones the user sees, and the queue that waits
// behind a shown prompt or the sign-in and is answered in order afterwards.
#include <gtest/gtest.h>

#include "../Workspace/WorkspaceFixtures.hpp"
#include "Support/AppStoreHarness.hpp"
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {
namespace {

using namespace fixtures;
using tarv::testing::AppStoreHarness;
using Kind = core::CredentialPrompt::Kind;
using Prompt = core::CredentialPrompt;
using Asker = core::CredentialPrompt::Asker;
using Response = tarv::testing::FakeCredentialBroker::Response;

const core::GitHubSession octo{"octo", std::nullopt, "gho_token"};

Prompt prompt(std::int64_t id, Kind kind, std::optional<std::string> subject, Asker asker = Asker::git) {
    return Prompt{id, kind, "Question: ", std::move(subject), asker};
}

AppState given(std::optional<core::GitHubSession> session, std::optional<Overlay> overlay = std::nullopt,
               bool tokenRejected = false) {
    AppState state = withWorkspace();
    state.session = std::move(session);
    state.overlay = std::move(overlay);
    state.gitTokenRejected = tokenRejected;
    return state;
}

std::optional<Overlay> showingPrompt(const Prompt& shown) { return Overlay(CredentialPromptState(shown)); }

TEST(CredentialRequestTest, TheSessionAnswersOnlyItsOwnHostOverHTTPSElseTheUserIsAsked) {
    const std::string web = "https://github.com";
    const Prompt other = prompt(9, Kind::password, "https://example.com");
    struct Case {
        const char* name;
        AppState state;
        Prompt asked;
        std::optional<std::string> answer;  // from the session
        std::optional<Overlay> overlay;     // afterwards
        std::vector<Prompt> queued;
    };
    const Prompt user = prompt(1, Kind::username, web);
    const Prompt password = prompt(1, Kind::password, "https://octo@GitHub.COM:443/owner/r.git");
    const Case cases[] = {
        {"user name", given(octo), user, "octo", std::nullopt, {}},
        {"password, host in capitals with user and port", given(octo), password, "gho_token", std::nullopt, {}},
        {"answered while another overlay stays open", given(octo, Overlay::Help{}), user, "octo", Overlay::Help{},
         {}},
        {"plain HTTP", given(octo), prompt(1, Kind::username, "http://github.com"), std::nullopt,
         showingPrompt(prompt(1, Kind::username, "http://github.com")), {}},
        {"asked by ssh in git's words", given(octo), prompt(1, Kind::password, web, Asker::ssh), std::nullopt,
         showingPrompt(prompt(1, Kind::password, web, Asker::ssh)), {}},
        {"asker unknown", given(octo), prompt(1, Kind::username, web, Asker::unknown), std::nullopt,
         showingPrompt(prompt(1, Kind::username, web, Asker::unknown)), {}},
        {"SSH address", given(octo), prompt(1, Kind::password, "git@github.com:owner/r.git"), std::nullopt,
         showingPrompt(prompt(1, Kind::password, "git@github.com:owner/r.git")), {}},
        {"another host", given(octo), prompt(1, Kind::password, "https://example.com"), std::nullopt,
         showingPrompt(prompt(1, Kind::password, "https://example.com")), {}},
        {"empty host", given(octo), prompt(1, Kind::password, "https://"), std::nullopt,
         showingPrompt(prompt(1, Kind::password, "https://")), {}},
        {"no subject", given(octo), prompt(1, Kind::password, std::nullopt), std::nullopt,
         showingPrompt(prompt(1, Kind::password, std::nullopt)), {}},
        {"passphrase", given(octo), prompt(1, Kind::passphrase, web), std::nullopt,
         showingPrompt(prompt(1, Kind::passphrase, web)), {}},
        {"confirmation", given(octo), prompt(1, Kind::confirmation, web), std::nullopt,
         showingPrompt(prompt(1, Kind::confirmation, web)), {}},
        {"signed out", given(std::nullopt), user, std::nullopt, showingPrompt(user), {}},
        {"token refused this run", given(octo, std::nullopt, true), user, std::nullopt, showingPrompt(user), {}},
        {"replaces another overlay", given(std::nullopt, Overlay::Help{}), user, std::nullopt, showingPrompt(user),
         {}},
        {"queued behind a shown prompt", given(octo, showingPrompt(other)), prompt(1, Kind::passphrase, web),
         std::nullopt, showingPrompt(other), {prompt(1, Kind::passphrase, web)}},
        {"queued while signing in", given(std::nullopt, SignInState{}), user, std::nullopt, SignInState{}, {user}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h(c.state);
        h.send(AppAction::CredentialRequested{c.asked});
        EXPECT_EQ(h.state().answeredGitWithSession, c.answer.has_value());
        EXPECT_TRUE(h.state().overlay == c.overlay);
        EXPECT_EQ(h.state().pendingCredentials, c.queued);
        EXPECT_EQ(h.lastJobIds(), c.answer ? Ids{"-"} : Ids());
        h.settle();
        const std::vector<Response> answered =
            c.answer ? std::vector<Response>{{1, c.answer}} : std::vector<Response>{};
        EXPECT_EQ(h.fakes.credentials->responses(), answered);
    }
}

TEST(CredentialQueueTest, PromptsForTheUserAreShownOneAtATimeInOrder) {
    AppStoreHarness h(given(std::nullopt));
    const Prompt first = prompt(1, Kind::username, "https://example.com");
    const Prompt second = prompt(2, Kind::password, "https://example.com");
    h.send(AppAction::CredentialRequested{first});
    h.send(AppAction::CredentialRequested{second});
    EXPECT_TRUE(h.state().overlay == showingPrompt(first));
    EXPECT_EQ(h.state().pendingCredentials, std::vector<Prompt>{second});

    h.send(OverlayAction::Dismiss{});
    EXPECT_TRUE(h.state().overlay == showingPrompt(second));
    EXPECT_TRUE(h.state().pendingCredentials.empty());
    h.send(OverlayAction::Dismiss{});
    EXPECT_FALSE(h.state().overlay.has_value());
    h.settle();
    EXPECT_EQ(h.fakes.credentials->responses(), (std::vector<Response>{{1, std::nullopt}, {2, std::nullopt}}));
}

// git asks for the user name and then the password of the hosting service
// while the user is signing in: both wait, and the new session answers them
// in order; a prompt for another host among them goes to the user, and
// those behind it still get the session's answer.
TEST(CredentialQueueTest, PromptsQueuedDuringTheSignInAreAnsweredAfterIt) {
    AppStoreHarness h(given(std::nullopt, SignInState{}));
    const Prompt user = prompt(1, Kind::username, "https://github.com");
    const Prompt other = prompt(2, Kind::password, "https://example.com");
    const Prompt password = prompt(3, Kind::password, "https://octo@github.com");
    const Prompt later = prompt(4, Kind::passphrase, std::nullopt);
    for (const Prompt& p : {user, other, password, later}) h.send(AppAction::CredentialRequested{p});
    EXPECT_EQ(h.state().pendingCredentials, (std::vector<Prompt>{user, other, password, later}));

    h.send(AuthAction::SignedIn{octo});
    EXPECT_TRUE(h.state().overlay == showingPrompt(other));
    EXPECT_EQ(h.state().pendingCredentials, std::vector<Prompt>{later});
    EXPECT_TRUE(h.state().answeredGitWithSession);
    auto skipping = AppStoreHarness::longLivedJobs();
    skipping.insert("checks");
    h.settle(skipping);
    EXPECT_EQ(h.fakes.credentials->responses(), (std::vector<Response>{{1, "octo"}, {3, "gho_token"}}));
}

TEST(CredentialQueueTest, DismissingTheSignInShowsTheFirstQueuedPrompt) {
    AppStoreHarness h(given(std::nullopt, SignInState{}));
    const Prompt user = prompt(1, Kind::username, "https://github.com");
    const Prompt password = prompt(2, Kind::password, "https://github.com");
    h.send(AppAction::CredentialRequested{user});
    h.send(AppAction::CredentialRequested{password});
    h.send(OverlayAction::Dismiss{});
    EXPECT_TRUE(h.state().overlay == showingPrompt(user));
    EXPECT_EQ(h.state().pendingCredentials, std::vector<Prompt>{password});
    EXPECT_FALSE(h.state().answeredGitWithSession);
}

}  // namespace
}  // namespace tarv::features
