#include "TarvFeatures/Sync/PublishRepositoryState.hpp"

#include "TarvCore/Rules/RepositoryNameRules.hpp"

namespace tarv::features {

PublishRepositoryState::PublishRepositoryState(std::string_view name)
    : name(core::RepositoryNameRules::sanitize(name)) {}

std::string PublishRepositoryState::sanitizedName() const { return core::RepositoryNameRules::sanitize(name.text()); }

bool PublishRepositoryState::isValid() const { return core::RepositoryNameRules::isValid(sanitizedName()); }

PublishRepositoryState::Field PublishRepositoryState::fieldAfter(Field current, bool reverse) {
    const auto count = allCases.size();
    const auto index = static_cast<std::size_t>(current);
    return allCases[reverse ? (index + count - 1) % count : (index + 1) % count];
}

}  // namespace tarv::features
