// A fetch from a remote that demands a password, over real components: the
// live composition (askpass server, the real tarv executable as git's
// askpass program, the live repository client) under the store with the
// live executor, and a git HTTP server on 127.0.0.1 (`git http-backend`
// behind a loopback server) that answers 401 until Basic credentials come.
// git's questions reach the state as credentials overlays; the answers typed
// there reach git, and the server sees them.
#include <gtest/gtest.h>


#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Support/LoopbackHTTPServer.hpp"
#include "Support/MainQueuePump.hpp"
#include "Support/ProcessTestUtil.hpp"
#include "Support/TempGitRepo.hpp"
#include "TarvApp/Composition/LiveDependencies.hpp"
#include "TarvCore/Ports/AccountStore.hpp"
#include "TarvCore/Concurrency/MainQueue.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/Architecture/LiveEffectExecutor.hpp"
#include "TarvFeatures/Architecture/Store.hpp"
#include "TarvSystem/Process/PosixProcessRunner.hpp"

namespace tarv::app {
namespace {

using namespace std::chrono_literals;
using features::AppAction;
using features::AppReducer;
using features::AppState;
using features::CredentialPromptState;
using features::OverlayAction;
using features::WorkspaceAction;
using testing::LoopbackHTTPServer;
using testing::ProcessTempDir;
using testing::TempGitRepo;
using Kind = core::CredentialPrompt::Kind;

const std::string tarvExecutable = std::string(TARV_BINARY_DIR) + "/Sources/TarvCLI/tarv";
const std::string keychainTool = std::string(TARV_BINARY_DIR) + "/Sources/TarvCLI/tarv-keychain";
// "alice:s3cret" in Base64.
const std::string expectedAuthorization = "Basic YWxpY2U6czNjcmV0";

core::ProcessResult runGit(const std::vector<std::string>& arguments, std::map<std::string, std::string> environment,
                           std::optional<std::string> input = std::nullopt) {
    core::ProcessSpec spec{.executable = "/usr/bin/git", .arguments = arguments, .environment = std::move(environment)};
    spec.inheritEnvironment = false;
    if (input) spec.stdin = core::toBytes(*input);
    spec.timeout = 60s;
    return system::PosixProcessRunner().run(spec, {});
}

// git's smart HTTP protocol for the repositories under `root`, served by
// `git http-backend` as a CGI program, behind Basic authentication.
class GitHTTPServer {
public:
    GitHTTPServer(std::string root, std::map<std::string, std::string> gitEnvironment)
        : root_(std::move(root)), environment_(std::move(gitEnvironment)) {
        server_.fallback([this](const LoopbackHTTPServer::Request& request) { return respond(request); });
    }

    std::string url(const std::string& path) const { return server_.url(path); }
    std::vector<LoopbackHTTPServer::Request> requests() const { return server_.requests(); }

private:
    LoopbackHTTPServer::Response respond(const LoopbackHTTPServer::Request& request) const {
        if (request.header("Authorization") != expectedAuthorization) {
            return LoopbackHTTPServer::Response::text(401, "credentials needed\n")
                .with("WWW-Authenticate", "Basic realm=\"tarv test\"");
        }
        std::map<std::string, std::string> cgi = environment_;
        cgi["GIT_PROJECT_ROOT"] = root_;
        cgi["GIT_HTTP_EXPORT_ALL"] = "1";
        cgi["REQUEST_METHOD"] = request.method;
        cgi["PATH_INFO"] = request.path;
        cgi["QUERY_STRING"] = request.query;
        cgi["REMOTE_USER"] = "alice";
        cgi["REMOTE_ADDR"] = "127.0.0.1";
        cgi["CONTENT_TYPE"] = request.header("Content-Type").value_or("");
        cgi["CONTENT_LENGTH"] = std::to_string(request.body.size());
        if (auto protocol = request.header("Git-Protocol")) cgi["GIT_PROTOCOL"] = *protocol;
        if (auto encoding = request.header("Content-Encoding")) cgi["HTTP_CONTENT_ENCODING"] = *encoding;
        const core::ProcessResult result = runGit({"http-backend"}, cgi, request.body);
        return fromCGI(std::string(result.stdoutBytes()));
    }

