#include "TarvSystem/Network/CurlHTTPClient.hpp"

#include <curl/curl.h>
#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <cctype>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "TarvCore/Errors/HostingError.hpp"

namespace tarv::system {

namespace {

// libcurl's entry points, looked up when the first request is sent. The
// program does not link libcurl: linking it would load some thirty shared
// libraries (TLS, Kerberos, LDAP...) and run their initialisers before main
// on every start, tens of milliseconds before the first screen, for a client
// that most runs never use.
struct Curl {
    decltype(&::curl_global_init) global_init = nullptr;
    decltype(&::curl_easy_init) easy_init = nullptr;
    decltype(&::curl_easy_setopt) easy_setopt = nullptr;
    decltype(&::curl_easy_perform) easy_perform = nullptr;
    decltype(&::curl_easy_getinfo) easy_getinfo = nullptr;
    decltype(&::curl_easy_cleanup) easy_cleanup = nullptr;
    decltype(&::curl_easy_strerror) easy_strerror = nullptr;
    decltype(&::curl_free) free = nullptr;
    decltype(&::curl_slist_append) slist_append = nullptr;
    decltype(&::curl_slist_free_all) slist_free_all = nullptr;
    decltype(&::curl_url) url = nullptr;
    decltype(&::curl_url_set) url_set = nullptr;
    decltype(&::curl_url_get) url_get = nullptr;
    decltype(&::curl_url_cleanup) url_cleanup = nullptr;

    // The loaded and initialised library; throws HostingError::network when
    // it cannot be loaded (then again on the next request).
    static const Curl& get();

private:
    static std::optional<Curl> load();
};

template <class F>
bool bind(void* library, const char* name, F& function) {
    function = reinterpret_cast<F>(::dlsym(library, name));
    return function != nullptr;
}

std::optional<Curl> Curl::load() {
    void* library = nullptr;
    for (const char* name : {"libcurl.so.4", "libcurl.so"}) {
        library = ::dlopen(name, RTLD_NOW | RTLD_LOCAL);
        if (library != nullptr) break;
    }
    if (library == nullptr) return std::nullopt;
    Curl curl;
    const bool complete =
        bind(library, "curl_global_init", curl.global_init) && bind(library, "curl_easy_init", curl.easy_init) &&
        bind(library, "curl_easy_setopt", curl.easy_setopt) &&
        bind(library, "curl_easy_perform", curl.easy_perform) &&
        bind(library, "curl_easy_getinfo", curl.easy_getinfo) &&
        bind(library, "curl_easy_cleanup", curl.easy_cleanup) &&
        bind(library, "curl_easy_strerror", curl.easy_strerror) && bind(library, "curl_free", curl.free) &&
        bind(library, "curl_slist_append", curl.slist_append) &&
        bind(library, "curl_slist_free_all", curl.slist_free_all) && bind(library, "curl_url", curl.url) &&
        bind(library, "curl_url_set", curl.url_set) && bind(library, "curl_url_get", curl.url_get) &&
        bind(library, "curl_url_cleanup", curl.url_cleanup);
    // The library stays loaded for the life of the process.
    if (!complete || curl.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) return std::nullopt;
    return curl;
}

const Curl& Curl::get() {
    static std::mutex mutex;
    static std::optional<Curl> loaded;
    std::lock_guard lock(mutex);
    if (!loaded) loaded = load();
    if (!loaded) throw core::HostingError::network("libcurl could not be loaded");
    return *loaded;
}

struct EasyDeleter {
    void operator()(CURL* handle) const { Curl::get().easy_cleanup(handle); }
};
struct URLDeleter {
    void operator()(CURLU* url) const { Curl::get().url_cleanup(url); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { Curl::get().slist_free_all(list); }
};
struct CurlString {
    char* text = nullptr;
    ~CurlString() {
        if (text != nullptr) Curl::get().free(text);
    }
};

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

std::string_view trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// A header name must be an HTTP token: anything else (a colon, a blank, a
// line break) would change what the request says.
bool isToken(std::string_view name) {
    if (name.empty()) return false;
    static constexpr std::string_view separators = "()<>@,;:\\\"/[]?={} \t";
    return std::all_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte > 0x20 && byte < 0x7F && separators.find(c) == std::string_view::npos;
    });
}

// A header value may hold anything but the bytes that end a line or a C
// string: a token with a line break in it must never reach the wire.
bool isSafeValue(std::string_view value) {
    return value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

bool hasControlOrBlank(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= 0x20 || byte == 0x7F;
    });
}

