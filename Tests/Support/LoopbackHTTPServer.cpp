#include "Support/LoopbackHTTPServer.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <memory>
#include <stdexcept>
#include <system_error>

namespace tarv::testing {

namespace {

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

const char* reasonPhrase(int status) {
    switch (status) {
        case 100: return "Continue";
        case 200: return "OK";
        case 201: return "Created";
        case 202: return "Accepted";
        case 204: return "No Content";
        case 301: return "Moved Permanently";
        case 302: return "Found";
        case 303: return "See Other";
        case 304: return "Not Modified";
        case 307: return "Temporary Redirect";
        case 308: return "Permanent Redirect";
        case 400: return "Bad Request";
        case 401: return "Unauthorized";
        case 403: return "Forbidden";
        case 404: return "Not Found";
        case 422: return "Unprocessable Entity";
        case 429: return "Too Many Requests";
        case 500: return "Internal Server Error";
        case 502: return "Bad Gateway";
        case 503: return "Service Unavailable";
        default: return "Status";
    }
}

bool sendAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

// Reads from a connection, giving up when the server is being stopped.
class Reader {
public:
    Reader(int fd, int wakeFD) : fd_(fd), wakeFD_(wakeFD) {}

    // More bytes into the buffer; false at the end of input or on stop.
    bool fill() {
        for (;;) {
            pollfd fds[2] = {{fd_, POLLIN, 0}, {wakeFD_, POLLIN, 0}};
            const int ready = ::poll(fds, 2, -1);
            if (ready < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            if (fds[1].revents != 0) return false;
            char chunk[16384];
            const ssize_t got = ::recv(fd_, chunk, sizeof chunk, 0);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return false;
            buffer_.append(chunk, static_cast<std::size_t>(got));
            return true;
        }
    }

    std::optional<std::string> line() {
        for (;;) {
            const auto end = buffer_.find("\r\n");
            if (end != std::string::npos) {
                std::string out = buffer_.substr(0, end);
                buffer_.erase(0, end + 2);
                return out;
            }
            if (!fill()) return std::nullopt;
        }
    }

    std::optional<std::string> exactly(std::size_t count) {
        while (buffer_.size() < count) {
            if (!fill()) return std::nullopt;
        }
        std::string out = buffer_.substr(0, count);
        buffer_.erase(0, count);
        return out;
    }

private:
    int fd_;
    int wakeFD_;
    std::string buffer_;
};

std::optional<std::size_t> parseSize(std::string_view text, int base) {
    std::size_t value = 0;
    text = trim(text);
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (result.ec != std::errc() || text.empty()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::string> LoopbackHTTPServer::Request::header(std::string_view name) const {
    const auto found = headers.find(lower(name));
    if (found == headers.end()) return std::nullopt;
    return found->second;
}

LoopbackHTTPServer::Response LoopbackHTTPServer::Response::text(int status, std::string body,
                                                                std::string contentType) {
    Response response;
    response.status = status;
    response.body = std::move(body);
    response.headers.emplace_back("Content-Type", std::move(contentType));
    return response;
}

LoopbackHTTPServer::Response LoopbackHTTPServer::Response::json(int status, std::string body) {
    return text(status, std::move(body), "application/json; charset=utf-8");
}

LoopbackHTTPServer::Response LoopbackHTTPServer::Response::redirect(int status, std::string location) {
    Response response;
    response.status = status;
    response.headers.emplace_back("Location", std::move(location));
    return response;
}

LoopbackHTTPServer::Response LoopbackHTTPServer::Response::stalled() {
    Response response;
    response.stall = true;
    return response;
}

LoopbackHTTPServer::Response& LoopbackHTTPServer::Response::with(std::string name, std::string value) {
    headers.emplace_back(std::move(name), std::move(value));
    return *this;
}

LoopbackHTTPServer::LoopbackHTTPServer() {
    listenFD_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFD_ < 0) throw std::system_error(errno, std::generic_category(), "socket");
    const int yes = 1;
    ::setsockopt(listenFD_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (::bind(listenFD_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listenFD_, 64) != 0) {
        const int error = errno;
        ::close(listenFD_);
        throw std::system_error(error, std::generic_category(), "bind/listen on 127.0.0.1");
    }
    socklen_t length = sizeof address;
    ::getsockname(listenFD_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    wakeFD_ = ::eventfd(0, EFD_CLOEXEC);
    fallback_ = [](const Request&) { return Response::text(404, "not found"); };
    acceptThread_ = std::thread([this] { acceptLoop(); });
}

LoopbackHTTPServer::~LoopbackHTTPServer() { stop(); }

std::string LoopbackHTTPServer::baseURL() const { return "http://127.0.0.1:" + std::to_string(port_); }

std::string LoopbackHTTPServer::url(std::string_view pathAndQuery) const {
    return baseURL() + std::string(pathAndQuery);
}

void LoopbackHTTPServer::route(const std::string& method, const std::string& path, Handler handler) {
    std::lock_guard lock(mutex_);
    std::erase_if(routes_, [&](const Route& r) { return r.method == method && r.path == path; });
    routes_.push_back(Route{method, path, std::move(handler)});
}

void LoopbackHTTPServer::route(const std::string& method, const std::string& path, Response response) {
    route(method, path, [response = std::move(response)](const Request&) { return response; });
}

void LoopbackHTTPServer::routeSequence(const std::string& method, const std::string& path,
                                       std::vector<Response> responses) {
    if (responses.empty()) throw std::invalid_argument("routeSequence needs at least one response");
    auto state = std::make_shared<std::pair<std::mutex, std::size_t>>();
    route(method, path, [state, responses = std::move(responses)](const Request&) {
        std::lock_guard lock(state->first);
        const std::size_t index = std::min(state->second, responses.size() - 1);
        ++state->second;
        return responses[index];
    });
}

void LoopbackHTTPServer::fallback(Handler handler) {
    std::lock_guard lock(mutex_);
    fallback_ = std::move(handler);
}

std::vector<LoopbackHTTPServer::Request> LoopbackHTTPServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::size_t LoopbackHTTPServer::requestCount() const {
    std::lock_guard lock(mutex_);
    return requests_.size();
}

std::size_t LoopbackHTTPServer::connectionCount() const {
    std::lock_guard lock(mutex_);
    return connectionCount_;
}

bool LoopbackHTTPServer::waitForRequests(std::size_t count, std::chrono::milliseconds limit) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return requests_.size() >= count; });
}

void LoopbackHTTPServer::releaseStalled(bool forGood) {
    {
        std::lock_guard lock(mutex_);
        ++stallGeneration_;
        if (forGood) stallsReleasedForGood_ = true;
    }
    changed_.notify_all();
}

void LoopbackHTTPServer::stop() {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return;
        stopping_ = true;
    }
    changed_.notify_all();
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto ignored = ::write(wakeFD_, &one, sizeof one);
    if (acceptThread_.joinable()) acceptThread_.join();
    std::vector<std::thread> connections;
    {
        std::lock_guard lock(mutex_);
        connections.swap(connections_);
    }
    for (auto& thread : connections) thread.join();
    ::close(listenFD_);
    ::close(wakeFD_);
}

void LoopbackHTTPServer::acceptLoop() {
    for (;;) {
        pollfd fds[2] = {{listenFD_, POLLIN, 0}, {wakeFD_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents != 0) return;
        const int fd = ::accept4(listenFD_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        std::lock_guard lock(mutex_);
        if (stopping_) {
            ::close(fd);
            return;
        }
        const std::size_t connection = ++connectionCount_;
        connections_.emplace_back([this, fd, connection] {
            serve(fd, connection);
            ::close(fd);
        });
    }
}

void LoopbackHTTPServer::waitWhileStalled() {
    std::unique_lock lock(mutex_);
    const std::size_t generation = stallGeneration_;
    changed_.wait(lock, [&] { return stopping_ || stallsReleasedForGood_ || stallGeneration_ != generation; });
}

LoopbackHTTPServer::Response LoopbackHTTPServer::respond(const Request& request) {
    Handler handler;
    {
        std::lock_guard lock(mutex_);
        for (auto route = routes_.rbegin(); route != routes_.rend(); ++route) {
            if ((route->method == "*" || route->method == request.method) && route->path == request.path) {
                handler = route->handler;
                break;
            }
        }
        if (!handler) handler = fallback_;
    }
    return handler(request);
}

void LoopbackHTTPServer::serve(int fd, std::size_t connection) {
    Reader reader(fd, wakeFD_);
    for (;;) {
        auto requestLine = reader.line();
        if (!requestLine) return;
        if (requestLine->empty()) continue;  // tolerated between requests

        Request request;
        request.connection = connection;
        {
            const auto first = requestLine->find(' ');
            const auto second = requestLine->find(' ', first == std::string::npos ? first : first + 1);
            if (first == std::string::npos || second == std::string::npos) return;
            request.method = requestLine->substr(0, first);
            request.target = requestLine->substr(first + 1, second - first - 1);
            request.version = requestLine->substr(second + 1);
            const auto question = request.target.find('?');
            request.path = request.target.substr(0, question);
            if (question != std::string::npos) request.query = request.target.substr(question + 1);
        }
        for (;;) {
            auto line = reader.line();
            if (!line) return;
            if (line->empty()) break;
            const auto colon = line->find(':');
            if (colon == std::string::npos) return;
            std::string name = line->substr(0, colon);
            std::string value(trim(std::string_view(*line).substr(colon + 1)));
            auto& joined = request.headers[lower(name)];
            joined = joined.empty() ? value : joined + ", " + value;
            request.headerList.emplace_back(std::move(name), std::move(value));
        }

        if (lower(request.header("expect").value_or("")) == "100-continue") {
            if (!sendAll(fd, "HTTP/1.1 100 Continue\r\n\r\n")) return;
        }
        if (lower(request.header("transfer-encoding").value_or("")).find("chunked") != std::string::npos) {
            for (;;) {
                auto sizeLine = reader.line();
                if (!sizeLine) return;
                const auto size = parseSize(std::string_view(*sizeLine).substr(0, sizeLine->find(';')), 16);
                if (!size) return;
                if (*size == 0) {
                    // Trailer lines up to the empty one.
                    for (;;) {
                        auto trailer = reader.line();
                        if (!trailer) return;
                        if (trailer->empty()) break;
                    }
                    break;
                }
                auto chunk = reader.exactly(*size);
                if (!chunk || !reader.exactly(2)) return;
                request.body += *chunk;
            }
        } else if (const auto length = request.header("content-length")) {
            const auto size = parseSize(*length, 10);
            if (!size) return;
            auto body = reader.exactly(*size);
            if (!body) return;
            request.body = std::move(*body);
        }

        {
            std::lock_guard lock(mutex_);
            requests_.push_back(request);
        }
        changed_.notify_all();

        const Response response = respond(request);
        if (response.stall) {
            waitWhileStalled();
            return;
        }

        std::string out = "HTTP/1.1 " + std::to_string(response.status) + " " +
                          (response.reason.empty() ? reasonPhrase(response.status) : response.reason) + "\r\n";
        bool hasLength = false;
        for (const auto& [name, value] : response.headers) {
            if (lower(name) == "content-length") hasLength = true;
            out += name + ": " + value + "\r\n";
        }
        const bool closeAfter = response.close || request.version == "HTTP/1.0" ||
                                lower(request.header("connection").value_or("")) == "close";
        if (response.chunked) {
            out += "Transfer-Encoding: chunked\r\n";
        } else if (!hasLength) {
            out += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
        }
        if (closeAfter) out += "Connection: close\r\n";
        out += "\r\n";
        if (response.chunked) {
            if (!response.body.empty()) {
                char size[32];
                const auto end = std::to_chars(size, size + sizeof size, response.body.size(), 16).ptr;
                out += std::string(size, end) + "\r\n" + response.body + "\r\n";
            }
            out += "0\r\n\r\n";
        } else if (request.method != "HEAD") {
            out += response.body;
        }
        if (!sendAll(fd, out) || closeAfter) return;
    }
}

}  // namespace tarv::testing
