#pragma once

#include <exception>
#include <string>
#include <utility>

namespace tarv::core {

// A discard that failed after its safety snapshot was made: some of its
// changes may already be gone, and `snapshot` (the reference the discard's
// undo restores from) holds all of them. `cause` is the failure that stopped
// the discard; the words a user sees are its own.
struct UnfinishedDiscard : std::exception {
    std::string snapshot;
    std::exception_ptr cause;

    UnfinishedDiscard(std::string snapshot, std::exception_ptr cause)
        : snapshot(std::move(snapshot)), cause(std::move(cause)) {}

    const char* what() const noexcept override { return "unfinished discard"; }
};

}  // namespace tarv::core
