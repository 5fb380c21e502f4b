// The onboarding flow through the application store: the environment check,
// the identity form and the save into git's global configuration.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Support/AppStoreHarness.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvFeatures/Onboarding/OnboardingReducer.hpp"

namespace tarv::features {
namespace {

using testing::AppStoreHarness;
using Ids = std::vector<std::string>;
using Step = OnboardingState::Step;
using Field = OnboardingState::Field;

core::EnvironmentReport report(std::optional<std::string> name, std::optional<std::string> email,
                               core::GitVersion version = {2, 39, 2}) {
    core::EnvironmentReport report;
    report.gitPath = "/usr/bin/git";
    report.gitVersion = version;
    report.identity = core::Identity{std::move(name), std::move(email)};
    report.credentialHelpers = {"cache"};
    report.defaultBranch = "main";
    return report;
}

// Launches, lets the environment check answer, and returns the harness.
std::unique_ptr<AppStoreHarness> checked(const core::EnvironmentReport& answer) {
    auto h = std::make_unique<AppStoreHarness>();
    h->fakes.git->answers.report = answer;
    h->send(AppAction::Launch{"/tmp"});
    h->settle();
    return h;
}

TEST(OnboardingFlowTest, TheCheckGoesGitMissingThenTooOldThenIdentityThenDone) {
    core::EnvironmentReport noGit;
    auto tooOldWithoutIdentity = report(std::nullopt, std::nullopt, {2, 20, 1});
    auto noHelper = report(std::nullopt, std::nullopt);
    noHelper.credentialHelpers.clear();
    auto nameOnly = report("Ada", std::nullopt);
    auto complete = report("Ada", "ada@example.com");
    complete.credentialHelpers.clear();
    complete.defaultBranch.reset();

    struct Case {
        const char* name;
        core::EnvironmentReport report;
        Step step;
        std::string nameField;
        Field focus;
        bool storeCredentials;
    };
    const Case cases[] = {
        {"git missing (nothing else counts)", noGit, Step::gitMissing(), "", Field::name, false},
        {"too old comes before the identity", tooOldWithoutIdentity, Step::gitTooOld("2.20.1", "2.30.0"), "",
         Field::name, false},
        {"no identity and no helper", noHelper, Step::identity(), "", Field::name, true},
        {"a name but no e-mail", nameOnly, Step::identity(), "Ada", Field::email, false},
        {"identity complete: done, whatever else is missing", complete, Step::done(), "", Field::name, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto h = checked(c.report);
        const auto& onboarding = h->state().onboarding;
        EXPECT_EQ(onboarding.step, c.step);
        EXPECT_EQ(onboarding.report, c.report);
        EXPECT_EQ(onboarding.name.text(), c.nameField);
        EXPECT_EQ(onboarding.email.text(), "");
        EXPECT_EQ(onboarding.focusedField, c.focus);
        EXPECT_EQ(onboarding.storeCredentials, c.storeCredentials);
        EXPECT_EQ(onboarding.defaultBranch.text(), "main");
        EXPECT_EQ(h->state().phase() == AppState::Phase::onboarding, !c.step.is<Step::Done>());
    }
}

TEST(OnboardingFlowTest, AFailedProbeShowsTheErrorsOwnDescriptionAndRetryChecksAgain) {
    AppStoreHarness h;
    h.fakes.git->fail("probeEnvironment", core::GitError::gitNotFound());
    h.send(AppAction::Launch{"/tmp"});
    h.settle();
    EXPECT_EQ(h.state().onboarding.step, Step::failed(core::GitError::gitNotFound().description()));

    h.fakes.git->succeed("probeEnvironment");
    h.fakes.git->answers.report = report("Ada", "ada@example.com");
    h.send(OnboardingAction::retryTapped());
    EXPECT_EQ(h.state().onboarding.step, Step::checking());
    EXPECT_EQ(h.lastJobIds(), Ids{"-"});
    h.settle();
    EXPECT_EQ(h.state().onboarding.step, Step::done());
    EXPECT_EQ(h.fakes.git->calls(), (Ids{"probeEnvironment", "probeEnvironment"}));
}

TEST(OnboardingFlowTest, ContinuingPastAnOldGitGoesOnToTheIdentityCheck) {
    auto h = checked(report(std::nullopt, "ada@example.com", {2, 1, 0}));
    ASSERT_TRUE(h->state().onboarding.step.is<Step::GitTooOld>());
    h->send(OnboardingAction::continueAnywayTapped());
    EXPECT_EQ(h->state().onboarding.step, Step::identity());
    EXPECT_EQ(h->state().onboarding.email.text(), "ada@example.com");
    EXPECT_EQ(h->state().onboarding.focusedField, Field::name);

    // Without a report there is nothing to continue with.
    AppStoreHarness failed;
    failed.fakes.git->fail("probeEnvironment", core::GitError::gitNotFound());
    failed.send(AppAction::Launch{"/tmp"});
    failed.settle();
    const auto before = failed.state().onboarding;
    failed.send(OnboardingAction::continueAnywayTapped());
    EXPECT_EQ(failed.state().onboarding, before);
}

TEST(OnboardingFlowTest, FieldsCycleInOrderAndWrap) {
    auto h = checked(report(std::nullopt, std::nullopt));
    h->send(OnboardingAction::cycleField(true));
    EXPECT_EQ(h->state().onboarding.focusedField, Field::defaultBranch);
    h->send(OnboardingAction::cycleField(false));
    EXPECT_EQ(h->state().onboarding.focusedField, Field::name);
    h->send(OnboardingAction::focusField(Field::email));
    h->send(OnboardingAction::edit(core::TextEdit::insert("x@y.z")));
    EXPECT_EQ(h->state().onboarding.email.text(), "x@y.z");
}

// Fills the identity form of an onboarding that found no identity.
std::unique_ptr<AppStoreHarness> form(core::EnvironmentReport answer, const std::string& name,
                                      const std::string& email) {
    auto h = checked(answer);
    h->send(OnboardingAction::focusField(Field::name));
    h->send(OnboardingAction::edit(core::TextEdit::insert(name)));
    h->send(OnboardingAction::focusField(Field::email));
    h->send(OnboardingAction::edit(core::TextEdit::insert(email)));
    return h;
}

TEST(OnboardingFlowTest, SavingWritesTheGlobalPairsInOrderThenFinishes) {
    auto withoutBranchOrHelper = report(std::nullopt, std::nullopt);
    withoutBranchOrHelper.defaultBranch.reset();
    withoutBranchOrHelper.credentialHelpers.clear();
    auto configured = report(std::nullopt, std::nullopt);

    struct Case {
        const char* name;
        core::EnvironmentReport report;
        std::optional<bool> storeCredentials;  // toggled to this when set
        bool clearBranch;
        Ids calls;
    };
    const std::string helper = std::string("setGlobalConfig credential.helper ") + OnboardingReducer::credentialHelper;
    const Case cases[] = {
        {"nothing configured, helper asked for", withoutBranchOrHelper, std::nullopt, false,
         {"setGlobalConfig user.name Ada Lovelace", "setGlobalConfig user.email ada@example.com",
          "setGlobalConfig init.defaultBranch main", helper}},
        {"helper not asked for", withoutBranchOrHelper, false, false,
         {"setGlobalConfig user.name Ada Lovelace", "setGlobalConfig user.email ada@example.com",
          "setGlobalConfig init.defaultBranch main"}},
        {"default branch cleared", withoutBranchOrHelper, false, true,
         {"setGlobalConfig user.name Ada Lovelace", "setGlobalConfig user.email ada@example.com"}},
        {"branch and helper already configured", configured, true, false,
         {"setGlobalConfig user.name Ada Lovelace", "setGlobalConfig user.email ada@example.com"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto h = form(c.report, "  Ada Lovelace ", " ada@example.com\t");
        if (c.storeCredentials) h->send(OnboardingAction::storeCredentialsToggled(*c.storeCredentials));
        if (c.clearBranch) {
            h->send(OnboardingAction::focusField(Field::defaultBranch));
            for (int i = 0; i < 4; ++i) h->send(OnboardingAction::edit(core::TextEdit::backspace()));
            h->send(OnboardingAction::edit(core::TextEdit::insert("  ")));
        }
        h->send(OnboardingAction::saveTapped());
        EXPECT_TRUE(h->state().onboarding.isSaving);
        EXPECT_EQ(h->lastJobIds(), Ids{"-"});
        h->settle();
        EXPECT_EQ(h->fakes.git->calls("setGlobalConfig"), c.calls);
        EXPECT_FALSE(h->state().onboarding.isSaving);
        EXPECT_EQ(h->state().onboarding.step, Step::done());
    }
}

// Fails setting one key; the others are written.
class FailingOnKey final : public core::GitClient {
public:
    FailingOnKey(std::shared_ptr<core::GitClient> inner, std::string key) : inner_(std::move(inner)), key_(std::move(key)) {}
    core::EnvironmentReport probeEnvironment(std::stop_token stop) override { return inner_->probeEnvironment(stop); }
    void setGlobalConfig(const std::string& key, const std::string& value, std::stop_token stop) override {
        inner_->setGlobalConfig(key, value, stop);
        if (key == key_) throw core::GitError::commandFailed("git config", 255, "error: could not lock config file");
    }

private:
    std::shared_ptr<core::GitClient> inner_;
    std::string key_;
};

TEST(OnboardingFlowTest, ASaveStopsAtTheFirstFailingKeyAndShowsTheFailure) {
    testing::FakePorts fakes;
    auto answer = report(std::nullopt, std::nullopt);
    answer.defaultBranch.reset();
    fakes.git->answers.report = answer;
    auto dependencies = fakes.dependencies();
    dependencies.git = std::make_shared<FailingOnKey>(fakes.git, "user.email");
    AppStoreHarness h(fakes, dependencies);
    h.send(AppAction::Launch{"/tmp"});
    h.settle();
    h.send(OnboardingAction::focusField(Field::name));
    h.send(OnboardingAction::edit(core::TextEdit::insert("Ada")));
    h.send(OnboardingAction::focusField(Field::email));
    h.send(OnboardingAction::edit(core::TextEdit::insert("ada@example.com")));
    h.send(OnboardingAction::saveTapped());
    h.settle();
    EXPECT_EQ(fakes.git->calls("setGlobalConfig"),
              (Ids{"setGlobalConfig user.name Ada", "setGlobalConfig user.email ada@example.com"}));
    EXPECT_EQ(h.state().onboarding.step,
              Step::failed(core::GitError::commandFailed("git config", 255, "error: could not lock config file")
                               .description()));
    EXPECT_FALSE(h.state().onboarding.isSaving);
    EXPECT_NE(h.state().phase(), AppState::Phase::welcome);
}

TEST(OnboardingFlowTest, AnInvalidFormIsNotSavedUntilTheNextEditClearsTheError) {
    struct Case {
        const char* name;
        std::string nameField;
        std::string email;
        OnboardingState::ValidationError error;
    };
    const Case cases[] = {
        {"blank name", "   ", "ada@example.com", OnboardingState::ValidationError::invalidName},
        {"e-mail without domain dot", "Ada", "ada@example", OnboardingState::ValidationError::invalidEmail},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto h = form(report(std::nullopt, std::nullopt), c.nameField, c.email);
        h->send(OnboardingAction::saveTapped());
        EXPECT_EQ(h->state().onboarding.validationError, c.error);
        EXPECT_FALSE(h->state().onboarding.isSaving);
        EXPECT_TRUE(h->lastJobIds().empty());
        h->send(OnboardingAction::edit(core::TextEdit::moveLeft()));
        EXPECT_EQ(h->state().onboarding.validationError, std::nullopt);
    }
}

TEST(OnboardingFlowTest, SkippingTheFormFinishesWithoutWritingAndLetsTheLaunchGoOn) {
    auto h = checked(report(std::nullopt, std::nullopt));
    EXPECT_EQ(h->state().phase(), AppState::Phase::onboarding);
    h->send(OnboardingAction::skipTapped());
    EXPECT_EQ(h->state().onboarding.step, Step::done());
    EXPECT_TRUE(h->fakes.git->calls("setGlobalConfig").empty());
    EXPECT_EQ(h->state().phase(), AppState::Phase::welcome);
}

}  // namespace
}  // namespace tarv::features
