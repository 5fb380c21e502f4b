#pragma once

#include <functional>
#include <stop_token>
#include <string>

#include "TarvCore/Ports/GitRepositoryClient.hpp"
#include "TarvFeatures/App/AppAction.hpp"

namespace tarv::features {

// The body of every job that reads the tags (job "tags", and job "branches"
// after the branches): the tags of `path` as `tagsLoaded`. A failed read
// sends nothing, so the list on screen stays.
void readTags(core::GitRepositoryClient& repository, const std::string& path,
              const std::function<void(AppAction)>& send, std::stop_token stop);

}  // namespace tarv::features
