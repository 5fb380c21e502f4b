#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarv::core::detail {

// Pieces the composed texts are built from.

inline std::string decimal(std::int64_t number) {
    return std::to_string(number);
}

inline std::string joined(const std::vector<std::string>& parts, std::string_view separator) {
    std::string result;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            result += separator;
        }
        result += parts[i];
    }
    return result;
}

inline bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

}  // namespace tarv::core::detail
