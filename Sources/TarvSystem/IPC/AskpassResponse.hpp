#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarv::system {

// The server's one-line answer: `ok` with the user's answer, or a refusal.
struct AskpassResponse {
    bool ok = false;
    std::optional<std::string> value;

    bool operator==(const AskpassResponse&) const = default;

    // The refusal {"ok":false}.
    static AskpassResponse refusal() { return {}; }

    // Compact JSON; "value" is left out when absent. Invalid UTF-8 in the
    // answer is repaired, so the encoding never fails.
    std::string encode() const;

    // Strict decoding: "ok" must be a boolean; "value" may be missing or
    // null (absent) and must otherwise be a string; other members ignored.
    static std::optional<AskpassResponse> decode(std::string_view line);
};

}  // namespace tarv::system
