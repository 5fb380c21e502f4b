#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarv::system {

// The one line an askpass client sends: the server's token and git's prompt.
struct AskpassRequest {
    std::string token;
    std::string prompt;

    bool operator==(const AskpassRequest&) const = default;

    // Compact JSON {"token":…,"prompt":…} without a line break. Invalid UTF-8
    // (the prompt comes from the command line) is repaired first, so the
    // encoding never fails and is always valid JSON.
    std::string encode() const;

    // Strict decoding of one wire line: a JSON object whose "token" and
    // "prompt" members are strings; other members are ignored. Oversized or
    // too deeply nested input, invalid JSON or invalid UTF-8 give empty.
    static std::optional<AskpassRequest> decode(std::string_view line);
};

}  // namespace tarv::system
