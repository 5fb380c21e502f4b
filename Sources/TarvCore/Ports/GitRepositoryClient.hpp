#pragma once

#include "TarvCore/Ports/RemoteSyncing.hpp"
#include "TarvCore/Ports/RepositoryReading.hpp"
#include "TarvCore/Ports/WorkingTreeWriting.hpp"

namespace tarv::core {

// All repository access in one reference: remotes, reads and writes.
class GitRepositoryClient : public RemoteSyncing, public RepositoryReading, public WorkingTreeWriting {
public:
    ~GitRepositoryClient() override = default;
};

}  // namespace tarv::core
