#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "TarvCore/Models/Bytes.hpp"

namespace tarv::core {

// One request to the HTTP client port.
struct HTTPRequest {
    enum class Method { get, post };
    static constexpr std::array<Method, 2> allMethods = {Method::get, Method::post};
    static constexpr std::array<std::string_view, 2> methodRawValues = {"GET", "POST"};

    static constexpr std::string_view rawValue(Method method) {
        return methodRawValues[static_cast<std::size_t>(method)];
    }
    // "GET" or "POST" exactly; any other text (lower case too) gives none.
    static constexpr std::optional<Method> methodFromRawValue(std::string_view rawValue) {
        if (rawValue == "GET") return Method::get;
        if (rawValue == "POST") return Method::post;
        return std::nullopt;
    }

    Method method = Method::get;
    // The absolute URL.
    std::string url;
    // One value per header name.
    std::map<std::string, std::string> headers = {};
    // Empty: no body.
    Bytes body = {};

    bool operator==(const HTTPRequest&) const = default;
};

}  // namespace tarv::core
