#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarv::core {

// A git version: major, minor, patch. Ordered by major, then minor, then
// patch.
struct GitVersion {
    std::int64_t major = 0;
    std::int64_t minor = 0;
    std::int64_t patch = 0;

    // Reads the output of `git --version`: the word after the first word
    // "version", cut at "." (empty pieces dropped), each piece read by its
    // leading digits. Needs a number in the first two pieces; the patch is 0
    // when the third piece is missing or has no number. Vendor suffixes such
    // as " (Apple Git-146)" or ".windows.1" are ignored.
    static std::optional<GitVersion> parse(std::string_view output);

    // "major.minor.patch", e.g. "2.39.3".
    std::string description() const;

    bool operator==(const GitVersion&) const = default;
    auto operator<=>(const GitVersion&) const = default;
};

}  // namespace tarv::core
