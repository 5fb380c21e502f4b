// Every credential prompt git asks is answered once: by the user in its
// overlay, or with nothing (a cancellation) as soon as its overlay leaves
// the screen any other way, the queued prompts behind it following.
#include <gtest/gtest.h>

#include "../Workspace/WorkspaceFixtures.hpp"
#include "Support/AppStoreHarness.hpp"
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {
namespace {

using namespace fixtures;
using tarv::testing::AppStoreHarness;
using Responses = std::vector<tarv::testing::FakeCredentialBroker::Response>;
using Kind = core::CredentialPrompt::Kind;

core::CredentialPrompt promptOf(std::int64_t id, Kind kind = Kind::password) {
    return core::CredentialPrompt{id, kind, "Password for 'https://host': ", "https://host"};
}

// A workspace with prompt 1 on screen and `queued` waiting behind it.
AppState promptShown(std::vector<core::CredentialPrompt> queued) {
    AppState state = withWorkspace();
    state.onboarding.step = OnboardingState::Step::done();
    state.overlay = CredentialPromptState(promptOf(1));
    state.pendingCredentials = std::move(queued);
    return state;
}

// The kind of the overlay on screen; none without one.
std::optional<Overlay::Kind> kindShown(const AppStoreHarness& h) {
    if (!h.state().overlay) return std::nullopt;
    return h.state().overlay->kind();
}

std::optional<std::int64_t> promptShownID(const AppStoreHarness& h) {
    if (!h.state().overlay) return std::nullopt;
    const auto* shown = std::get_if<CredentialPromptState>(&h.state().overlay->value);
    return shown ? std::optional<std::int64_t>(shown->prompt.id) : std::nullopt;
}

TEST(CredentialQueueTest, APromptLeavingTheScreenUnansweredIsCancelledAtOnce) {
    struct Case {
        const char* name;
        AppAction action;
        std::optional<Overlay::Kind> shown;
        std::optional<std::int64_t> promptShown;
        Responses responses;
    };
    const Case cases[] = {
        {"a context menu opens over it", AppAction::OpenContextMenu{{core::AppCommand::refresh}, 3, 4, std::nullopt},
         Overlay::Kind::contextMenu, std::nullopt, {{1, std::nullopt}, {2, std::nullopt}}},
        {"an empty context menu closes it", AppAction::OpenContextMenu{{}, 3, 4, std::nullopt},
         Overlay::Kind::credentials, 2, {{1, std::nullopt}}},
        {"a failure message replaces it", OverlayAction::PublishFailed{core::Text::raw("rejected")},
         Overlay::Kind::message, std::nullopt, {{1, std::nullopt}, {2, std::nullopt}}},
        {"a command opens its overlay", AppAction::Command{core::AppCommand::help}, Overlay::Kind::help,
         std::nullopt, {{1, std::nullopt}, {2, std::nullopt}}},
        {"another repository is opened", AppAction::RepositoryChecked{"/other", true}, Overlay::Kind::credentials, 2,
         {{1, std::nullopt}}},
        {"a finished clone opens its repository", OverlayAction::CloneFinished{"/other"}, Overlay::Kind::credentials,
         2, {{1, std::nullopt}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h(promptShown({promptOf(2)}));
        h.send(c.action);
        EXPECT_EQ(kindShown(h), c.shown);
        EXPECT_EQ(promptShownID(h), c.promptShown);
        EXPECT_TRUE(h.state().pendingCredentials.empty()) << "nothing waits where nobody can see it";
        h.settle();
        EXPECT_EQ(h.fakes.credentials->responses(), c.responses);
    }
}

TEST(CredentialQueueTest, APromptAloneIsCancelledWhenItsRepositoryIsReplaced) {
    AppStoreHarness h(promptShown({}));
    h.send(AppAction::RepositoryChecked{"/other", true});
    EXPECT_EQ(h.state().workspace->path, "/other");
    EXPECT_FALSE(h.state().overlay);
    h.settle();
    EXPECT_EQ(h.fakes.credentials->responses(), (Responses{{1, std::nullopt}}));
}

TEST(CredentialQueueTest, ThePromptsOwnAnswersAndOtherInputAnswerNothingMore) {
    struct Case {
        const char* name;
        AppAction action;
        std::optional<std::int64_t> promptShown;
        Responses responses;
    };
    const Case cases[] = {
        {"dismissed", OverlayAction::Dismiss{}, 2, {{1, std::nullopt}}},
        {"confirmed", OverlayAction::Confirm{}, 2, {{1, "yes"}}},
        {"typing", AppAction::Edit{core::TextEdit::insert("pw")}, 1, {}},
        {"a list gesture", OverlayAction::MoveSelection{1}, 1, {}},
        {"a result for another overlay", OverlayAction::CloneFailed{core::Text::raw("no")}, 1, {}},
        {"a toast", AppAction::Notice{core::Text::raw("fetched"), false}, 1, {}},
        {"the clock", AppAction::Tick{}, 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h(promptShown({promptOf(2)}));
        h.send(c.action);
        EXPECT_EQ(promptShownID(h), c.promptShown);
        h.settle({"credentials", "watcher", "autofetch", "toast"});
        EXPECT_EQ(h.fakes.credentials->responses(), c.responses);
    }
}

TEST(CredentialQueueTest, PromptsQueuedBehindTheSignInFollowWhatReplacesIt) {
    struct Case {
        const char* name;
        AppAction action;
        std::optional<std::int64_t> promptShown;
        Responses responses;
    };
    const Case cases[] = {
        {"the sign-in stays", AppAction::Tick{}, std::nullopt, {}},
        {"a menu replaces it", AppAction::OpenContextMenu{{core::AppCommand::refresh}, 0, 0, std::nullopt},
         std::nullopt, {{5, std::nullopt}, {6, std::nullopt}}},
        {"another repository is opened", AppAction::RepositoryChecked{"/other", true}, 5, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withWorkspace();
        state.onboarding.step = OnboardingState::Step::done();
        state.overlay = SignInState();
        state.pendingCredentials = {promptOf(5), promptOf(6)};
        AppStoreHarness h(std::move(state));
        h.send(c.action);
        EXPECT_EQ(promptShownID(h), c.promptShown);
        h.settle();
        EXPECT_EQ(h.fakes.credentials->responses(), c.responses);
    }
}

}  // namespace
}  // namespace tarv::features
