#include "TarvCore/Rules/CredentialPromptParser.hpp"

#include <gtest/gtest.h>

using namespace tarv::core;
using Kind = CredentialPrompt::Kind;
using Parsed = CredentialPromptParser::Parsed;

TEST(CredentialPromptParser, ClassifiesPrompts) {
    const std::vector<std::pair<std::string, Parsed>> cases = {
        {"Username for 'https://github.com': ", {Kind::username, "https://github.com"}},
        {"Password for 'https://me@github.com': ", {Kind::password, "https://me@github.com"}},
        {"Enter passphrase for key '/k': ", {Kind::passphrase, "/k"}},
        {"Enter PIN for 'key': ", {Kind::passphrase, "key"}},
        {"@@@@@@@@@@@\nWARNING: REMOTE HOST IDENTIFICATION\nThe authenticity of host 'h (1.2.3.4)' can't be "
         "established.\nAre you sure you want to continue connecting (yes/no/[fingerprint])? ",
         {Kind::confirmation, "h (1.2.3.4)' can"}},
        {"Are you sure you want to continue connecting?", {Kind::confirmation, std::nullopt}},
        {"Passphrase (yes/no)?", {Kind::confirmation, std::nullopt}},
        {"  USERNAME: ", {Kind::username, std::nullopt}},
        {"Login: ", {Kind::password, std::nullopt}},
        {"Token ''", {Kind::password, std::nullopt}},
        {"it's here", {Kind::password, std::nullopt}},
        {"", {Kind::password, std::nullopt}},
        {"'a'b'", {Kind::password, "a'b"}},
    };
    for (const auto& [prompt, expected] : cases) EXPECT_EQ(CredentialPromptParser::parse(prompt), expected) << prompt;
}

TEST(CredentialPrompt, SecretKinds) {
    EXPECT_TRUE((CredentialPrompt{1, Kind::password, "", std::nullopt}.isSecret()));
    EXPECT_TRUE((CredentialPrompt{1, Kind::passphrase, "", std::nullopt}.isSecret()));
    EXPECT_FALSE((CredentialPrompt{1, Kind::username, "", std::nullopt}.isSecret()));
    EXPECT_FALSE((CredentialPrompt{1, Kind::confirmation, "", std::nullopt}.isSecret()));
}
