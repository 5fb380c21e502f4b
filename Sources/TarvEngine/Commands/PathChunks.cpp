#include "TarvEngine/Commands/PathChunks.hpp"

namespace tarv::engine {

std::vector<std::span<const std::string>> PathChunks::split(std::span<const std::string> paths, std::size_t maxPaths,
                                                            std::size_t maxBytes) {
    std::vector<std::span<const std::string>> groups;
    std::size_t start = 0;
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::size_t cost = paths[i].size() + 1 + sizeof(char*);
        const std::size_t count = i - start;
        if (count > 0 && (count == maxPaths || bytes + cost > maxBytes)) {
            groups.push_back(paths.subspan(start, count));
            start = i;
            bytes = 0;
        }
        bytes += cost;
    }
    if (start < paths.size()) groups.push_back(paths.subspan(start));
    return groups;
}

std::vector<std::string> PathChunks::arguments(std::vector<std::string> prefix, std::span<const std::string> group) {
    prefix.insert(prefix.end(), group.begin(), group.end());
    return prefix;
}

}  // namespace tarv::engine