// Headers of the last answer: a new status line (after a redirect or an
// interim 1xx answer) starts the set again.
struct HeaderCollector {
    std::map<std::string, std::string> headers;
    std::string lastName;

    void add(std::string_view line) {
        if (line.rfind("HTTP/", 0) == 0) {
            headers.clear();
            lastName.clear();
            return;
        }
        if (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
            // An obsolete folded continuation of the previous header.
            const auto more = trim(line);
            if (!lastName.empty() && !more.empty()) headers[lastName] += " " + std::string(more);
            return;
        }
        line = trim(line);
        if (line.empty()) return;
        const auto colon = line.find(':');
        if (colon == std::string_view::npos || colon == 0) return;
        std::string name = lower(trim(line.substr(0, colon)));
        const std::string value(trim(line.substr(colon + 1)));
        auto [entry, inserted] = headers.try_emplace(name, value);
        if (!inserted) entry->second += ", " + value;
        lastName = std::move(name);
    }
};

struct Transfer {
    std::vector<std::uint8_t> body;
    HeaderCollector headers;
    std::stop_token stop;
    std::chrono::steady_clock::time_point deadline;
    bool cancelled = false;
    bool tooLarge = false;
    bool timedOut = false;
};

// Receives the body as it is decoded. A small compressed answer can inflate
// to gigabytes in one pass without returning to libcurl's own time check,
// so both the size limit and the time limit are held here, on the inflated
// bytes.
size_t writeBody(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const size_t length = size * count;
    if (length > CurlHTTPClient::maxBodyBytes - transfer->body.size()) {
        transfer->tooLarge = true;
        return 0;  // aborts the transfer
    }
    if (std::chrono::steady_clock::now() > transfer->deadline) {
        transfer->timedOut = true;
        return 0;
    }
    transfer->body.insert(transfer->body.end(), reinterpret_cast<const std::uint8_t*>(data),
                          reinterpret_cast<const std::uint8_t*>(data) + length);
    return length;
}

size_t writeHeader(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const size_t length = size * count;
    transfer->headers.add(std::string_view(data, length));
    return length;
}

int progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* transfer = static_cast<Transfer*>(user);
    if (transfer->stop.stop_requested()) {
        transfer->cancelled = true;
        return 1;  // aborts the transfer
    }
    return 0;
}

[[noreturn]] void throwNetwork(CURLcode code, const char* detail) {
    std::string description = Curl::get().easy_strerror(code);
    if (detail != nullptr && detail[0] != '\0') description += ": " + std::string(trim(detail));
    throw core::HostingError::network(description);
}

}  // namespace

CurlHTTPClient::CurlHTTPClient(int timeoutSeconds) : timeout_(std::chrono::seconds(timeoutSeconds)) {}

