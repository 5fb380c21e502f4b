#pragma once

#include "TarvCore/Models/RepositoryEntry.hpp"

#include <stop_token>
#include <vector>

namespace tarv::core {

// The remembered repositories. Blocking calls.
class RepositoryRegistry {
public:
    virtual ~RepositoryRegistry() = default;

    virtual std::vector<RepositoryEntry> load(std::stop_token stop) = 0;
    virtual void save(const std::vector<RepositoryEntry>& entries, std::stop_token stop) = 0;
};

}  // namespace tarv::core
