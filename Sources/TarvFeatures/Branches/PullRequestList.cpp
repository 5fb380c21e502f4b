#include "TarvFeatures/Branches/PullRequestList.hpp"

namespace tarv::features {

const std::vector<core::PullRequest>& PullRequestList::items() const {
    static const std::vector<core::PullRequest> none;
    const auto* loaded = std::get_if<Loaded>(&value);
    return loaded ? loaded->pullRequests : none;
}

}  // namespace tarv::features
