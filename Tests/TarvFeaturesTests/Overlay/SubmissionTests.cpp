// Submitting the open prompt through the Store: validation, path rules,
// what changes at once and which job starts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Support/AppStoreHarness.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {
namespace {

using tarv::testing::AppStoreHarness;
using Strings = std::vector<std::string>;

const AppAction submitted = OverlayAction::Submitted{};

// The fake file store's home folder.
const std::string home = "/home/test";

AppState workspaceState() {
    AppState state;
    WorkspaceState& w = state.workspace.emplace("/r", "r", std::nullopt);
    w.status.branch.head = "main";
    w.branches = {core::Branch{.name = "main", .isCurrent = true}, core::Branch{.name = "topic"}};
    return state;
}

AppState withOverlay(AppState state, Overlay overlay) {
    state.overlay = std::move(overlay);
    return state;
}

core::EditableText typed(const std::string& text) { return core::EditableText(text, false); }

// The outcome of sending `action` to the same state with the overlay closed.
void expectSameAsDirect(AppStoreHarness& h, AppState state, AppAction action) {
    state.overlay.reset();
    AppStoreHarness direct(state);
    direct.send(std::move(action));
    AppState expected = direct.state();
    expected.now = h.state().now;
    EXPECT_TRUE(h.state() == expected);
    EXPECT_EQ(h.lastJobIds(), direct.lastJobIds());
}

template <class Prompt>
const Prompt* openPrompt(const AppStoreHarness& h) {
    return h.state().overlay ? std::get_if<Prompt>(&h.state().overlay->value) : nullptr;
}

TEST(SubmissionTest, AddRepositoryChecksThePathAfterTheHomeRule) {
    struct Case {
        const char* name;
        const char* typed;
        std::optional<std::string> checked;  // none: nothing starts
    };
    const Case cases[] = {
        {"a lone tilde is home", "~", home},
        {"tilde slash is inside home", "~/code/app", home + "/code/app"},
        {"blanks around are trimmed", "  /srv/my repo  ", "/srv/my repo"},
        {"a tilde glued to a name is a name", "~bob/x", "~bob/x"},
        {"a relative path is kept", "code/app", "code/app"},
        {"only blanks do nothing", "   ", std::nullopt},
        {"nothing typed does nothing", "", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PathPromptState prompt(false);
        prompt.path = typed(c.typed);
        prompt.error = core::Text::notARepository("old");
        prompt.offersCreate = true;
        AppStoreHarness h(withOverlay(AppState(), prompt));
        h.send(submitted);
        const PathPromptState* open = openPrompt<PathPromptState>(h);
        ASSERT_TRUE(open);
        if (!c.checked) {
            EXPECT_TRUE(h.lastJobIds().empty());
            EXPECT_TRUE(*open == prompt);
            continue;
        }
        EXPECT_EQ(h.lastJobIds(), Strings{"pathCheck"});
        EXPECT_TRUE(open->isChecking);
        EXPECT_FALSE(open->error);
        EXPECT_FALSE(open->offersCreate);
        h.runJob("pathCheck");
        EXPECT_EQ(h.fakes.repository->calls(), Strings{"repositoryRoot " + *c.checked});
        h.drain();
        EXPECT_EQ(h.reducedActions().back(), AppAction(OverlayAction::PathChecked{std::nullopt}));
    }
}

// A folder git refuses to read (one owned by another user) is not "no
// repository": the prompt shows git's reason and advice, and offers no new
// repository there. Other failures of the check still count as none.
TEST(SubmissionTest, AFolderGitRefusesShowsGitsReasonInsteadOfNotARepository) {
    const std::string refusal =
        "fatal: detected dubious ownership in repository at '/srv/r'\n"
        "To add an exception for this directory, call:\n\n\tgit config --global --add safe.directory /srv/r";
    struct Case {
        const char* name;
        std::exception_ptr failure;
        std::optional<core::Text> error;
        bool offersCreate;
    };
    const Case cases[] = {
        {"refused by git", std::make_exception_ptr(core::GitError::commandFailed("git rev-parse", 128, refusal)),
         core::Text::raw(refusal), false},
        {"git not found", std::make_exception_ptr(core::GitError::gitNotFound()), core::Text::notARepository("/srv/r"),
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PathPromptState prompt(false);
        prompt.path = typed("/srv/r");
        AppStoreHarness h(withOverlay(AppState(), prompt));
        h.fakes.repository->failWith("repositoryRoot", c.failure);
        h.send(submitted);
        h.runJob("pathCheck");
        h.drain();
        const PathPromptState* open = openPrompt<PathPromptState>(h);
        ASSERT_TRUE(open);
        EXPECT_FALSE(open->isChecking);
        EXPECT_EQ(open->error, c.error);
        EXPECT_EQ(open->offersCreate, c.offersCreate);
        EXPECT_FALSE(h.state().workspace);
    }
}

TEST(SubmissionTest, ASecondAddRepositorySubmitWhileCheckingStartsNothing) {
    PathPromptState prompt(false);
    prompt.path = typed("/a");
    AppStoreHarness h(withOverlay(AppState(), prompt));
    h.send(submitted);
    h.send(submitted);
    EXPECT_EQ(h.jobsWithID("pathCheck").size(), 1u);
    EXPECT_TRUE(h.lastJobIds().empty());
}

TEST(SubmissionTest, CreatingARepositoryReportsItsRootOrWhyNot) {
    struct Case {
        const char* name;
        std::optional<std::string> root;
        bool initFails;
        bool cancelled;
        std::optional<AppAction> sent;
    };
    const Case cases[] = {
        {"created: its root", "/new", false, false, AppAction(OverlayAction::RepositoryCreated{"/new"})},
        {"created, no root found: the path", std::nullopt, false, false,
         AppAction(OverlayAction::RepositoryCreated{"/new/sub"})},
        {"failed", std::nullopt, true, false,
         AppAction(OverlayAction::CreateRepositoryFailed{core::Text::raw("denied")})},
        {"failed after cancelling: silent", std::nullopt, true, true, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PathPromptState prompt(true);
        prompt.path = typed("/new/sub");
        AppStoreHarness h(withOverlay(AppState(), prompt));
        h.fakes.repository->answers.repositoryRoot = c.root;
        if (c.initFails) h.fakes.repository->fail("initRepository", core::GitError::invalidArgument("denied"));
        h.send(submitted);
        if (c.cancelled) h.store().cancelEffects();
        const std::size_t before = h.reducedActions().size();
        h.runJob("pathCheck");
        h.drain();
        const auto actions = h.reducedActions();
        if (!c.sent) {
            EXPECT_EQ(actions.size(), before);
            continue;
        }
        ASSERT_EQ(actions.size(), before + 1);
        EXPECT_EQ(actions.back(), *c.sent);
        EXPECT_EQ(h.fakes.repository->calls("initRepository"), Strings{"initRepository /new/sub"});
    }
}

TEST(SubmissionTest, NewBranchNamesAreSanitisedThenCreatedOrRenamed) {
    struct Case {
        const char* name;
        NewBranchState prompt;
        const char* typed;
        std::optional<AppAction> direct;  // none: the prompt just closes
        bool staysOpen;
    };
    const Case cases[] = {
        {"inner blanks become dashes", NewBranchState(), " my new branch ",
         AppAction(WorkspaceAction::CreateBranch{"my-new-branch", std::nullopt}), false},
        {"from a commit", NewBranchState("abc123"), "fix",
         AppAction(WorkspaceAction::CreateBranch{"fix", "abc123"}), false},
        {"an invalid name keeps the prompt", NewBranchState(), "bad..name", std::nullopt, true},
        {"renamed", NewBranchState(std::nullopt, "topic"), "topic two",
         AppAction(WorkspaceAction::RenameBranch{"topic", "topic-two"}), false},
        {"renamed to the same sanitised name", NewBranchState(std::nullopt, "topic"), "  topic ", std::nullopt,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        NewBranchState prompt = c.prompt;
        prompt.name = typed(c.typed);
        const AppState state = withOverlay(workspaceState(), prompt);
        AppStoreHarness h(state);
        h.send(submitted);
        if (c.staysOpen) {
            EXPECT_TRUE(h.state().overlay == Overlay(prompt));
            EXPECT_TRUE(h.lastJobIds().empty());
        } else if (!c.direct) {
            AppState expected = state;
            expected.overlay.reset();
            expected.now = h.state().now;
            EXPECT_TRUE(h.state() == expected);
            EXPECT_TRUE(h.lastJobIds().empty());
        } else {
            expectSameAsDirect(h, state, *c.direct);
        }
    }
}

TEST(SubmissionTest, CoAuthorsAreParsedAndAddedOnce) {
    struct Case {
        const char* name;
        const char* typed;
        std::vector<core::CoAuthor> before;
        std::vector<core::CoAuthor> after;
        std::optional<core::Text> error;  // set: the prompt stays open with it
    };
    const core::CoAuthor ann{"Ann", "ann@example.com"};
    const core::CoAuthor bob{"Bob", "bob@example.com"};
    const Case cases[] = {
        {"added at the end", "Ann <ann@example.com>", {bob}, {bob, ann}, std::nullopt},
        {"already there", " Ann <ann@example.com> ", {ann, bob}, {ann, bob}, std::nullopt},
        {"not a co-author", "Ann ann@example.com", {bob}, {bob}, core::Text::coAuthorInvalid()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = workspaceState();
        state.workspace->coAuthors = c.before;
        CoAuthorPromptState prompt;
        prompt.input = typed(c.typed);
        AppStoreHarness h(withOverlay(state, prompt));
        h.send(submitted);
        EXPECT_EQ(h.state().workspace->coAuthors, c.after);
        EXPECT_TRUE(h.lastJobIds().empty());
        if (c.error) {
            const CoAuthorPromptState* open = openPrompt<CoAuthorPromptState>(h);
            ASSERT_TRUE(open);
            EXPECT_EQ(open->error, c.error);
        } else {
            EXPECT_FALSE(h.state().overlay);
        }
    }
}

TEST(SubmissionTest, ATagIsCreatedUnderItsTrimmedName) {
    const AppState state = withOverlay(workspaceState(), NewTagState(typed("  v1.0 "), "abc"));
    AppStoreHarness h(state);
    h.send(submitted);
    expectSameAsDirect(h, state, WorkspaceAction::CreateTag{"v1.0", "abc"});

    const AppState invalid = withOverlay(workspaceState(), NewTagState(typed("v 1"), "abc"));
    AppStoreHarness kept(invalid);
    kept.send(submitted);
    EXPECT_TRUE(kept.state().overlay == invalid.overlay);
}

TEST(SubmissionTest, ANewWorktreeLeavesAnEmptyPickerWhileItIsAdded) {
    const NewWorktreeState prompt(typed(" feature/x "), "/r");
    AppStoreHarness h(withOverlay(workspaceState(), prompt));
    h.send(submitted);
    EXPECT_TRUE(h.state().overlay ==
                Overlay(WorktreePickerState({}, core::ListScroll{.offset = 0, .selected = std::nullopt})));

    tarv::testing::FakePorts fakes;
    AppState expected = withOverlay(workspaceState(), WorktreePickerState({}, core::ListScroll{}));
    const AppEffect effect = AppReducer(fakes.dependencies()).addWorktree(expected, prompt);
    Strings ids;
    for (const auto& job : effect.jobs) ids.push_back(job.id.value_or("-"));
    EXPECT_EQ(h.lastJobIds(), ids);

    for (const char* name : {"bad name", ""}) {
        SCOPED_TRACE(name);
        const NewWorktreeState refused(typed(name), "/r");
        AppStoreHarness k(withOverlay(workspaceState(), refused));
        k.send(submitted);
        EXPECT_TRUE(k.state().overlay == Overlay(refused));
        EXPECT_TRUE(k.lastJobIds().empty());
    }
    AppStoreHarness noRepository(withOverlay(AppState(), prompt));
    noRepository.send(submitted);
    EXPECT_TRUE(noRepository.state().overlay == Overlay(prompt));
}

// The clone prompt: the address as the rules rebuild it, the folder it goes
// into, and the inputs that keep the prompt open with an error. A
// destination that is empty or blank, or an address whose folder name is
// empty, "." or "..", must never clone into "/" + name or outside the folder.
TEST(SubmissionTest, CloneAddressesDestinationsAndRefusals) {
    struct Case {
        const char* name;
        const char* url;
        const char* destination;
        std::optional<std::string> hostedFullName;  // a row of the user's repositories, selected
        std::optional<std::string> cloneURL;        // none: refused
        std::string target;
        std::optional<core::Text> error;
    };
    const Case cases[] = {
        {"owner/name is rebuilt as https", "o/r", "/dev", std::nullopt, "https://github.com/o/r.git", "/dev/r",
         std::nullopt},
        {"an scp address is cloned as typed", "git@example.com:team/app.git", "/dev", std::nullopt,
         "git@example.com:team/app.git", "/dev/app", std::nullopt},
        {"an https address is cloned as typed", "https://example.com/a/b/c", "/dev", std::nullopt,
         "https://example.com/a/b/c", "/dev/c", std::nullopt},
        {"a lone tilde destination is home", "o/r", " ~ ", std::nullopt, "https://github.com/o/r.git", home + "/r",
         std::nullopt},
        {"tilde slash destination", "o/r", "~/src", std::nullopt, "https://github.com/o/r.git", home + "/src/r",
         std::nullopt},
        {"a selected hosted repository", "r", "/dev", "o/rep", "https://github.com/o/rep.git", "/dev/rep",
         std::nullopt},
        {"not an address", "no address here", "/dev", std::nullopt, std::nullopt, "", core::Text::cloneInvalidURL()},
        {"an empty destination", "o/r", "", std::nullopt, std::nullopt, "", core::Text::cloneInvalidDestination()},
        {"a blank destination", "o/r", "   ", std::nullopt, std::nullopt, "",
         core::Text::cloneInvalidDestination()},
        {"a hosted repository named ..", "", "/dev", "o/..", std::nullopt, "", core::Text::cloneInvalidURL()},
        {"a hosted repository named .", "", "/dev", "o/.", std::nullopt, "", core::Text::cloneInvalidURL()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ClonePromptState prompt(c.destination);
        prompt.url = typed(c.url);
        if (c.hostedFullName) {
            core::GitHubRepository hosted;
            hosted.fullName = *c.hostedFullName;
            hosted.cloneURL = "https://github.com/" + *c.hostedFullName + ".git";
            prompt.remote = GitHubRepositoryList::loaded({hosted});
            prompt.list.selected = 0;
        }
        prompt.error = core::Text::raw("earlier");
        AppStoreHarness h(withOverlay(workspaceState(), prompt));
        h.send(submitted);
        const ClonePromptState* open = openPrompt<ClonePromptState>(h);
        ASSERT_TRUE(open);
        if (!c.cloneURL) {
            EXPECT_FALSE(open->isCloning);
            EXPECT_EQ(open->error, c.error);
            EXPECT_TRUE(h.lastJobIds().empty());
            continue;
        }
        EXPECT_TRUE(open->isCloning);
        EXPECT_FALSE(open->error);
        EXPECT_EQ(h.lastJobIds(), Strings{"clone"});
        h.runJob("clone");
        EXPECT_EQ(h.fakes.repository->calls("clone"), Strings{"clone " + *c.cloneURL + " " + c.target});
    }
}

TEST(SubmissionTest, ACloneRunningRefusesAnotherSubmit) {
    ClonePromptState prompt("/dev");
    prompt.url = typed("o/r");
    AppStoreHarness h(withOverlay(workspaceState(), prompt));
    h.send(submitted);
    h.send(submitted);
    EXPECT_EQ(h.jobsWithID("clone").size(), 1u);
    EXPECT_TRUE(h.lastJobIds().empty());
}

TEST(SubmissionTest, NothingToSubmitInPickersAndSheets) {
    for (const Overlay& overlay : {Overlay(Overlay::Help{}), Overlay(RepositoryPickerState()), Overlay(PaletteState()),
                                   Overlay(StashPickerState({})), Overlay(Overlay::ConfirmDiscard{})}) {
        SCOPED_TRACE(static_cast<int>(overlay.kind()));
        const AppState state = withOverlay(workspaceState(), overlay);
        AppStoreHarness h(state);
        h.send(submitted);
        AppState expected = state;
        expected.now = h.state().now;
        EXPECT_TRUE(h.state() == expected);
        EXPECT_TRUE(h.lastJobIds().empty());
    }
}

}  // namespace
}  // namespace tarv::features
