#include "TarvCore/Models/RepositoryEntry.hpp"

#include <gtest/gtest.h>

using namespace tarv::core;

TEST(RepositoryEntry, OwnerAndHostComeFromTheRemote) {
    const RepositoryEntry ssh{"/r", "r", "git@GitHub.com:octo/r.git", 0, std::nullopt};
    EXPECT_EQ(ssh.owner(), "octo");
    EXPECT_EQ(ssh.host(), "github.com");
    const RepositoryEntry file{"/r", "r", "file:///srv/r.git", 0, std::nullopt};
    EXPECT_EQ(file.owner(), "srv");
    EXPECT_EQ(file.host(), "");
    const RepositoryEntry noOwner{"/r", "r", "https://example.com/r", 0, std::nullopt};
    EXPECT_EQ(noOwner.owner(), std::nullopt);
    EXPECT_EQ(noOwner.host(), "example.com");
    for (const auto& url : {std::optional<std::string>(), std::optional<std::string>("not a url")}) {
        const RepositoryEntry entry{"/r", "r", url, 0, std::nullopt};
        EXPECT_EQ(entry.owner(), std::nullopt);
        EXPECT_EQ(entry.host(), std::nullopt);
    }
}

TEST(RepositoryEntry, JSONWritesMembersInOrderAndOmitsAbsentOnes) {
    EXPECT_EQ(encodeJSON(RepositoryEntry{"/p", "n", "https://x.org/o/r", 5, true}),
              R"({"path":"/p","name":"n","remoteURL":"https://x.org/o/r","lastOpened":5,"isPrivate":true})");
    EXPECT_EQ(encodeJSON(RepositoryEntry{"/p", "n", std::nullopt, 0, std::nullopt}),
              R"({"path":"/p","name":"n","lastOpened":0})");
    // Bytes that are not UTF-8 cannot be written as JSON text.
    EXPECT_EQ(encodeJSON(RepositoryEntry{"/p\xFF", "n", std::nullopt, 0, std::nullopt}),
              "{\"path\":\"/p\xEF\xBF\xBD\",\"name\":\"n\",\"lastOpened\":0}");
}

TEST(RepositoryEntry, JSONRoundTrip) {
    for (const RepositoryEntry& entry : {RepositoryEntry{"/a b/\u00E9", "n\"q", "u", -3, false},
                                         RepositoryEntry{"/p", "n", std::nullopt, 9007199254740993, std::nullopt}}) {
        EXPECT_EQ(decodeRepositoryEntry(encodeJSON(entry)), entry);
    }
}

TEST(RepositoryEntry, JSONDecodingIsStrict) {
    const RepositoryEntry minimal{"/p", "n", std::nullopt, 7, std::nullopt};
    struct Case {
        const char* json;
        std::optional<RepositoryEntry> expected;
    };
    const std::vector<Case> cases = {
        {R"({"path":"/p","name":"n","lastOpened":7})", minimal},
        {R"({"path":"/p","name":"n","lastOpened":7,"remoteURL":null,"isPrivate":null,"extra":[1]})", minimal},
        {R"({"lastOpened":7,"name":"n","path":"/p","isPrivate":false})",
         RepositoryEntry{"/p", "n", std::nullopt, 7, false}},
        {R"({"path":"/p","name":"n"})", std::nullopt},
        {R"({"path":"/p","lastOpened":7})", std::nullopt},
        {R"({"Path":"/p","name":"n","lastOpened":7})", std::nullopt},
        {R"({"path":"/p","name":"n","lastOpened":1.5})", std::nullopt},
        {R"({"path":"/p","name":"n","lastOpened":true})", std::nullopt},
        {R"({"path":"/p","name":"n","lastOpened":"7"})", std::nullopt},
        {R"({"path":"/p","name":"n","lastOpened":null})", std::nullopt},
        {R"({"path":"/p","name":"n","lastOpened":18446744073709551615})", std::nullopt},
        {R"({"path":1,"name":"n","lastOpened":7})", std::nullopt},
        {R"({"path":"/p","name":"n","lastOpened":7,"remoteURL":3})", std::nullopt},
        {R"({"path":"/p","name":"n","lastOpened":7,"isPrivate":"yes"})", std::nullopt},
        {R"([{"path":"/p","name":"n","lastOpened":7}])", std::nullopt},
        {"not json", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(decodeRepositoryEntry(c.json), c.expected) << c.json;
}

TEST(RepositoryEntry, HashAgreesWithEquality) {
    const RepositoryEntry a{"/p", "n", "u", 1, true};
    RepositoryEntry b = a;
    EXPECT_EQ(std::hash<RepositoryEntry>{}(a), std::hash<RepositoryEntry>{}(b));
    b.isPrivate = std::nullopt;
    EXPECT_NE(std::hash<RepositoryEntry>{}(a), std::hash<RepositoryEntry>{}(b));
}
