#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "TarvCore/Models/Bytes.hpp"

namespace tarv::core {

// One answer from the HTTP client port.
struct HTTPResponse {
    std::int64_t status = 0;
    // Header names lower-cased by the client; one value per name.
    std::map<std::string, std::string> headers = {};
    Bytes body = {};

    // The body decoded as UTF-8, each ill-formed sequence replaced by U+FFFD.
    std::string text() const;

    bool operator==(const HTTPResponse&) const = default;
};

}  // namespace tarv::core
