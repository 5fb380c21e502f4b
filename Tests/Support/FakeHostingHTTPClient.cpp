#include "Support/FakeHostingHTTPClient.hpp"

#include <utility>

#include "TarvCore/Errors/HostingError.hpp"

namespace tarv::testing {

core::HTTPResponse httpResponse(std::int64_t status, std::string body, std::map<std::string, std::string> headers) {
    return core::HTTPResponse{status, std::move(headers), core::toBytes(body)};
}

core::HTTPResponse FakeHostingHTTPClient::send(const core::HTTPRequest& request, std::stop_token stop) {
    Step step;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        if (!steps_.empty()) {
            step = std::move(steps_.front());
            steps_.pop_front();
        } else {
            step = responder_;
        }
    }
    if (!step) throw core::HostingError::network("unscripted request: " + request.url);
    return step(request, stop);
}

void FakeHostingHTTPClient::answer(core::HTTPResponse response) {
    step([response = std::move(response)](const core::HTTPRequest&, std::stop_token) { return response; });
}

void FakeHostingHTTPClient::answer(std::int64_t status, std::string body, std::map<std::string, std::string> headers) {
    answer(httpResponse(status, std::move(body), std::move(headers)));
}

void FakeHostingHTTPClient::fail(std::exception_ptr error) {
    step([error](const core::HTTPRequest&, std::stop_token) -> core::HTTPResponse { std::rethrow_exception(error); });
}

void FakeHostingHTTPClient::step(Step step) {
    std::lock_guard lock(mutex_);
    steps_.push_back(std::move(step));
}

void FakeHostingHTTPClient::respondWith(Step responder) {
    std::lock_guard lock(mutex_);
    responder_ = std::move(responder);
}

std::vector<core::HTTPRequest> FakeHostingHTTPClient::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::size_t FakeHostingHTTPClient::requestCount() const {
    std::lock_guard lock(mutex_);
    return requests_.size();
}

core::HTTPRequest FakeHostingHTTPClient::request(std::size_t index) const {
    std::lock_guard lock(mutex_);
    return requests_.at(index);
}

std::size_t FakeHostingHTTPClient::pendingSteps() const {
    std::lock_guard lock(mutex_);
    return steps_.size();
}

}  // namespace tarv::testing