    // A CGI answer: header lines, an empty line, the body.
    static LoopbackHTTPServer::Response fromCGI(const std::string& output) {
        LoopbackHTTPServer::Response response;
        std::size_t end = output.find("\r\n\r\n");
        std::size_t bodyStart = end + 4;
        if (end == std::string::npos) {
            end = output.find("\n\n");
            bodyStart = end == std::string::npos ? output.size() : end + 2;
        }
        const std::string head = output.substr(0, std::min(end, output.size()));
        response.body = output.substr(std::min(bodyStart, output.size()));
        std::size_t start = 0;
        while (start < head.size()) {
            std::size_t stop = head.find('\n', start);
            if (stop == std::string::npos) stop = head.size();
            std::string line = head.substr(start, stop - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            start = stop + 1;
            const std::size_t colon = line.find(':');
            if (colon == std::string::npos) continue;
            const std::string name = line.substr(0, colon);
            const std::string value = line.substr(line.find_first_not_of(' ', colon + 1));
            if (name == "Status") {
                response.status = std::stoi(value);
            } else {
                response.with(name, value);
            }
        }
        return response;
    }

    std::string root_;
    std::map<std::string, std::string> environment_;
    LoopbackHTTPServer server_;
};

// How a world differs from the plain one: "origin" elsewhere than on the
// HTTP server, more variables for tarv's git, a session signed in already.
struct Variant {
    std::optional<std::string> remote;
    std::string gitExports;
    std::optional<core::GitHubSession> session;
};

// The repository to fetch into, with "origin" on the HTTP server, and the
// live composition whose git sees only the test's home and configuration.
struct World {
    TempGitRepo upstream;
    TempGitRepo repo;
    ProcessTempDir scratch;
    std::string servedRoot = scratch.file("served");
    std::unique_ptr<GitHTTPServer> server;
    std::string upstreamHead;
    std::optional<LiveDependencies::Interactive> live;
    std::shared_ptr<core::MainQueue> queue = std::make_shared<core::MainQueue>();
    std::shared_ptr<features::LiveEffectExecutor> executor = std::make_shared<features::LiveEffectExecutor>(queue);
    std::unique_ptr<features::Store<AppReducer>> store;

    explicit World(const Variant& setup = {}) {
        upstream.writeFile("README.md", "served\n");
        upstreamHead = upstream.commitAll("Served commit");
        repo.writeFile("local.txt", "local\n");
        repo.commitAll("Local commit");
        const auto cloned =
            runGit({"clone", "--bare", upstream.path(), servedRoot + "/repo.git"}, upstream.environment());
        EXPECT_EQ(cloned.exitCode, 0) << cloned.stderrString();
        server = std::make_unique<GitHTTPServer>(servedRoot, upstream.environment());
        const std::string remote = setup.remote.value_or(server->url("/repo.git"));
        repo.setConfig("remote.origin.url", remote);
        repo.setConfig("remote.origin.fetch", "+refs/heads/*:refs/remotes/origin/*");

        // tarv's git: the real one, with the test's home and configuration
        // and nothing of the user's.
        const std::string git = scratch.file("git");
        testing::processWriteFile(git,
                                  "#!/bin/sh\nexport HOME='" + repo.home() + "' GIT_CONFIG_GLOBAL='" +
                                      repo.globalConfig() + "' GIT_CONFIG_NOSYSTEM=1 " + setup.gitExports +
                                      "\nexec /usr/bin/git \"$@\"\n",
                                  true);
        live = LiveDependencies::makeInteractive(
            {{"TARV_GIT", git},
             {"TARV_KEYCHAIN", scratch.file("keychain")},
             {"XDG_STATE_HOME", scratch.file("state")},
             {"XDG_CONFIG_HOME", scratch.file("config")},
             {"XDG_CACHE_HOME", scratch.file("cache")},
             // Nothing may reach the real hosting service.
             {"TARV_GITHUB_WEB", "http://127.0.0.1:9"},
             {"TARV_GITHUB_API", "http://127.0.0.1:9"}},
            LiveDependencies::Programs{keychainTool, tarvExecutable}, scratch.path() + "/");
        // Stored the way a sign-in stores it, so the launch loads it.
        if (setup.session) live->dependencies.accounts->save(*setup.session, {});

        AppState state;
        state.workspace.emplace(repo.path(), "repo", remote);
        store = std::make_unique<features::Store<AppReducer>>(std::move(state), AppReducer(live->dependencies),
                                                              executor);
    }

    ~World() {
        store->cancelEffects();
        store.reset();  // late results are dropped, never reduced into new jobs
        live->shutdown();
        EXPECT_TRUE(executor->waitForIdle(20s));
        queue->drain();
    }

    const AppState& state() const { return store->state(); }

    bool pumpUntil(const std::function<bool()>& done, std::chrono::seconds limit = 60s) {
        return testing::pumpMainQueue(*queue, done, limit);
    }

    // The questions answered, as git asked them.
    std::vector<std::string> asked;

    const CredentialPromptState* shownPrompt() const {
        if (!state().overlay) return nullptr;
        return std::get_if<CredentialPromptState>(&state().overlay->value);
    }

