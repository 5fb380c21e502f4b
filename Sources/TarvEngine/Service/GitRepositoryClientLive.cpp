#include "TarvEngine/Service/GitRepositoryClientLive.hpp"

namespace tarv::engine {

GitRepositoryClientLive::GitRepositoryClientLive(std::shared_ptr<GitExecutorProvider> provider,
                                                 std::shared_ptr<core::FileStore> files,
                                                 std::shared_ptr<core::AppClock> clock)
    : provider_(std::move(provider)),
      files_(std::move(files)),
      clock_(std::move(clock)),
      writeQueue_(std::make_shared<GitWriteQueue>()),
      historyStreams_(std::make_shared<HistoryStreams>(files_)) {}

}  // namespace tarv::engine
