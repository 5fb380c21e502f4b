#pragma once

#include "TarvCore/Concurrency/Channel.hpp"
#include "TarvCore/Ports/FileWatching.hpp"

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace tarv::system {

// The live file watcher on Linux: turns inotify events under a directory into
// a stream of empty elements, one per batch of events that holds a relevant
// path. Every directory of the tree is watched (new ones as they appear,
// symbolic links never followed); only modification, creation, deletion,
// moves and attribute changes are asked for, never reads or opens, so git's
// own reads of the tree cannot feed back into it. The first relevant batch
// after a quiet period is reported at once; later ones are merged until
// `latency` has passed since the last report. The stream keeps at most one
// undelivered element. It never ends by itself: when the consumer stops
// (its stop token fires or it drops the stream) the watching thread ends and
// its inotify descriptor is closed before `next` returns. A directory that
// cannot be watched gives a stream that stays silent; reaching the system's
// watch limit leaves the rest of the tree unwatched, quietly.
class InotifyWatcher final : public core::FileWatching {
public:
    using Change = std::monostate;

    struct Options {
        std::chrono::milliseconds latency{150};
        // At most this many watches per stream (the system's own limit
        // applies as well); lets tests reach the limit without changing the
        // machine's settings.
        std::optional<std::size_t> watchLimit;
    };

    InotifyWatcher() = default;
    explicit InotifyWatcher(Options options) : options_(options) {}

    // Starts watching at once (the existing tree is watched before this
    // returns) and never fails.
    std::shared_ptr<ChangeStream> changes(const std::string& directory) override;

    // Whether a changed path matters to the working tree's status. Inside a
    // git directory only its top-level HEAD and index and anything under
    // refs/ count, and never a lock file.
    static bool isRelevant(std::string_view path);

    // Whether events inside the directory at `path` can be relevant at all;
    // folders where they cannot (objects, logs and everything else of a git
    // directory except refs/) are not watched.
    static bool isWorthWatching(std::string_view path);

private:
    Options options_;
};

}  // namespace tarv::system
