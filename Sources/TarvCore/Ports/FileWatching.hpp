#pragma once

#include "TarvCore/Concurrency/Channel.hpp"

#include <memory>
#include <string>
#include <variant>

namespace tarv::core {

// Watches a working tree for changes.
class FileWatching {
public:
    // One element per relevant change under the directory. The consumer reads
    // until the stream ends or its stop token fires, which ends the watch.
    using ChangeStream = Channel<std::monostate>;

    virtual ~FileWatching() = default;

    // Starts watching `directory`; returns at once.
    virtual std::shared_ptr<ChangeStream> changes(const std::string& directory) = 0;
};

}  // namespace tarv::core
