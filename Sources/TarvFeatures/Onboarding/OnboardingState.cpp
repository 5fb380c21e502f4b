#include "TarvFeatures/Onboarding/OnboardingState.hpp"

namespace tarv::features {

OnboardingState::Field OnboardingState::cycled(Field field, bool reverse) {
    const auto count = allFields.size();
    const auto index = static_cast<std::size_t>(field);
    return allFields[reverse ? (index + count - 1) % count : (index + 1) % count];
}

core::EditableText& OnboardingState::text(Field field) {
    switch (field) {
        case Field::name:
            return name;
        case Field::email:
            return email;
        case Field::defaultBranch:
            break;
    }
    return defaultBranch;
}

const core::EditableText& OnboardingState::text(Field field) const {
    return const_cast<OnboardingState*>(this)->text(field);
}

}  // namespace tarv::features
