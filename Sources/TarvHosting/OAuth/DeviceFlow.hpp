#pragma once

#include <map>
#include <string>
#include <string_view>

#include "TarvCore/Models/DeviceCode.hpp"
#include "TarvCore/Models/DeviceTokenStatus.hpp"
#include "TarvCore/Models/HTTPRequest.hpp"
#include "TarvCore/Models/HTTPResponse.hpp"

namespace tarv::hosting {

// The two requests of the OAuth device authorisation grant against the
// hosting service's web host, and the reading of their answers. Sends
// nothing itself: GitHubClientLive sends the requests and hands the answers
// back. The waiting between polls is core::DeviceFlowPoller's.
struct DeviceFlow {
    // The configured OAuth client id of the application.
    std::string clientID;
    // The web host's address without a trailing slash.
    std::string webBase;

    // The request for a device code: POST webBase + "/login/device/code"
    // with "client_id" and "scope" = "repo read:org".
    core::HTTPRequest codeRequest() const;
    // One poll for the access token: POST webBase + "/login/oauth/access_token"
    // with "client_id", "device_code" and the device-code grant type.
    core::HTTPRequest tokenRequest(const std::string& deviceCode) const;

    // The device code and its instructions, whatever the status when the
    // body is a JSON object. Throws core::HostingError: the OAuth error the
    // answer carries, invalidResponse when a required field is missing or
    // the verification address is not an http or https address (it is opened
    // in a browser), http(status, body text) for a non-JSON answer of 400 or
    // more. "interval" defaults to 5 seconds and "expires_in" to 900.
    static core::DeviceCode parseCode(const core::HTTPResponse& response);

    // The state of the authorisation. An "access_token" holding a control
    // character (it would break the Authorization header) is invalidResponse.
    static core::DeviceTokenStatus parseToken(const core::HTTPResponse& response);

    // The value percent-encoded for a form: ASCII letters and digits and
    // "-", ".", "_", "~" stay, every other byte becomes "%XX".
    static std::string formEncoded(std::string_view value);

    bool operator==(const DeviceFlow&) const = default;

private:
    // A form POST: fields in ascending order of key, values encoded.
    static core::HTTPRequest form(const std::string& url, const std::map<std::string, std::string>& fields);
};

}  // namespace tarv::hosting
