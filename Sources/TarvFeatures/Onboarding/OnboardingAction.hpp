#pragma once

#include <string>
#include <type_traits>
#include <utility>
#include <variant>

#include "TarvCore/Models/EnvironmentReport.hpp"
#include "TarvCore/Models/TextEdit.hpp"
#include "TarvFeatures/Onboarding/OnboardingState.hpp"

namespace tarv::features {

// What happens on the onboarding screen; payload of the application's
// onboarding action.
struct OnboardingAction {
    struct ReportLoaded {
        core::EnvironmentReport report;
        bool operator==(const ReportLoaded&) const = default;
    };
    // The probe failed with this description.
    struct ProbeFailed {
        std::string message;
        bool operator==(const ProbeFailed&) const = default;
    };
    // An edit of the focused field.
    struct Edit {
        core::TextEdit edit;
        bool operator==(const Edit&) const = default;
    };
    struct FocusField {
        OnboardingState::Field field = OnboardingState::Field::name;
        bool operator==(const FocusField&) const = default;
    };
    struct CycleField {
        bool reverse = false;
        bool operator==(const CycleField&) const = default;
    };
    struct StoreCredentialsToggled {
        bool on = false;
        bool operator==(const StoreCredentialsToggled&) const = default;
    };
    struct SaveFailed {
        std::string message;
        bool operator==(const SaveFailed&) const = default;
    };
    struct Started {
        bool operator==(const Started&) const = default;
    };
    struct RetryTapped {
        bool operator==(const RetryTapped&) const = default;
    };
    struct ContinueAnywayTapped {
        bool operator==(const ContinueAnywayTapped&) const = default;
    };
    struct SaveTapped {
        bool operator==(const SaveTapped&) const = default;
    };
    struct Saved {
        bool operator==(const Saved&) const = default;
    };
    struct SkipTapped {
        bool operator==(const SkipTapped&) const = default;
    };

    using Value = std::variant<ReportLoaded, ProbeFailed, Edit, FocusField, CycleField, StoreCredentialsToggled,
                               SaveFailed, Started, RetryTapped, ContinueAnywayTapped, SaveTapped, Saved, SkipTapped>;
    Value value;

    template <class Case>
        requires std::is_constructible_v<Value, Case&&>
    OnboardingAction(Case&& action) : value(std::forward<Case>(action)) {}  // NOLINT: implicit on purpose

    // Special members and equality are compiled once, in the .cpp.
    OnboardingAction(const OnboardingAction&);
    OnboardingAction(OnboardingAction&&) noexcept;
    OnboardingAction& operator=(const OnboardingAction&);
    OnboardingAction& operator=(OnboardingAction&&) noexcept;
    ~OnboardingAction();
    bool operator==(const OnboardingAction&) const;

    static OnboardingAction reportLoaded(core::EnvironmentReport report);
    static OnboardingAction probeFailed(std::string message);
    static OnboardingAction edit(core::TextEdit edit);
    static OnboardingAction focusField(OnboardingState::Field field);
    static OnboardingAction cycleField(bool reverse);
    static OnboardingAction storeCredentialsToggled(bool on);
    static OnboardingAction saveFailed(std::string message);
    static OnboardingAction started();
    static OnboardingAction retryTapped();
    static OnboardingAction continueAnywayTapped();
    static OnboardingAction saveTapped();
    static OnboardingAction saved();
    static OnboardingAction skipTapped();
};

}  // namespace tarv::features
