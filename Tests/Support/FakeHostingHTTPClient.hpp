#pragma once

#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <stop_token>
#include <string>
#include <vector>

#include "TarvCore/Ports/HTTPClient.hpp"

namespace tarv::testing {

// A scripted fake of the HTTP port for hosting tests: it records every
// request and answers from a queue of steps, in order. A step answers a
// response, throws an error, or runs a function of the request (which may
// block, look at the stop token, or throw). An unscripted request throws
// core::HostingError::network naming its URL. Safe to use from several
// threads.
class FakeHostingHTTPClient final : public core::HTTPClient {
public:
    using Step = std::function<core::HTTPResponse(const core::HTTPRequest&, std::stop_token)>;

    core::HTTPResponse send(const core::HTTPRequest& request, std::stop_token stop) override;

    // Queues one answer.
    void answer(core::HTTPResponse response);
    // Queues one answer with a JSON (or any) body text.
    void answer(std::int64_t status, std::string body, std::map<std::string, std::string> headers = {});
    // Queues one failure.
    void fail(std::exception_ptr error);
    // Queues one step.
    void step(Step step);
    // With a responder set, requests beyond the queue go to it.
    void respondWith(Step responder);

    std::vector<core::HTTPRequest> requests() const;
    std::size_t requestCount() const;
    // The request at `index` (throws std::out_of_range when there is none).
    core::HTTPRequest request(std::size_t index) const;
    std::size_t pendingSteps() const;

private:
    mutable std::mutex mutex_;
    std::deque<Step> steps_;
    Step responder_;
    std::vector<core::HTTPRequest> requests_;
};

// A response with the given status, body text and headers.
core::HTTPResponse httpResponse(std::int64_t status, std::string body = {},
                                std::map<std::string, std::string> headers = {});

}  // namespace tarv::testing
