#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace tarv::testing {

// A small HTTP/1.1 server on 127.0.0.1 (an ephemeral port) for tests of
// HTTP clients and fake hosting services. Routes are scripted by method and
// path; every request is captured; a response can stall (send nothing and
// hold the connection) or redirect. Connections are kept alive unless the
// client or the response asks to close. Stops (and joins every thread) in
// `stop` or the destructor.
class LoopbackHTTPServer {
public:
    struct Request {
        std::string method;
        std::string target;  // as sent: path and query
        std::string path;    // the target up to "?"
        std::string query;   // after "?", without it
        std::string version; // "HTTP/1.1"
        std::vector<std::pair<std::string, std::string>> headerList;  // as received
        std::map<std::string, std::string> headers;  // names lower-cased; repeats joined with ", "
        std::string body;    // after Content-Length or chunked decoding
        std::size_t connection = 0;  // 1 for the first connection accepted, and so on

        // The value of a header, by name in any case.
        std::optional<std::string> header(std::string_view name) const;
    };

    struct Response {
        int status = 200;
        std::string reason;  // empty: the usual phrase for the status
        std::vector<std::pair<std::string, std::string>> headers;
        std::string body;
        bool chunked = false;  // send the body with chunked transfer coding
        bool stall = false;    // send nothing; hold the connection until released
        bool close = false;    // close the connection after this response

        static Response text(int status, std::string body, std::string contentType = "text/plain");
        static Response json(int status, std::string body);
        static Response redirect(int status, std::string location);
        static Response stalled();
        Response& with(std::string name, std::string value);
    };

    using Handler = std::function<Response(const Request&)>;

    LoopbackHTTPServer();
    ~LoopbackHTTPServer();
    LoopbackHTTPServer(const LoopbackHTTPServer&) = delete;
    LoopbackHTTPServer& operator=(const LoopbackHTTPServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:<port>"
    std::string baseURL() const;
    // The base URL followed by `pathAndQuery` (which starts with "/").
    std::string url(std::string_view pathAndQuery) const;

    // Routes by method ("*" for any) and exact path (the query is not part
    // of it). A later route for the same method and path replaces the
    // earlier one. Unrouted requests go to the fallback (404 by default).
    void route(const std::string& method, const std::string& path, Handler handler);
    void route(const std::string& method, const std::string& path, Response response);
    // Serves the responses in order; the last one repeats.
    void routeSequence(const std::string& method, const std::string& path, std::vector<Response> responses);
    void fallback(Handler handler);

    // Every request received so far, in arrival order.
    std::vector<Request> requests() const;
    std::size_t requestCount() const;
    std::size_t connectionCount() const;
    // Waits until at least `count` requests have arrived; false at the limit.
    bool waitForRequests(std::size_t count, std::chrono::milliseconds limit) const;

    // Closes every stalled connection (and lets later stalls close at once
    // when `forGood`).
    void releaseStalled(bool forGood = false);
    void stop();

private:
    struct Route {
        std::string method;
        std::string path;
        Handler handler;
    };

    void acceptLoop();
    void serve(int fd, std::size_t connection);
    Response respond(const Request& request);
    void waitWhileStalled();

    int listenFD_ = -1;
    int wakeFD_ = -1;
    int port_ = 0;
    std::thread acceptThread_;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<Route> routes_;
    Handler fallback_;
    std::vector<Request> requests_;
    std::vector<std::thread> connections_;
    std::size_t connectionCount_ = 0;
    std::size_t stallGeneration_ = 0;
    bool stallsReleasedForGood_ = false;
    bool stopping_ = false;
};

}  // namespace tarv::testing
