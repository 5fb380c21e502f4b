#include <gtest/gtest.h>

#include "TarvCore/Models/HTTPRequest.hpp"
#include "TarvCore/Models/HTTPResponse.hpp"

namespace tarv::core {
namespace {

TEST(HTTPRequestTest, ARequestFromAURLAloneIsAPlainGet) {
    const HTTPRequest request{.url = "https://api.example.com/user"};
    EXPECT_EQ(request.method, HTTPRequest::Method::get);
    EXPECT_TRUE(request.headers.empty());
    EXPECT_TRUE(request.body.empty());
}

TEST(HTTPRequestTest, MethodRawValues) {
    EXPECT_EQ(HTTPRequest::rawValue(HTTPRequest::Method::get), "GET");
    EXPECT_EQ(HTTPRequest::rawValue(HTTPRequest::Method::post), "POST");
    EXPECT_EQ(HTTPRequest::methodFromRawValue("GET"), HTTPRequest::Method::get);
    EXPECT_EQ(HTTPRequest::methodFromRawValue("POST"), HTTPRequest::Method::post);
    for (const char* other : {"get", "Post", "PUT", ""}) EXPECT_EQ(HTTPRequest::methodFromRawValue(other), std::nullopt);
}

TEST(HTTPRequestTest, HeaderInsertionOrderDoesNotMatter) {
    HTTPRequest a{.url = "u"};
    a.headers["accept"] = "x";
    a.headers["authorization"] = "y";
    HTTPRequest b{.url = "u"};
    b.headers["authorization"] = "y";
    b.headers["accept"] = "x";
    EXPECT_EQ(a, b);
    b.body = toBytes("z");
    EXPECT_NE(a, b);
}

TEST(HTTPResponseTest, TextRepairsTheBody) {
    EXPECT_EQ((HTTPResponse{200, {}, {}}).text(), "");
    EXPECT_EQ((HTTPResponse{200, {}, {'a', 'b', 'c', 0xFF}}).text(), "abc\xEF\xBF\xBD");
}

}  // namespace
}  // namespace tarv::core
