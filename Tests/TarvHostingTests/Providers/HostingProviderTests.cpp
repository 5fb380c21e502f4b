#include "TarvHosting/Providers/HostingProvider.hpp"

#include <gtest/gtest.h>

#include "TarvCore/Rules/RemoteURLParser.hpp"

namespace tarv::hosting {
namespace {

using HostingProviderRules::detect;

TEST(HostingProvider, DetectsByHost) {
    struct Case {
        const char* host;
        HostingProvider provider;
    };
    const Case cases[] = {
        {"github.com", HostingProvider::github},
        {"GitHub.COM", HostingProvider::github},
        {"ssh.github.com", HostingProvider::github},
        {"a.b.github.com", HostingProvider::github},
        {"notgithub.com", HostingProvider::generic},
        {"github.com.evil.org", HostingProvider::generic},
        {"github.com:443", HostingProvider::generic},
        {"github.com.", HostingProvider::generic},
        {" github.com", HostingProvider::generic},
        {"gitlab.com", HostingProvider::gitlab},
        {"gitlab.example.org", HostingProvider::gitlab},
        {"GITLAB.corp", HostingProvider::gitlab},
        {"code.gitlab.com", HostingProvider::generic},
        {"gitlabs.com", HostingProvider::generic},
        {"gitlab", HostingProvider::generic},
        {"bitbucket.org", HostingProvider::bitbucket},
        {"BitBucket.Org", HostingProvider::bitbucket},
        {"eu.bitbucket.org", HostingProvider::generic},
        {"bitbucket.org:7999", HostingProvider::generic},
        {"", HostingProvider::generic},
        {"example.com", HostingProvider::generic},
    };
    for (const Case& c : cases) EXPECT_EQ(detect(std::string_view(c.host)), c.provider) << c.host;
}

TEST(HostingProvider, RemotesAndTheirPages) {
    const auto github = core::RemoteURLParser::parse("git@github.com:octo/tool.git");
    ASSERT_TRUE(github);
    EXPECT_EQ(detect(*github), HostingProvider::github);
    EXPECT_EQ(HostingProviderRules::webURL(*github), "https://github.com/octo/tool");

    const auto gitlab = core::RemoteURLParser::parse("https://gitlab.example.org/group/sub/project.git");
    ASSERT_TRUE(gitlab);
    EXPECT_EQ(detect(*gitlab), HostingProvider::gitlab);
    EXPECT_EQ(HostingProviderRules::webURL(*gitlab), gitlab->webURL());
    EXPECT_TRUE(HostingProviderRules::webURL(*gitlab));

    const auto file = core::RemoteURLParser::parse("file:///srv/git/project.git");
    ASSERT_TRUE(file);
    EXPECT_EQ(detect(*file), HostingProvider::generic);
    EXPECT_EQ(HostingProviderRules::webURL(*file), std::nullopt);
}

}  // namespace
}  // namespace tarv::hosting
