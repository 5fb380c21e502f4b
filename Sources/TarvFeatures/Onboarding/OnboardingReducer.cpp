#include "TarvFeatures/Onboarding/OnboardingReducer.hpp"

#include <algorithm>
#include <exception>
#include <memory>
#include <variant>

#include "TarvCore/Errors/GitError.hpp"
#include "TarvCore/Errors/ProcessError.hpp"
#include "TarvCore/Ports/GitClient.hpp"
#include "TarvCore/Rules/EnvironmentRules.hpp"
#include "TarvCore/Rules/IdentityRules.hpp"
#include "TarvCore/Rules/Trimmed.hpp"
#include "TarvFeatures/App/ErrorText.hpp"

namespace tarv::features {

namespace {

using Step = OnboardingState::Step;
using OnboardingEffect = Effect<OnboardingAction>;

// The failure as the error itself describes it (its case and payload), not
// the user-facing text of ErrorText.
std::string ownDescription(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const core::GitError& git) {
        return git.description();
    } catch (const core::ProcessError& process) {
        return process.description();
    } catch (...) {
        return ErrorText::describe(std::current_exception());
    }
}

template <class Issue>
bool contains(const std::vector<core::EnvironmentIssue>& issues) {
    return std::any_of(issues.begin(), issues.end(),
                       [](const core::EnvironmentIssue& issue) { return std::holds_alternative<Issue>(issue.value); });
}

// Past the git checks: done, or the identity form prefilled from the
// report.
void proceed(OnboardingState& state, const std::vector<core::EnvironmentIssue>& issues) {
    if (!contains<core::EnvironmentIssue::IdentityMissing>(issues)) {
        state.step = Step::done();
        return;
    }
    const core::Identity identity = state.report ? state.report->identity : core::Identity{};
    state.name = core::EditableText(identity.name.value_or(""));
    state.email = core::EditableText(identity.email.value_or(""));
    state.focusedField = state.name.isEmpty() ? OnboardingState::Field::name : OnboardingState::Field::email;
    state.storeCredentials = contains<core::EnvironmentIssue::CredentialHelperMissing>(issues);
    state.step = Step::identity();
}

std::vector<core::EnvironmentIssue> issuesOf(const OnboardingState& state) {
    return state.report ? core::EnvironmentRules::issues(*state.report) : std::vector<core::EnvironmentIssue>{};
}

}  // namespace

void OnboardingReducer::applyReport(OnboardingState& state) const {
    const auto issues = issuesOf(state);
    if (contains<core::EnvironmentIssue::GitMissing>(issues)) {
        state.step = Step::gitMissing();
        return;
    }
    for (const auto& issue : issues) {
        if (const auto* old = std::get_if<core::EnvironmentIssue::GitTooOld>(&issue.value)) {
            state.step = Step::gitTooOld(old->found.description(), old->minimum.description());
            return;
        }
    }
    proceed(state, issues);
}

std::vector<std::pair<std::string, std::string>> OnboardingReducer::configurationPairs(const OnboardingState& state) {
    std::vector<std::pair<std::string, std::string>> pairs{
        {"user.name", core::trimmed(state.name.text())},
        {"user.email", core::trimmed(state.email.text())},
    };
    const std::string branch = core::trimmed(state.defaultBranch.text());
    const bool hasDefaultBranch = state.report && state.report->defaultBranch.has_value();
    if (!hasDefaultBranch && !branch.empty()) pairs.emplace_back("init.defaultBranch", branch);
    const bool hasHelper = state.report && !state.report->credentialHelpers.empty();
    if (state.storeCredentials && !hasHelper) pairs.emplace_back("credential.helper", credentialHelper);
    return pairs;
}

OnboardingEffect OnboardingReducer::save(OnboardingState& state) const {
    if (!core::IdentityRules::isValidName(state.name.text())) {
        state.validationError = OnboardingState::ValidationError::invalidName;
        return OnboardingEffect::none();
    }
    if (!core::IdentityRules::isValidEmail(state.email.text())) {
        state.validationError = OnboardingState::ValidationError::invalidEmail;
        return OnboardingEffect::none();
    }
    state.isSaving = true;
    return OnboardingEffect::run(std::nullopt, [git = dependencies_.git, pairs = configurationPairs(state)](
                                                   OnboardingEffect::Send send, std::stop_token stop) {
        for (const auto& [key, value] : pairs) {
            try {
                git->setGlobalConfig(key, value, stop);
            } catch (...) {
                send(OnboardingAction::saveFailed(ownDescription(std::current_exception())));
                return;
            }
        }
        send(OnboardingAction::saved());
    });
}

OnboardingEffect OnboardingReducer::environmentCheck() const {
    return OnboardingEffect::run(std::nullopt, [git = dependencies_.git](OnboardingEffect::Send send,
                                                                         std::stop_token stop) {
        core::EnvironmentReport report;
        try {
            report = git->probeEnvironment(stop);
        } catch (...) {
            send(OnboardingAction::probeFailed(ownDescription(std::current_exception())));
            return;
        }
        send(OnboardingAction::reportLoaded(std::move(report)));
    });
}

OnboardingEffect OnboardingReducer::reduce(OnboardingState& state, OnboardingAction action) const {
    struct Visitor {
        const OnboardingReducer& reducer;
        OnboardingState& state;

        OnboardingEffect check() {
            state.step = Step::checking();
            return reducer.environmentCheck();
        }
        OnboardingEffect operator()(OnboardingAction::Started&) { return check(); }
        OnboardingEffect operator()(OnboardingAction::RetryTapped&) { return check(); }
        OnboardingEffect operator()(OnboardingAction::ReportLoaded& loaded) {
            state.report = std::move(loaded.report);
            reducer.applyReport(state);
            return OnboardingEffect::none();
        }
        OnboardingEffect operator()(OnboardingAction::ProbeFailed& failed) {
            state.step = Step::failed(std::move(failed.message));
            return OnboardingEffect::none();
        }
        OnboardingEffect operator()(OnboardingAction::Edit& edit) {
            state.text(state.focusedField).apply(edit.edit);
            state.validationError.reset();
            return OnboardingEffect::none();
        }
        OnboardingEffect operator()(OnboardingAction::FocusField& focus) {
            state.focusedField = focus.field;
            return OnboardingEffect::none();
        }
        OnboardingEffect operator()(OnboardingAction::CycleField& cycle) {
            state.focusedField = OnboardingState::cycled(state.focusedField, cycle.reverse);
            return OnboardingEffect::none();
        }
        OnboardingEffect operator()(OnboardingAction::StoreCredentialsToggled& toggled) {
            state.storeCredentials = toggled.on;
            return OnboardingEffect::none();
        }
        OnboardingEffect operator()(OnboardingAction::ContinueAnywayTapped&) {
            if (state.report) proceed(state, issuesOf(state));
            return OnboardingEffect::none();
        }
        OnboardingEffect operator()(OnboardingAction::SaveTapped&) { return reducer.save(state); }
        OnboardingEffect operator()(OnboardingAction::Saved&) {
            state.isSaving = false;
            state.step = Step::done();
            return OnboardingEffect::none();
        }
        OnboardingEffect operator()(OnboardingAction::SaveFailed& failed) {
            state.isSaving = false;
            state.step = Step::failed(std::move(failed.message));
            return OnboardingEffect::none();
        }
        OnboardingEffect operator()(OnboardingAction::SkipTapped&) {
            state.step = Step::done();
            return OnboardingEffect::none();
        }
    };
    return std::visit(Visitor{*this, state}, action.value);
}

}  // namespace tarv::features
