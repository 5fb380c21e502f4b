#include "TarvFeatures/Onboarding/OnboardingState.hpp"

#include <gtest/gtest.h>

#include "TarvFeatures/Onboarding/OnboardingAction.hpp"

namespace tarv::features {
namespace {

using Field = OnboardingState::Field;

TEST(OnboardingState, InitialValues) {
    const OnboardingState state;
    EXPECT_EQ(state.step, OnboardingState::Step::idle());
    EXPECT_TRUE(state.step.is<OnboardingState::Step::Idle>());
    EXPECT_TRUE(state.name.isEmpty() && state.email.isEmpty());
    EXPECT_EQ(state.defaultBranch.text(), "main");
    EXPECT_FALSE(state.defaultBranch.allowsNewlines());
    EXPECT_EQ(state.focusedField, Field::name);
    EXPECT_FALSE(state.storeCredentials || state.isSaving);
    EXPECT_FALSE(state.validationError || state.report);
}

TEST(OnboardingState, FieldsCycleBothWays) {
    struct Case {
        Field from;
        bool reverse;
        Field to;
    };
    const Case cases[] = {
        {Field::name, false, Field::email},         {Field::email, false, Field::defaultBranch},
        {Field::defaultBranch, false, Field::name}, {Field::name, true, Field::defaultBranch},
        {Field::defaultBranch, true, Field::email}, {Field::email, true, Field::name},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OnboardingState::cycled(c.from, c.reverse), c.to) << static_cast<int>(c.from) << c.reverse;
    }
}

TEST(OnboardingState, TextOfEachField) {
    OnboardingState state;
    state.text(Field::name).setText("Ana");
    state.text(Field::email).setText("ana@example.com");
    state.text(Field::defaultBranch).setText("trunk");
    EXPECT_EQ(state.name.text(), "Ana");
    EXPECT_EQ(state.email.text(), "ana@example.com");
    EXPECT_EQ(std::as_const(state).text(Field::defaultBranch).text(), "trunk");
}

TEST(OnboardingAction, CasesCopyAndCompare) {
    const OnboardingAction report = OnboardingAction::reportLoaded(core::EnvironmentReport{"/usr/bin/git"});
    OnboardingAction copy = report;
    EXPECT_EQ(copy, report);
    copy = OnboardingAction::cycleField(true);
    EXPECT_EQ(copy, OnboardingAction(OnboardingAction::CycleField{true}));
    EXPECT_NE(copy, OnboardingAction::cycleField(false));
    EXPECT_EQ(OnboardingAction::focusField(Field::email), OnboardingAction(OnboardingAction::FocusField{Field::email}));
    EXPECT_EQ(std::variant_size_v<OnboardingAction::Value>, 13u);
}

}  // namespace
}  // namespace tarv::features
