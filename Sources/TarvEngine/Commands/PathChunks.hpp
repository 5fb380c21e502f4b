#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace tarv::engine {

// Cuts a list of paths for commands that must take them as arguments (those
// that cannot read them from standard input), so that no command line comes
// near the system's limit: consecutive groups in the caller's order of at
// most `maxPaths` paths, a group also ending before its arguments would pass
// `maxBytes` (each path counted with its terminating NUL and its pointer). A
// single path longer than that is a group of its own.
struct PathChunks {
    static constexpr std::size_t maxPaths = 400;
    static constexpr std::size_t maxBytes = 256 * 1024;

    static std::vector<std::span<const std::string>> split(std::span<const std::string> paths,
                                                           std::size_t maxPaths = PathChunks::maxPaths,
                                                           std::size_t maxBytes = PathChunks::maxBytes);

    // `prefix` followed by the paths of one group.
    static std::vector<std::string> arguments(std::vector<std::string> prefix, std::span<const std::string> group);
};

}  // namespace tarv::engine
