#include "TarvHosting/OAuth/DeviceFlow.hpp"

#include <gtest/gtest.h>

#include "Support/FakeHostingHTTPClient.hpp"
#include "TarvHostingTests/HostingErrors.hpp"

namespace tarv::hosting {
namespace {

using core::DeviceTokenStatus;
using core::HostingError;
using test::hostingErrorOf;
using testing::httpResponse;

std::string bodyOf(const core::HTTPRequest& request) { return std::string(core::byteView(request.body)); }

const std::map<std::string, std::string> formHeaders = {{"Accept", "application/json"},
                                                        {"Content-Type", "application/x-www-form-urlencoded"},
                                                        {"User-Agent", "Tarv"}};

TEST(DeviceFlowRequests, CodeRequestIsASortedForm) {
    const DeviceFlow flow{"Iv1.abc", "https://web.example"};
    const core::HTTPRequest request = flow.codeRequest();
    EXPECT_EQ(request.method, core::HTTPRequest::Method::post);
    EXPECT_EQ(request.url, "https://web.example/login/device/code");
    EXPECT_EQ(request.headers, formHeaders);
    EXPECT_EQ(bodyOf(request), "client_id=Iv1.abc&scope=repo%20read%3Aorg");
}

TEST(DeviceFlowRequests, TokenRequestEncodesEveryValue) {
    const DeviceFlow flow{"id", "http://127.0.0.1:9"};
    const core::HTTPRequest request = flow.tokenRequest("a&b=c d");
    EXPECT_EQ(request.url, "http://127.0.0.1:9/login/oauth/access_token");
    EXPECT_EQ(request.headers, formHeaders);
    EXPECT_EQ(bodyOf(request),
              "client_id=id&device_code=a%26b%3Dc%20d&grant_type=urn%3Aietf%3Aparams%3Aoauth%3Agrant-type%3Adevice_code");
    EXPECT_EQ(DeviceFlow::formEncoded("ñ/+"), "%C3%B1%2F%2B");
}

TEST(DeviceFlowParseCode, ReadsTheCodeAndItsDefaults) {
    EXPECT_EQ(DeviceFlow::parseCode(httpResponse(
                  200, R"({"device_code":"d","user_code":"U-1","verification_uri":"https://w/login/device",)"
                       R"("interval":7,"expires_in":600})")),
              (core::DeviceCode{"d", "U-1", "https://w/login/device", 7, 600}));
    // Missing, mistyped and out-of-range numbers take the defaults.
    for (const char* numbers : {"", R"(,"interval":"7","expires_in":null)", R"(,"interval":5.5,"expires_in":1e3)",
                                R"(,"interval":18446744073709551615,"expires_in":true)"}) {
        const std::string body =
            std::string(R"({"device_code":"d","user_code":"u","verification_uri":"http://w/x")") + numbers + "}";
        EXPECT_EQ(DeviceFlow::parseCode(httpResponse(200, body)), (core::DeviceCode{"d", "u", "http://w/x", 5, 900}))
            << body;
    }
    // Whatever the status, when the body is an object.
    EXPECT_EQ(DeviceFlow::parseCode(httpResponse(
                  500, R"({"device_code":"d","user_code":"u","verification_uri":"HTTPS://w/x"})")).deviceCode,
              "d");
}

TEST(DeviceFlowParseCode, Failures) {
    const std::string html = "<html>bad gateway</html>";
    struct Case {
        const char* name;
        core::HTTPResponse response;
        HostingError expected;
    };
    const Case cases[] = {
        {"error with a code too",
         httpResponse(200, R"({"error":"unauthorized_client","device_code":"d","user_code":"u",)"
                           R"("verification_uri":"https://w"})"),
         HostingError::http(400, "unauthorized_client")},
        {"disabled", httpResponse(400, R"({"error":"device_flow_disabled"})"), HostingError::deviceFlowDisabled()},
        {"description", httpResponse(401, R"({"error":"x","error_description":"Bad client"})"),
         HostingError::http(400, "Bad client")},
        {"missing user code", httpResponse(200, R"({"device_code":"d","verification_uri":"https://w"})"),
         HostingError::invalidResponse()},
        {"verification not a string",
         httpResponse(200, R"({"device_code":"d","user_code":"u","verification_uri":5})"),
         HostingError::invalidResponse()},
        {"502 HTML", httpResponse(502, html), HostingError::http(502, html)},
        {"200 not JSON", httpResponse(200, "ok"), HostingError::invalidResponse()},
        {"200 array", httpResponse(200, "[]"), HostingError::invalidResponse()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(hostingErrorOf([&] { DeviceFlow::parseCode(c.response); }), c.expected) << c.name;
    }
}

// The verification address is opened in a browser: only http and https.
TEST(DeviceFlowParseCode, VerificationAddressMustBeWeb) {
    // As JSON string contents: "\n" is a line feed once decoded.
    for (const char* url : {"file:///etc/passwd", "javascript:alert(1)", "smb://host/share", "https://", "",
                            "//w/login", "https://w/\\nx", "https://w/ x", "ftp://w", "xhttps://w"}) {
        const std::string body =
            std::string(R"({"device_code":"d","user_code":"u","verification_uri":")") + url + "\"}";
        EXPECT_EQ(hostingErrorOf([&] { DeviceFlow::parseCode(httpResponse(200, body)); }),
                  HostingError::invalidResponse())
            << url;
    }
    for (const char* url : {"https://github.com/login/device", "http://127.0.0.1:8/login/device", "HtTp://w"}) {
        const std::string body =
            std::string(R"({"device_code":"d","user_code":"u","verification_uri":")") + url + "\"}";
        EXPECT_EQ(DeviceFlow::parseCode(httpResponse(200, body)).verificationURL, url);
    }
}

TEST(DeviceFlowParseToken, AnswersAndErrors) {
    struct Case {
        const char* body;
        std::optional<DeviceTokenStatus> status;
        std::optional<HostingError> error;
    };
    const Case cases[] = {
        {R"({"access_token":"gho_1","token_type":"bearer"})", DeviceTokenStatus::authorized("gho_1"), {}},
        {R"({"access_token":"gho_1","error":"slow_down"})", DeviceTokenStatus::authorized("gho_1"), {}},
        {R"({"error":"authorization_pending"})", DeviceTokenStatus::pending(), {}},
        {R"({"access_token":"","error":"authorization_pending"})", DeviceTokenStatus::pending(), {}},
        {R"({"error":"slow_down","interval":10})", DeviceTokenStatus::slowDown(), {}},
        {R"({"error":"expired_token"})", DeviceTokenStatus::expired(), {}},
        {R"({"error":"access_denied"})", DeviceTokenStatus::denied(), {}},
        {R"({"error":"device_flow_disabled"})", {}, HostingError::deviceFlowDisabled()},
        {R"({"error":"incorrect_device_code","error_description":"Bad code"})", {}, HostingError::http(400, "Bad code")},
        {R"({"error":"unsupported_grant_type"})", {}, HostingError::http(400, "unsupported_grant_type")},
        {R"({"access_token":""})", {}, HostingError::invalidResponse()},
        {R"({"access_token":7})", {}, HostingError::invalidResponse()},
        {R"({"error":7})", {}, HostingError::invalidResponse()},
        // A token that would end the Authorization header line.
        {R"({"access_token":"gho_1\r\nX-Evil: 1"})", {}, HostingError::invalidResponse()},
        {R"({"access_token":"gho_1\n"})", {}, HostingError::invalidResponse()},
        {R"({"access_token":"gho\u0000"})", {}, HostingError::invalidResponse()},
    };
    for (const Case& c : cases) {
        std::optional<DeviceTokenStatus> status;
        const auto error = hostingErrorOf([&] { status = DeviceFlow::parseToken(httpResponse(200, c.body)); });
        EXPECT_EQ(status, c.status) << c.body;
        EXPECT_EQ(error, c.error) << c.body;
    }
    EXPECT_EQ(hostingErrorOf([] { DeviceFlow::parseToken(httpResponse(503, "down")); }),
              HostingError::http(503, "down"));
    EXPECT_EQ(hostingErrorOf([] { DeviceFlow::parseToken(httpResponse(200, "access_token=x")); }),
              HostingError::invalidResponse());
}

}  // namespace
}  // namespace tarv::hosting
