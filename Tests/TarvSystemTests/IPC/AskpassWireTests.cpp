#include <gtest/gtest.h>

#include <string>

#include "TarvSystem/IPC/AskpassRequest.hpp"
#include "TarvSystem/IPC/AskpassResponse.hpp"
#include "TarvSystem/IPC/AskpassServer.hpp"

using tarv::system::AskpassRequest;
using tarv::system::AskpassResponse;
using tarv::system::AskpassServer;
using Asker = AskpassRequest::Asker;

TEST(AskpassWire, RequestDecodingIsStrictAboutWhatItNeedsAndIgnoresTheRest) {
    struct Case {
        const char* line;
        std::optional<AskpassRequest> expected;
    };
    const Case cases[] = {
        {R"({"token":"t","prompt":"Password: "})", AskpassRequest{"t", "Password: "}},
        {R"({"prompt":"p","token":"t","extra":[1,{"x":null}]})", AskpassRequest{"t", "p"}},
        {R"( {"token":"t\u00e9","prompt":"a\nb\/c"} )", AskpassRequest{"t\xc3\xa9", "a\nb/c"}},
        {R"({"token":"t","prompt":""})", AskpassRequest{"t", ""}},
        {R"({"token":"t"})", std::nullopt},
        {R"({"prompt":"p"})", std::nullopt},
        {R"({"token":null,"prompt":"p"})", std::nullopt},
        {R"({"token":1,"prompt":"p"})", std::nullopt},
        {R"({"token":"t","prompt":["p"]})", std::nullopt},
        {R"(["t","p"])", std::nullopt},
        {R"("just a string")", std::nullopt},
        {R"({"token":"t","prompt":"p"} trailing)", std::nullopt},
        {R"({"token":"t","prompt":"p")", std::nullopt},
        {"", std::nullopt},
        {"{\"token\":\"t\",\"prompt\":\"\xff\"}", std::nullopt},  // invalid UTF-8 is not JSON
        // Who asks: only the two names count; anything else is unknown,
        // never git.
        {R"({"token":"t","prompt":"p","asker":"git"})", AskpassRequest{"t", "p", Asker::git}},
        {R"({"token":"t","prompt":"p","asker":"ssh"})", AskpassRequest{"t", "p", Asker::ssh}},
        {R"({"token":"t","prompt":"p","asker":"GIT"})", AskpassRequest{"t", "p", Asker::unknown}},
        {R"({"token":"t","prompt":"p","asker":["git"]})", AskpassRequest{"t", "p", Asker::unknown}},
        {R"({"token":"t","prompt":"p","asker":null})", AskpassRequest{"t", "p", Asker::unknown}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AskpassRequest::decode(c.line), c.expected) << c.line;
    }
}

TEST(AskpassWire, OversizedOrDeeplyNestedRequestsAreRefusedBeforeParsing) {
    const std::string prefix = R"({"token":"t","prompt":")";
    const std::string suffix = R"("})";
    std::string fits = prefix + std::string(65535 - prefix.size() - suffix.size(), 'a') + suffix;
    ASSERT_EQ(fits.size(), 65535u);
    EXPECT_TRUE(AskpassRequest::decode(fits));
    std::string tooLong = prefix + std::string(65536 - prefix.size() - suffix.size(), 'a') + suffix;
    EXPECT_FALSE(AskpassRequest::decode(tooLong));

    const std::string nested = std::string(17, '[') + std::string(17, ']');
    EXPECT_FALSE(AskpassRequest::decode(R"({"token":"t","prompt":"p","x":)" + nested + "}"));
    const std::string shallow = std::string(14, '[') + std::string(14, ']');
    EXPECT_TRUE(AskpassRequest::decode(R"({"token":"t","prompt":"p","x":)" + shallow + "}"));
    // Brackets inside strings are text, not nesting.
    EXPECT_TRUE(AskpassRequest::decode(R"({"token":"t","prompt":")" + std::string(100, '[') + R"(\"{"})"));
}

TEST(AskpassWire, EncodingIsOneCompactLineAndRepairsInvalidUtf8) {
    const std::string line = AskpassRequest{"tok", "line one\nline two \"quoted\""}.encode();
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_EQ(AskpassRequest::decode(line), (AskpassRequest{"tok", "line one\nline two \"quoted\""}));
    for (const Asker asker : {Asker::git, Asker::ssh, Asker::unknown}) {
        EXPECT_EQ(AskpassRequest::decode(AskpassRequest{"tok", "p", asker}.encode()),
                  (AskpassRequest{"tok", "p", asker}));
    }

    // A prompt from the command line may hold any bytes.
    const std::string broken = AskpassRequest{"tok", "caf\xe9 \xff ok"}.encode();
    const auto decoded = AskpassRequest::decode(broken);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->prompt, "caf\xef\xbf\xbd \xef\xbf\xbd ok");
}

TEST(AskpassWire, ResponsesEncodeAndDecodeAsTheProtocolSays) {
    EXPECT_EQ(AskpassResponse::refusal().encode(), R"({"ok":false})");
    EXPECT_EQ((AskpassResponse{true, std::string("pw")}).encode(), R"({"ok":true,"value":"pw"})");
    EXPECT_EQ((AskpassResponse{true, std::string()}).encode(), R"({"ok":true,"value":""})");

    struct Case {
        const char* line;
        std::optional<AskpassResponse> expected;
    };
    const Case cases[] = {
        {R"({"ok":true,"value":"x"})", AskpassResponse{true, std::string("x")}},
        {R"({"ok":true})", AskpassResponse{true, std::nullopt}},
        {R"({"ok":true,"value":null})", AskpassResponse{true, std::nullopt}},
        {R"({"value":"x","ok":false,"more":1})", AskpassResponse{false, std::string("x")}},
        {R"({"ok":1})", std::nullopt},
        {R"({"ok":"true"})", std::nullopt},
        {R"({"value":"x"})", std::nullopt},
        {R"({"ok":true,"value":7})", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AskpassResponse::decode(c.line), c.expected) << c.line;
    }
}

TEST(AskpassWire, TokensAreLongRandomHexAndCompareExactly) {
    const std::string a = AskpassServer::makeToken();
    const std::string b = AskpassServer::makeToken();
    EXPECT_NE(a, b);
    for (const auto& token : {a, b}) {
        EXPECT_GE(token.size(), 4u);
        EXPECT_LE(token.size(), 64u);
        EXPECT_EQ(token.find_first_not_of("0123456789abcdef"), std::string::npos) << token;
    }

    EXPECT_TRUE(AskpassServer::constantTimeEquals("", ""));
    EXPECT_TRUE(AskpassServer::constantTimeEquals(a, a));
    std::string lastDiffers = a;
    lastDiffers.back() = lastDiffers.back() == '0' ? '1' : '0';
    EXPECT_FALSE(AskpassServer::constantTimeEquals(a, lastDiffers));
    EXPECT_FALSE(AskpassServer::constantTimeEquals(a, a.substr(0, a.size() - 1)));
    EXPECT_FALSE(AskpassServer::constantTimeEquals("", "x"));
}
