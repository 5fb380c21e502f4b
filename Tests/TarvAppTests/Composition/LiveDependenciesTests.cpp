// The live composition against the real adapters: a logging git in front of
// the real one, the keychain stand-in, a loopback HTTP server and a real
// askpass server in a temporary folder.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "Support/LoopbackHTTPServer.hpp"
#include "Support/ProcessTestUtil.hpp"
#include "Support/TempGitRepo.hpp"
#include "TarvApp/Composition/GitHubAppConfig.hpp"
#include "TarvApp/Composition/LiveDependencies.hpp"
#include "TarvCore/Ports/AccountStore.hpp"
#include "TarvCore/Ports/GitHubClient.hpp"
#include "TarvCore/Ports/PlatformServices.hpp"
#include "TarvEngine/Service/GitClientLive.hpp"
#include "TarvEngine/Service/GitRepositoryClientLive.hpp"
#include "TarvSystem/IPC/NullCredentialBroker.hpp"

namespace tarv::app {
namespace {

using namespace std::chrono_literals;
using testing::ProcessTempDir;
using testing::processReadFile;
using testing::processWaitUntil;
using testing::processWriteFile;

const std::string keychainTool = std::string(TARV_BINARY_DIR) + "/Sources/TarvCLI/tarv-keychain";

// A git that logs each run (arguments and the askpass variables it was
// given) and then runs the real git against the test's private
// configuration.
class LoggingGit {
public:
    explicit LoggingGit(const testing::TempGitRepo& repo) : path_(dir_.file("git")), log_(dir_.file("git.log")) {
        processWriteFile(path_,
                         "#!/bin/sh\n"
                         "printf 'run %s|socket=%s|token=%s|askpass=%s|ssh=%s\\n' \"$*\" "
                         "\"${TARV_ASKPASS_SOCKET-unset}\" \"${TARV_ASKPASS_TOKEN-unset}\" \"${GIT_ASKPASS-unset}\" "
                         "\"${SSH_ASKPASS-unset}\" >> '" +
                             log_ +
                             "'\n"
                             "export HOME='" +
                             repo.home() + "' GIT_CONFIG_GLOBAL='" + repo.globalConfig() +
                             "' GIT_CONFIG_NOSYSTEM=1\n"
                             "exec /usr/bin/git \"$@\"\n",
                         true);
    }
    const std::string& path() const { return path_; }
    std::vector<std::string> runs() const {
        std::vector<std::string> lines;
        std::istringstream in(processReadFile(log_));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

private:
    ProcessTempDir dir_;
    std::string path_;
    std::string log_;
};

LiveDependencies::Programs programs() { return LiveDependencies::Programs{keychainTool, "/bin/true"}; }

std::size_t countContaining(const std::vector<std::string>& lines, const std::string& part) {
    return static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(part) != l.npos; }));
}

TEST(LiveDependencies, OneGitLocatorServesBothGitClients) {
    testing::TempGitRepo repo;
    repo.writeFile("a.txt", "a\n");
    LoggingGit git(repo);
    const features::Dependencies ports = LiveDependencies::make({{"TARV_GIT", git.path()}, {"PATH", "/nonexistent"}}, programs());

    auto* client = dynamic_cast<engine::GitClientLive*>(ports.git.get());
    auto* repository = dynamic_cast<engine::GitRepositoryClientLive*>(ports.repository.get());
    ASSERT_NE(client, nullptr);
    ASSERT_NE(repository, nullptr);
    EXPECT_EQ(client->provider(), repository->provider());

    const core::EnvironmentReport report = ports.git->probeEnvironment({});
    EXPECT_EQ(report.gitPath, git.path());
    const core::WorkingTreeStatus status = ports.repository->status(repo.path(), {});
    EXPECT_EQ(status.files.size(), 1u);

    const auto runs = git.runs();
    EXPECT_EQ(countContaining(runs, "run --version"), 1u) << ::testing::PrintToString(runs);
    EXPECT_GE(countContaining(runs, "status"), 1u) << ::testing::PrintToString(runs);
    // No askpass server: git gets no askpass program and no relay variables.
    EXPECT_EQ(countContaining(runs, "|socket=unset|token=unset|askpass=unset|ssh=unset"), runs.size())
        << ::testing::PrintToString(runs);
    EXPECT_NE(dynamic_cast<system::NullCredentialBroker*>(ports.credentials.get()), nullptr);
}

