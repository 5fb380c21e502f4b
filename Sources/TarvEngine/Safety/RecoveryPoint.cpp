#include "TarvEngine/Safety/RecoveryPoint.hpp"

#include "TarvEngine/Commands/GitReadCommands.hpp"
#include "TarvEngine/Safety/SnapshotCommands.hpp"

namespace tarv::engine {

std::string RecoveryPoint::record(const std::string& repository, std::int64_t now, std::stop_token stop) const {
    const auto status = GitReadCommands{executor}.status(repository, *files, stop);
    std::vector<std::string> paths = SnapshotCommands::pathsTouchedBy(status.files);
    return SnapshotCommands{executor, files}.create(repository, paths, now, stop);
}

}  // namespace tarv::engine
