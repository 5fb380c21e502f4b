#include "TarvFeatures/History/TagsRead.hpp"

namespace tarv::features {

void readTags(core::GitRepositoryClient& repository, const std::string& path,
              const std::function<void(AppAction)>& send, std::stop_token stop) {
    try {
        send(WorkspaceAction::TagsLoaded{repository.tags(path, stop)});
    } catch (...) {
        // The list on screen stays.
    }
}

}  // namespace tarv::features