    // Waits for a prompt of `kind`, then types `answer` and submits it.
    void answer(Kind kind, const std::string& answer) {
        ASSERT_TRUE(pumpUntil([&] { return shownPrompt() != nullptr && shownPrompt()->prompt.kind == kind; }))
            << "no prompt of kind " << static_cast<int>(kind);
        asked.push_back(shownPrompt()->prompt.message);
        store->send(AppAction::Edit{core::TextEdit::insert(answer)});
        store->send(OverlayAction::Submitted{});
    }
};

TEST(CredentialPromptEndToEnd, AFetchAsksThroughTheOverlayAndTheServerSeesTheAnswer) {
    World world;
    world.store->send(AppAction::Launch{world.repo.path()});
    world.store->send(WorkspaceAction::Sync{core::SyncAction::fetch});
    ASSERT_EQ(world.state().workspace->sync.activity, features::SyncState::Activity::fetching);

    world.answer(Kind::username, "alice");
    world.answer(Kind::password, "s3cret");
    ASSERT_EQ(world.asked.size(), 2u);
    for (const std::string& question : world.asked) {
        EXPECT_NE(question.find("127.0.0.1"), std::string::npos) << question;
    }

    ASSERT_TRUE(world.pumpUntil([&] { return !world.state().workspace->sync.activity.has_value(); }));
    EXPECT_FALSE(world.state().overlay.has_value());
    ASSERT_TRUE(world.state().toast.has_value());
    EXPECT_EQ(world.state().toast->text, core::Text::toastFetched());
    EXPECT_TRUE(world.state().workspace->sync.lastFetched.has_value());
    EXPECT_EQ(world.repo.revParse("refs/remotes/origin/main"), world.upstreamHead);

    bool authorised = false;
    for (const auto& request : world.server->requests()) {
        if (request.header("Authorization") == expectedAuthorization) authorised = true;
    }
    EXPECT_TRUE(authorised);
}

TEST(CredentialPromptEndToEnd, ACancelledPromptFailsTheFetchWithAMessage) {
    World world;
    world.store->send(AppAction::Launch{world.repo.path()});
    world.store->send(WorkspaceAction::Sync{core::SyncAction::fetch});
    ASSERT_TRUE(world.pumpUntil([&] { return world.shownPrompt() != nullptr; }));
    world.store->send(OverlayAction::Dismiss{});

    ASSERT_TRUE(world.pumpUntil([&] { return !world.state().workspace->sync.activity.has_value(); }));
    ASSERT_TRUE(world.state().overlay.has_value());
    const auto* message = std::get_if<features::Overlay::Message>(&world.state().overlay->value);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->title, core::Text::syncFailedTitle());
    EXPECT_EQ(world.state().workspace->sync.lastFailed, core::SyncAction::fetch);
    for (const auto& request : world.server->requests()) EXPECT_FALSE(request.header("Authorization").has_value());
}

// An SSH server chooses the text of its keyboard-interactive prompts, so it
// can ask in the very words git uses for the hosting service's password; ssh
// relays the question with "(user@host) " in front, older versions without.
// With a session signed in, neither form gets the session's token: both are
// shown, and the cancelled prompts leave ssh without an answer.
TEST(CredentialPromptEndToEnd, PromptsOfSshAreShownAndNeverAnsweredFromTheSession) {
    ProcessTempDir sshDirectory;
    const std::string answers = sshDirectory.file("answers");
    const std::string ssh = sshDirectory.file("ssh");
    // Stands in for ssh as git starts it (GIT_SSH_COMMAND): it asks the way
    // ssh does, through $SSH_ASKPASS, and keeps what it was told.
    testing::processWriteFile(ssh,
                              "#!/bin/sh\n"
                              "for prompt in \"(git@evil.example) Password for 'https://github.com': \" "
                              "\"Password for 'https://github.com': \"; do\n"
                              "  \"$SSH_ASKPASS\" \"$prompt\" >>'" + answers + "'\n"
                              "done\n"
                              "echo 'Permission denied (keyboard-interactive).' >&2\n"
                              "exit 255\n",
                              true);
    const core::GitHubSession session{"octo", std::nullopt, "gho_hostingtoken"};
    World world(Variant{"ssh://git@evil.example/repo.git", "GIT_SSH_COMMAND='" + ssh + "'", session});
    world.store->send(AppAction::Launch{world.repo.path()});
    ASSERT_TRUE(world.pumpUntil([&] { return world.state().session == session; }));

    world.store->send(WorkspaceAction::Sync{core::SyncAction::fetch});
    std::vector<std::string> shown;
    ASSERT_TRUE(world.pumpUntil([&] {
        if (const CredentialPromptState* prompt = world.shownPrompt()) {
            shown.push_back(prompt->prompt.message);
            world.store->send(OverlayAction::Dismiss{});
        }
        return !world.state().workspace->sync.activity.has_value();
    }));

    EXPECT_EQ(testing::processReadFile(answers).find(session.token), std::string::npos);
    EXPECT_EQ(shown, (std::vector<std::string>{"(git@evil.example) Password for 'https://github.com': ",
                                               "Password for 'https://github.com': "}));
}

}  // namespace
}  // namespace tarv::app
