#include "TarvHosting/OAuth/DeviceFlow.hpp"

#include "TarvCore/Text/PercentEncoding.hpp"

#include "TarvCore/Errors/HostingError.hpp"
#include "TarvHosting/GitHub/ControlCharacters.hpp"
#include "TarvHosting/GitHub/LooseJSON.hpp"

namespace tarv::hosting {

using core::HostingError;

namespace {

constexpr std::int64_t defaultInterval = 5;
constexpr std::int64_t defaultLifetime = 900;

// The answer body as a JSON object, whatever the status; otherwise the
// error that the status calls for.
LooseJSON answerObject(const core::HTTPResponse& response) {
    auto parsed = LooseJSON::parse(core::byteView(response.body));
    if (parsed && parsed->isObject()) return std::move(*parsed);
    if (response.status >= 400) throw HostingError::http(response.status, response.text());
    throw HostingError::invalidResponse();
}

// The error for an OAuth error code: always status 400, whatever the
// answer's real status.
HostingError failure(const std::string& code, const LooseJSON& object) {
    if (code == "device_flow_disabled") return HostingError::deviceFlowDisabled();
    return HostingError::http(400, object.string("error_description").value_or(code));
}

// Only an http or https address (scheme in any case) with something after
// the scheme, and nothing that could break a command line, is opened.
bool isWebAddress(const std::string& url) {
    if (hasControlCharacter(url) || url.find(' ') != std::string::npos) return false;
    std::string scheme = url.substr(0, 8);
    for (char& c : scheme) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    const std::size_t schemeLength = scheme.starts_with("https://") ? 8 : scheme.starts_with("http://") ? 7 : 0;
    return schemeLength > 0 && url.size() > schemeLength;
}

}  // namespace

core::HTTPRequest DeviceFlow::codeRequest() const {
    return form(webBase + "/login/device/code", {{"client_id", clientID}, {"scope", "repo read:org"}});
}

core::HTTPRequest DeviceFlow::tokenRequest(const std::string& deviceCode) const {
    return form(webBase + "/login/oauth/access_token", {{"client_id", clientID},
                                                         {"device_code", deviceCode},
                                                         {"grant_type", "urn:ietf:params:oauth:grant-type:device_code"}});
}

core::DeviceCode DeviceFlow::parseCode(const core::HTTPResponse& response) {
    const LooseJSON object = answerObject(response);
    if (const auto error = object.string("error")) throw failure(*error, object);
    const auto deviceCode = object.string("device_code");
    const auto userCode = object.string("user_code");
    const auto verificationURL = object.string("verification_uri");
    if (!deviceCode || !userCode || !verificationURL) throw HostingError::invalidResponse();
    if (!isWebAddress(*verificationURL)) throw HostingError::invalidResponse();
    return core::DeviceCode{*deviceCode, *userCode, *verificationURL,
                            object.integer("interval").value_or(defaultInterval),
                            object.integer("expires_in").value_or(defaultLifetime)};
}

core::DeviceTokenStatus DeviceFlow::parseToken(const core::HTTPResponse& response) {
    const LooseJSON object = answerObject(response);
    if (const auto token = object.string("access_token"); token && !token->empty()) {
        if (hasControlCharacter(*token)) throw HostingError::invalidResponse();
        return core::DeviceTokenStatus::authorized(*token);
    }
    const auto error = object.string("error");
    if (!error) throw HostingError::invalidResponse();
    if (*error == "authorization_pending") return core::DeviceTokenStatus::pending();
    if (*error == "slow_down") return core::DeviceTokenStatus::slowDown();
    if (*error == "expired_token") return core::DeviceTokenStatus::expired();
    if (*error == "access_denied") return core::DeviceTokenStatus::denied();
    throw failure(*error, object);
}

std::string DeviceFlow::formEncoded(std::string_view value) { return core::text::percentEncoded(value); }

core::HTTPRequest DeviceFlow::form(const std::string& url, const std::map<std::string, std::string>& fields) {
    std::string body;
    for (const auto& [key, value] : fields) {  // std::map: ascending order of key
        if (!body.empty()) body += '&';
        body += key;
        body += '=';
        body += formEncoded(value);
    }
    core::HTTPRequest request;
    request.method = core::HTTPRequest::Method::post;
    request.url = url;
    request.headers = {{"Accept", "application/json"},
                       {"Content-Type", "application/x-www-form-urlencoded"},
                       {"User-Agent", "Tarv"}};
    request.body = core::toBytes(body);
    return request;
}

}  // namespace tarv::hosting
