#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarv::hosting {

// A JSON value from an untrusted source (the hosting service's answers, a
// stored session), parsed once within fixed size and nesting limits and read
// loosely: a field is asked for by key and by type, and a field of another
// type counts as missing. Integers are integral numbers within the range of
// std::int64_t only (3.0, 1e3 and 2^63 are not integers); booleans are true
// and false only. Text that is not valid UTF-8 is not JSON.
//
// A value shares its parsed document with the values read from it, so they
// can be kept and copied freely.
class LooseJSON {
public:
    // Bodies larger than this are not parsed.
    static constexpr std::size_t maxBytes = 16 * 1024 * 1024;
    // Arrays and objects nested deeper than this are not parsed.
    static constexpr int maxDepth = 64;

    // Whether the text is within both limits. A scan, not a parse: brackets
    // inside strings do not count.
    static bool isWithinLimits(std::string_view text) noexcept;

    // The parsed text; none when it is over a limit or is not JSON.
    static std::optional<LooseJSON> parse(std::string_view text);

    bool isObject() const;
    bool isArray() const;

    // Members of an object by key; none when this is not an object, the key
    // is missing, or its value is of another type (null included).
    std::optional<std::string> string(std::string_view key) const;
    std::optional<std::int64_t> integer(std::string_view key) const;
    std::optional<bool> boolean(std::string_view key) const;
    std::optional<LooseJSON> object(std::string_view key) const;
    // The member when it is an array whose every element is an object.
    std::optional<std::vector<LooseJSON>> objects(std::string_view key) const;

    // This value's elements when it is an array whose every element is an
    // object; none otherwise.
    std::optional<std::vector<LooseJSON>> asObjects() const;

private:
    LooseJSON(std::shared_ptr<const void> document, const void* node)
        : document_(std::move(document)), node_(node) {}

    // The whole parsed document (a nlohmann::json, kept opaque here) and the
    // value of it that this one stands for.
    std::shared_ptr<const void> document_;
    const void* node_ = nullptr;
};

}  // namespace tarv::hosting
