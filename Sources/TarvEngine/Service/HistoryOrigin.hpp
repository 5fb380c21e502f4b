#pragma once

#include <optional>
#include <stop_token>
#include <string>

#include "TarvCore/Ports/FileStore.hpp"
#include "TarvEngine/Service/GitExecutor.hpp"

namespace tarv::engine {

// Where a plain `git log` of a repository starts and what its walk sees,
// told by the raw bytes of the files git reads for it: HEAD and the ref it
// names, packed-refs, the replace refs, the shallow and grafts files. Two
// equal readings mean that the same `git log` walks the same commits; any
// change to those files (a commit, a branch switch, a reset, a fetch that
// deepens a shallow clone, packing the refs) makes the readings differ.
// Nothing is interpreted beyond following HEAD to its ref, so a reading can
// only be too cautious, never too trusting.
struct HistoryOrigin {
    // Where those files are, as git names them for this repository (its
    // worktree's HEAD, the common refs).
    struct Locations {
        std::string head;
        std::string refs;
        std::string packedRefs;
        std::string shallow;
        std::string grafts;
        // Present when the repository keeps its refs in a reftable.
        std::string reftable;

        bool operator==(const Locations&) const = default;
    };

    // Asks git (one read-only `rev-parse`) where the files are; relative
    // answers are made absolute against `repository`. None when git cannot
    // say (not a repository). Process errors pass through.
    static std::optional<Locations> locate(const GitExecutor& executor, const std::string& repository,
                                           std::stop_token stop);

    // The files' bytes right now, as one comparable text. None when the
    // start cannot be told from the files: refs in a reftable, HEAD missing,
    // naming a ref of its own worktree (bisect, rewritten) or a symbolic
    // ref, or a file that cannot be read.
    static std::optional<std::string> read(const Locations& locations, const core::FileStore& files);
};

}  // namespace tarv::engine
