#pragma once

#include "TarvCore/Models/ConflictChoice.hpp"

#include <string>
#include <vector>

namespace tarv::core {

// One conflict of a file: the working branch's lines and the incoming lines.
struct ConflictBlock {
    // Lines between the opening marker and the separator.
    std::vector<std::string> current;
    // Lines between the separator and the closing marker.
    std::vector<std::string> incoming;
    // Text after the opening marker, trimmed ("HEAD" in git's usual output).
    std::string currentLabel;
    // Text after the closing marker, trimmed.
    std::string incomingLabel;

    bool operator==(const ConflictBlock&) const = default;

    // The lines that replace the block for a choice (both: current, then
    // incoming).
    std::vector<std::string> lines(ConflictChoice choice) const {
        switch (choice) {
            case ConflictChoice::current: return current;
            case ConflictChoice::incoming: return incoming;
            case ConflictChoice::both: break;
        }
        std::vector<std::string> result = current;
        result.insert(result.end(), incoming.begin(), incoming.end());
        return result;
    }
};

}  // namespace tarv::core
