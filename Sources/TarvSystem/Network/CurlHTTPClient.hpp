#pragma once

#include <chrono>
#include <cstddef>
#include <stop_token>

#include "TarvCore/Ports/HTTPClient.hpp"

namespace tarv::system {

// The live HTTP client on libcurl: one easy handle per request, no cookie
// engine, no cache, TLS verification on, http and https only (also on
// redirects, which are followed), header names of the answer lower-cased.
// Any status is a successful return; transport failures, the time limit and
// cancellation throw core::HostingError::network with the transport's text;
// a body that is, once decoded (gzip, deflate...), larger than
// `maxBodyBytes` throws core::HostingError::invalidResponse as soon as it
// passes the limit, and the time limit covers the decoding too;
// a URL that cannot be parsed, and a header name or value that could break
// the request apart (CR, LF, NUL), throw core::HostingError::invalidResponse
// before any connection is made.
//
// libcurl is loaded (dlopen) when the first request is sent, not linked, so
// the program starts without it; a library that cannot be loaded fails that
// request with core::HostingError::network.
class CurlHTTPClient final : public core::HTTPClient {
public:
    // `timeoutSeconds` bounds each whole request, connection included.
    explicit CurlHTTPClient(int timeoutSeconds = 20);

    // The largest body kept: the most the hosting client parses as JSON.
    static constexpr std::size_t maxBodyBytes = 16 * 1024 * 1024;

    core::HTTPResponse send(const core::HTTPRequest& request, std::stop_token stop) override;

private:
    std::chrono::milliseconds timeout_;
};

}  // namespace tarv::system