TEST(LiveDependencies, EveryGitChildReachesTheAskpassServerUntilShutdown) {
    testing::TempGitRepo repo;
    LoggingGit git(repo);
    ProcessTempDir temporary;
    const auto interactive =
        LiveDependencies::makeInteractive({{"TARV_GIT", git.path()}}, programs(), temporary.path() + "/");
    EXPECT_EQ(dynamic_cast<system::NullCredentialBroker*>(interactive.dependencies.credentials.get()), nullptr);

    interactive.dependencies.git->probeEnvironment({});
    interactive.dependencies.repository->status(repo.path(), {});
    // Locating git asks only for its version, before any executor exists;
    // every git run of the clients comes after it.
    std::vector<std::string> runs = git.runs();
    ASSERT_GE(runs.size(), 3u);
    ASSERT_EQ(runs.front().rfind("run --version|", 0), 0u) << runs.front();
    runs.erase(runs.begin());
    const std::string first = runs.front();
    const auto field = [&](const std::string& name) {
        const auto start = first.find("|" + name + "=") + name.size() + 2;
        return first.substr(start, first.find('|', start) - start);
    };
    const std::string socket = field("socket");
    const std::string token = field("token");
    const std::string askpass = field("askpass");
    const std::string sshAskpass = first.substr(first.find("|ssh=") + 5);
    struct stat info {};
    ASSERT_EQ(::stat(socket.c_str(), &info), 0) << socket;
    EXPECT_TRUE(S_ISSOCK(info.st_mode));
    EXPECT_GE(token.size(), 32u);
    EXPECT_EQ(askpass, std::filesystem::path(socket).parent_path().string() + "/tarv-askpass");
    EXPECT_TRUE(std::filesystem::is_symlink(askpass));
    // ssh gets an askpass program of its own, so its prompts are known as
    // ssh's.
    EXPECT_EQ(sshAskpass, std::filesystem::path(socket).parent_path().string() + "/tarv-ssh-askpass");
    EXPECT_TRUE(std::filesystem::is_symlink(sshAskpass));
    for (const std::string& run : runs) {
        EXPECT_NE(run.find("|socket=" + socket + "|token=" + token + "|askpass=" + askpass + "|ssh=" + sshAskpass),
                  std::string::npos)
            << run;
    }

    interactive.shutdown();
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(socket).parent_path()));
    interactive.shutdown();
}

TEST(LiveDependencies, WithoutAnAskpassServerTheInterfaceFallsBackToTheNullBroker) {
    testing::TempGitRepo repo;
    LoggingGit git(repo);
    ProcessTempDir temporary;
    // A plain file where the server's folder would go: it cannot start.
    processWriteFile(temporary.file("blocked"), "");
    const auto interactive =
        LiveDependencies::makeInteractive({{"TARV_GIT", git.path()}}, programs(), temporary.file("blocked") + "/");
    EXPECT_NE(dynamic_cast<system::NullCredentialBroker*>(interactive.dependencies.credentials.get()), nullptr);
    interactive.dependencies.git->probeEnvironment({});
    for (const std::string& run : git.runs()) {
        EXPECT_NE(run.find("|socket=unset|token=unset|askpass=unset|ssh=unset"), std::string::npos) << run;
    }
    interactive.shutdown();
}

