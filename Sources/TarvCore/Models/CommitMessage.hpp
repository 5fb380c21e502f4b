#pragma once

#include <string>
#include <vector>

#include "TarvCore/Models/CoAuthor.hpp"

namespace tarv::core {

// A commit message as the user composed it.
struct CommitMessage {
    // The subject line as typed.
    std::string summary;
    // The body as typed, possibly several lines.
    std::string description = {};
    // In the order added.
    std::vector<CoAuthor> coAuthors = {};

    // The complete message handed to git: the trimmed summary; a blank line
    // and the trimmed description when there is one; then the co-author
    // trailers not already in the description, after a single line feed when
    // the description's last line looks like a trailer ("Key: value" with a
    // key of ASCII letters and "-") and after a blank line otherwise. No
    // final line feed.
    std::string fullText() const;

    bool operator==(const CommitMessage&) const = default;
};

}  // namespace tarv::core
