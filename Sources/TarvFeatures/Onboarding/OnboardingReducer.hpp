#pragma once

#include <string>
#include <utility>
#include <vector>

#include "TarvFeatures/Architecture/Dependencies.hpp"
#include "TarvFeatures/Architecture/Effect.hpp"
#include "TarvFeatures/Onboarding/OnboardingAction.hpp"
#include "TarvFeatures/Onboarding/OnboardingState.hpp"

namespace tarv::features {

// The onboarding state machine: the environment check, then (when the
// identity is incomplete) the identity form and its save into git's global
// configuration. Of the ports it uses only `git`.
//
//   idle -> checking -> failed(text) | gitMissing | gitTooOld | identity | done
//   failed, gitMissing, gitTooOld: retry -> checking; continue anyway ->
//       identity or done
//   identity: save -> (valid) saving -> done | failed(text); skip -> done
//
// Both jobs are anonymous, so a second retry runs a second probe beside the
// first and both answers are applied in turn.
class OnboardingReducer {
public:
    using State = OnboardingState;
    using Action = OnboardingAction;

    // The credential helper written when the user asks to store
    // credentials and none is configured: git's in-memory cache, kept for
    // an hour (the platform's key-store helper does not exist on Linux,
    // and a helper that writes plain-text files is not offered).
    static constexpr const char* credentialHelper = "cache --timeout=3600";

    explicit OnboardingReducer(Dependencies dependencies) : dependencies_(std::move(dependencies)) {}

    Effect<OnboardingAction> reduce(OnboardingState& state, OnboardingAction action) const;

    // The environment check: probes git and sends `reportLoaded`, or
    // `probeFailed` with the error's own description. The launch starts the
    // same job.
    Effect<OnboardingAction> environmentCheck() const;

    // The global configuration pairs the save writes, in order: user.name,
    // user.email (both trimmed), init.defaultBranch (trimmed; only when the
    // report has none and the text is not blank), credential.helper (only
    // when asked for and the report lists no helper).
    static std::vector<std::pair<std::string, std::string>> configurationPairs(const OnboardingState& state);

private:
    void applyReport(OnboardingState& state) const;
    Effect<OnboardingAction> save(OnboardingState& state) const;

    Dependencies dependencies_;
};

}  // namespace tarv::features
