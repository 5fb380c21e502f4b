#pragma once

#include "TarvCore/Models/HTTPRequest.hpp"
#include "TarvCore/Models/HTTPResponse.hpp"

#include <stop_token>

namespace tarv::core {

// Performs one HTTP request. Blocking.
class HTTPClient {
public:
    virtual ~HTTPClient() = default;

    // The response, whatever its status (header names lower-cased). Throws
    // when no HTTP answer came (HostingError::network) or it was unreadable.
    virtual HTTPResponse send(const HTTPRequest& request, std::stop_token stop) = 0;
};

}  // namespace tarv::core
