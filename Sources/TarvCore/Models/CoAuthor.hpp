#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarv::core {

// A co-author of a commit, as typed into the co-author prompt.
struct CoAuthor {
    std::string name;
    std::string email;

    // Reads "Name <address>": the text is trimmed, must end with ">", and the
    // last "<" opens the address. Name and address are trimmed. None when the
    // name is empty or holds "<", ">", a line feed or a carriage return, or
    // when the address lacks "@" or holds one of those or a space.
    static std::optional<CoAuthor> parse(std::string_view text);

    // "Co-authored-by: " + name + " <" + email + ">", nothing trimmed or
    // escaped.
    std::string trailer() const { return "Co-authored-by: " + name + " <" + email + ">"; }

    bool operator==(const CoAuthor&) const = default;
};

}  // namespace tarv::core