core::HTTPResponse CurlHTTPClient::send(const core::HTTPRequest& request, std::stop_token stop) {
    // The URL is parsed before anything else; a text that is not an
    // absolute URL with a host never leads to a connection.
    if (request.url.empty() || hasControlOrBlank(request.url)) throw core::HostingError::invalidResponse();
    const Curl& curl = Curl::get();
    std::unique_ptr<CURLU, URLDeleter> url(curl.url());
    if (!url) throw core::HostingError::network("out of memory");
    if (curl.url_set(url.get(), CURLUPART_URL, request.url.c_str(), 0) != CURLUE_OK) {
        throw core::HostingError::invalidResponse();
    }
    {
        CurlString host;
        if (curl.url_get(url.get(), CURLUPART_HOST, &host.text, 0) != CURLUE_OK || host.text == nullptr ||
            host.text[0] == '\0') {
            throw core::HostingError::invalidResponse();
        }
    }

    std::unique_ptr<curl_slist, ListDeleter> headerList;
    bool callerSetExpect = false;
    for (const auto& [name, value] : request.headers) {
        if (!isToken(name) || !isSafeValue(value)) throw core::HostingError::invalidResponse();
        if (lower(name) == "expect") callerSetExpect = true;
        // "Name;" is libcurl's way to send a header with an empty value;
        // "Name:" would remove it instead.
        const std::string line = value.empty() ? name + ";" : name + ": " + value;
        curl_slist* appended = curl.slist_append(headerList.get(), line.c_str());
        if (appended == nullptr) throw core::HostingError::network("out of memory");
        headerList.release();
        headerList.reset(appended);
    }
    if (!callerSetExpect) {
        // No "Expect: 100-continue" round trip before a body.
        curl_slist* appended = curl.slist_append(headerList.get(), "Expect:");
        if (appended == nullptr) throw core::HostingError::network("out of memory");
        headerList.release();
        headerList.reset(appended);
    }

    std::unique_ptr<CURL, EasyDeleter> easy(curl.easy_init());
    if (!easy) throw core::HostingError::network("out of memory");
    CURL* handle = easy.get();
    Transfer transfer;
    transfer.stop = stop;
    transfer.deadline = std::chrono::steady_clock::now() + timeout_;
    char errorBuffer[CURL_ERROR_SIZE] = {0};

    curl.easy_setopt(handle, CURLOPT_CURLU, url.get());
    curl.easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl.easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl.easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl.easy_setopt(handle, CURLOPT_MAXREDIRS, 16L);
    curl.easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl.easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(timeout_.count()));
    curl.easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeout_.count()));
    curl.easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
    curl.easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
    curl.easy_setopt(handle, CURLOPT_ACCEPT_ENCODING, "");
    curl.easy_setopt(handle, CURLOPT_HTTPHEADER, headerList.get());
    curl.easy_setopt(handle, CURLOPT_ERRORBUFFER, errorBuffer);
    curl.easy_setopt(handle, CURLOPT_WRITEFUNCTION, writeBody);
    curl.easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
    curl.easy_setopt(handle, CURLOPT_HEADERFUNCTION, writeHeader);
    curl.easy_setopt(handle, CURLOPT_HEADERDATA, &transfer);
    curl.easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, progress);
    curl.easy_setopt(handle, CURLOPT_XFERINFODATA, &transfer);
    curl.easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);

    const bool post = request.method == core::HTTPRequest::Method::post;
    if (post || !request.body.empty()) {
        curl.easy_setopt(handle, CURLOPT_POST, 1L);
        curl.easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
        curl.easy_setopt(handle, CURLOPT_POSTFIELDS,
                         request.body.empty() ? "" : reinterpret_cast<const char*>(request.body.data()));
        if (!post) curl.easy_setopt(handle, CURLOPT_CUSTOMREQUEST, "GET");
    } else {
        curl.easy_setopt(handle, CURLOPT_HTTPGET, 1L);
    }

    if (stop.stop_requested()) throw core::HostingError::network("cancelled");
    const CURLcode result = curl.easy_perform(handle);
    if (result != CURLE_OK) {
        if (transfer.cancelled) throw core::HostingError::network("cancelled");
        if (transfer.tooLarge) throw core::HostingError::invalidResponse();
        if (transfer.timedOut) throwNetwork(CURLE_OPERATION_TIMEDOUT, nullptr);
        throwNetwork(result, errorBuffer);
    }

    long status = 0;
    curl.easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    if (status < 100 || status > 999) throw core::HostingError::invalidResponse();
    return core::HTTPResponse{static_cast<int>(status), std::move(transfer.headers.headers),
                              std::move(transfer.body)};
}

}  // namespace tarv::system