TEST(LiveDependencies, KeychainPathComesFromTheEnvironment) {
    ProcessTempDir temporary;
    const std::string keychain = temporary.file("secrets/keychain.json");
    const features::Dependencies ports = LiveDependencies::make({{"TARV_KEYCHAIN", keychain}}, programs());
    ports.accounts->save(core::GitHubSession{"octo", std::nullopt, "gho_secret"}, {});
    EXPECT_TRUE(std::filesystem::exists(keychain));
    const auto loaded = ports.accounts->load({});
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->login, "octo");
    EXPECT_EQ(loaded->token, "gho_secret");
}

TEST(LiveDependencies, HostingAddressesAndClientIDComeFromTheEnvironment) {
    testing::LoopbackHTTPServer server;
    server.route("GET", "/api/user", testing::LoopbackHTTPServer::Response::json(200, R"({"login":"octo"})"));
    server.route("POST", "/web/login/device/code",
                 testing::LoopbackHTTPServer::Response::json(
                     200, R"({"device_code":"d","user_code":"U-1","verification_uri":"https://x","interval":5,)"
                          R"("expires_in":900})"));
    const features::Dependencies ports = LiveDependencies::make({{"TARV_GITHUB_API", server.url("/api")},
                                                    {"TARV_GITHUB_WEB", server.url("/web")},
                                                    {"TARV_GITHUB_CLIENT_ID", "client-from-env"}},
                                                   programs());
    EXPECT_EQ(ports.github->currentUser("gho_token", {}).login, "octo");
    EXPECT_EQ(ports.github->requestDeviceCode({}).userCode, "U-1");
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].path, "/api/user");
    EXPECT_EQ(requests[1].path, "/web/login/device/code");
    EXPECT_NE(requests[1].body.find("client_id=client-from-env"), std::string::npos) << requests[1].body;
}

TEST(LiveDependencies, EditorFromTheEnvironmentReachesThePlatformServices) {
    ProcessTempDir temporary;
    const std::string marker = temporary.file("opened");
    processWriteFile(temporary.file("editor"), "#!/bin/sh\nprintf '%s' \"$1\" > '" + marker + "'\n", true);
    // In a graphical session the editor is started on its own; without one
    // it is the command to run on the terminal.
    const features::Dependencies ports =
        LiveDependencies::make({{"TARV_EDITOR", temporary.file("editor")}, {"DISPLAY", ":0"}}, programs());
    ports.platform->openInEditor("/some/file.txt", {});
    EXPECT_TRUE(processWaitUntil([&] { return processReadFile(marker) == "/some/file.txt"; }));
    const features::Dependencies headless = LiveDependencies::make({{"TARV_EDITOR", temporary.file("editor")}}, programs());
    EXPECT_EQ(headless.platform->terminalEditorCommand("/some/file.txt"),
              (std::vector<std::string>{temporary.file("editor"), "/some/file.txt"}));
}

TEST(GitHubAppConfig, EnvironmentOverrides) {
    EXPECT_EQ(GitHubAppConfig::clientID({}), GitHubAppConfig::builtInClientID);
    EXPECT_EQ(GitHubAppConfig::clientID({{"TARV_GITHUB_CLIENT_ID", ""}}), GitHubAppConfig::builtInClientID);
    EXPECT_EQ(GitHubAppConfig::clientID({{"TARV_GITHUB_CLIENT_ID", "abc"}}), "abc");
    EXPECT_EQ(GitHubAppConfig::builtInClientID.size(), 20u);
    EXPECT_EQ(GitHubAppConfig::webBase({}), "https://github.com");
    EXPECT_EQ(GitHubAppConfig::apiBase({}), "https://api.github.com");
    // Present means used, even when empty.
    EXPECT_EQ(GitHubAppConfig::webBase({{"TARV_GITHUB_WEB", ""}}), "");
    EXPECT_EQ(GitHubAppConfig::apiBase({{"TARV_GITHUB_API", "http://127.0.0.1:1"}}), "http://127.0.0.1:1");
}

}  // namespace
}  // namespace tarv::app
