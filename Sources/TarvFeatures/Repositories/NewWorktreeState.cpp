#include "TarvFeatures/Repositories/NewWorktreeState.hpp"

#include <algorithm>
#include <string_view>

#include "TarvCore/Rules/BranchNameRules.hpp"
#include "TarvCore/Rules/Trimmed.hpp"

namespace tarv::features {

bool NewWorktreeState::isValid() const { return core::BranchNameRules::isValid(core::trimmed(branch.text())); }

std::string NewWorktreeState::destination() const {
    std::string_view path = repositoryPath;
    if (path.ends_with('/')) path.remove_suffix(1);
    std::string_view parent = ".";
    std::string_view name = path;
    if (const std::size_t slash = path.rfind('/'); slash != std::string_view::npos) {
        parent = path.substr(0, slash);
        name = path.substr(slash + 1);
    }
    std::string branchPart = core::trimmed(branch.text());
    std::replace(branchPart.begin(), branchPart.end(), '/', '-');
    std::string result;
    result.reserve(parent.size() + name.size() + branchPart.size() + 2);
    result.append(parent).append("/").append(name).append("-").append(branchPart);
    return result;
}

}  // namespace tarv::features
