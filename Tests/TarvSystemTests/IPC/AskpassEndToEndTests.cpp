// The askpass relay end to end: the server runs in the test, and the real
// tarv executable is started through the server's "tarv-askpass" link with
// the environment git gives its askpass program.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ChildProcess.hpp"
#include "PromptCollector.hpp"
#include "Support/LoopbackHTTPServer.hpp"
#include "TarvSystem/IPC/AskpassServer.hpp"

using namespace std::chrono_literals;
using tarv::core::CredentialPrompt;
using tarv::system::AskpassServer;
using tarv::testing::ChildOutcome;
using tarv::testing::LoopbackHTTPServer;
using tarv::testing::PromptCollector;
using tarv::testing::runChild;
namespace fs = std::filesystem;

namespace {

const std::string tarvExecutable = TARV_BINARY_DIR "/Sources/TarvCLI/tarv";

class AskpassEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(tarvExecutable)) << tarvExecutable;
        char pattern[] = "/tmp/tarv-askpass-e2e-XXXXXX";
        base_ = ::mkdtemp(pattern);
    }
    void TearDown() override {
        server_.reset();
        std::error_code ignored;
        fs::remove_all(base_, ignored);
    }

    void startServer(int timeoutSeconds = 300) {
        server_ = std::make_unique<AskpassServer>(timeoutSeconds, 10s, base_ + "/");
        collector_ = std::make_unique<PromptCollector>(server_->prompts());
        endpoint_ = server_->start(tarvExecutable);
    }

    // The environment git hands to its askpass program (the part tarv reads).
    std::map<std::string, std::string> gitEnvironment() const {
        return {{"TARV_ASKPASS_SOCKET", endpoint_.socketPath},
                {"TARV_ASKPASS_TOKEN", endpoint_.token},
                {"HOME", base_},
                {"PATH", "/usr/bin:/bin"}};
    }

    std::future<ChildOutcome> ask(std::optional<std::string> prompt,
                                  std::map<std::string, std::string> environment,
                                  std::optional<std::string> program = std::nullopt) {
        std::vector<std::string> arguments;
        if (prompt) arguments.push_back(*prompt);
        return std::async(std::launch::async, [path = program.value_or(endpoint_.askpassPath), arguments,
                                               environment] {
            return runChild(path, arguments, environment);
        });
    }

    std::string base_;
    std::unique_ptr<AskpassServer> server_;
    std::unique_ptr<PromptCollector> collector_;
    AskpassServer::Endpoint endpoint_;
};

}  // namespace

TEST_F(AskpassEndToEnd, ThePromptArrivesParsedAndTheAnswerIsPrinted) {
    startServer();
    const std::string prompt = "Username for 'https://github.com': ";
    auto client = ask(prompt, gitEnvironment());
    ASSERT_TRUE(collector_->waitFor(1));
    EXPECT_EQ(collector_->prompts()[0],
              (CredentialPrompt{1, CredentialPrompt::Kind::username, prompt, "https://github.com",
                                CredentialPrompt::Asker::git}));
    server_->respond(1, "octocat");
    const auto outcome = client.get();
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, "octocat\n");
    EXPECT_EQ(outcome.err, "");

    // Cancelled by the user: no answer, no output.
    auto cancelled = ask("Password for 'https://octocat@github.com': ", gitEnvironment());
    ASSERT_TRUE(collector_->waitFor(2));
    EXPECT_EQ(collector_->prompts()[1].kind, CredentialPrompt::Kind::password);
    server_->respond(2, std::nullopt);
    const auto refused = cancelled.get();
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "");

    // Started without an argument, the client sends the empty prompt.
    auto bare = ask(std::nullopt, gitEnvironment());
    ASSERT_TRUE(collector_->waitFor(3));
    EXPECT_EQ(collector_->prompts()[2].message, "");
    server_->respond(3, "");
    const auto empty = bare.get();
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_EQ(empty.out, "\n");
}

TEST_F(AskpassEndToEnd, InConfirmationModeOnlyTheExitStatusAnswers) {
    startServer();
    const struct {
        std::optional<std::string> answer;
        int exitCode;
    } cases[] = {
        {"y", 0}, {"Yes", 0}, {"YES", 0}, {"yes please", 0},
        {"no", 1}, {"", 1}, {" y", 1}, {std::nullopt, 1},
    };
    auto environment = gitEnvironment();
    environment["SSH_ASKPASS_PROMPT"] = "confirm";
    // All clients at once; each prompt names its case.
    const std::string question = "Are you sure you want to continue connecting (yes/no/[fingerprint])? ";
    std::vector<std::future<ChildOutcome>> clients;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        clients.push_back(ask(question + std::to_string(i), environment));
    }
    ASSERT_TRUE(collector_->waitFor(std::size(cases)));
    for (const auto& prompt : collector_->prompts()) {
        EXPECT_EQ(prompt.kind, CredentialPrompt::Kind::confirmation);
        const auto index = std::stoul(prompt.message.substr(question.size()));
        server_->respond(prompt.id, cases[index].answer);
    }
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto outcome = clients[i].get();
        EXPECT_EQ(outcome.exitCode, cases[i].exitCode) << cases[i].answer.value_or("(refused)");
        EXPECT_EQ(outcome.out, "") << cases[i].answer.value_or("(refused)");
    }
    std::int64_t id = static_cast<std::int64_t>(std::size(cases));

    // Any other value of the variable is a normal prompt.
    environment["SSH_ASKPASS_PROMPT"] = "none";
    auto normal = ask("Enter PIN for 'key': ", environment);
    ASSERT_TRUE(collector_->waitFor(static_cast<std::size_t>(++id)));
    server_->respond(id, "1234");
    EXPECT_EQ(normal.get().out, "1234\n");
}

TEST_F(AskpassEndToEnd, AWrongOrMissingSecretGetsNoPrompt) {
    startServer();
    std::string wrongToken = endpoint_.token;
    wrongToken.back() = wrongToken.back() == '0' ? '1' : '0';

    auto wrong = gitEnvironment();
    wrong["TARV_ASKPASS_TOKEN"] = wrongToken;
    auto noToken = gitEnvironment();
    noToken.erase("TARV_ASKPASS_TOKEN");
    auto noSocket = gitEnvironment();
    noSocket.erase("TARV_ASKPASS_SOCKET");
    auto tooLong = gitEnvironment();
    tooLong["TARV_ASKPASS_SOCKET"] = "/" + std::string(107, 's');

    std::vector<std::future<ChildOutcome>> clients;
    for (const auto& environment : {wrong, noToken, noSocket, tooLong, std::map<std::string, std::string>{}}) {
        clients.push_back(ask("Password: ", environment));
    }
    for (auto& client : clients) {
        const auto outcome = client.get();
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, "");
    }
    EXPECT_EQ(collector_->count(), 0u);
}

TEST_F(AskpassEndToEnd, AnUnansweredPromptEndsAfterTheTimeLimit) {
    startServer(1);
    const auto start = std::chrono::steady_clock::now();
    const auto outcome = ask("Password: ", gitEnvironment()).get();
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(collector_->count(), 1u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 20s);
}

TEST_F(AskpassEndToEnd, StopReleasesEveryWaitingClientAtOnce) {
    startServer();
    auto first = ask("Username for 'https://example.com': ", gitEnvironment());
    auto second = ask("Enter passphrase for key '/k': ", gitEnvironment());
    ASSERT_TRUE(collector_->waitFor(2));

    const auto start = std::chrono::steady_clock::now();
    server_->stop();
    for (auto* client : {&first, &second}) {
        ASSERT_EQ(client->wait_for(10s), std::future_status::ready);
        const auto outcome = client->get();
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_EQ(outcome.out, "");
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_FALSE(fs::exists(endpoint_.directory));
    EXPECT_TRUE(collector_->waitForEnd());
}

TEST_F(AskpassEndToEnd, GitAsksForItsCredentialsThroughTheLink) {
    startServer();
    LoopbackHTTPServer http;
    http.route("GET", "/repo.git/info/refs", [](const LoopbackHTTPServer::Request& request) {
        if (!request.header("authorization")) {
            return LoopbackHTTPServer::Response::text(401, "sign in").with("WWW-Authenticate",
                                                                            "Basic realm=\"test\"");
        }
        return LoopbackHTTPServer::Response::text(404, "no such repository");
    });

    auto environment = gitEnvironment();
    environment["GIT_ASKPASS"] = endpoint_.askpassPath;
    environment["GIT_TERMINAL_PROMPT"] = "0";
    environment["GIT_CONFIG_NOSYSTEM"] = "1";
    environment["GIT_CONFIG_GLOBAL"] = "/dev/null";
    environment["XDG_CONFIG_HOME"] = base_ + "/config";
    environment["no_proxy"] = "*";
    auto git = std::async(std::launch::async, [&] {
        return runChild("/usr/bin/git", {"clone", http.url("/repo.git"), base_ + "/clone"}, environment, base_);
    });

    ASSERT_TRUE(collector_->waitFor(1));
    const auto user = collector_->prompts()[0];
    EXPECT_EQ(user.kind, CredentialPrompt::Kind::username);
    EXPECT_EQ(user.subject, http.baseURL());
    server_->respond(user.id, "octocat");
    ASSERT_TRUE(collector_->waitFor(2));
    const auto password = collector_->prompts()[1];
    EXPECT_EQ(password.kind, CredentialPrompt::Kind::password);
    EXPECT_EQ(password.subject, "http://octocat@127.0.0.1:" + std::to_string(http.port()));
    server_->respond(password.id, "s3cret");

    EXPECT_NE(git.get().exitCode, 0);  // the repository does not exist
    bool sawCredentials = false;
    for (const auto& request : http.requests()) {
        // "octocat:s3cret" in base64.
        if (request.header("authorization") == "Basic b2N0b2NhdDpzM2NyZXQ=") sawCredentials = true;
    }
    EXPECT_TRUE(sawCredentials);
}

// git starts "tarv-askpass" and ssh "tarv-ssh-askpass": the prompt says which
// of the two asked, whatever its words, and both relay the answer alike.
TEST_F(AskpassEndToEnd, ThePromptSaysWhetherGitOrSshAsked) {
    startServer();
    EXPECT_EQ(fs::read_symlink(endpoint_.sshAskpassPath), tarvExecutable);
    const std::string words = "Password for 'https://github.com': ";
    auto git = ask(words, gitEnvironment(), endpoint_.askpassPath);
    ASSERT_TRUE(collector_->waitFor(1));
    auto ssh = ask(words, gitEnvironment(), endpoint_.sshAskpassPath);
    ASSERT_TRUE(collector_->waitFor(2));

    const auto prompts = collector_->prompts();
    EXPECT_EQ(prompts[0].asker, CredentialPrompt::Asker::git);
    EXPECT_EQ(prompts[1].asker, CredentialPrompt::Asker::ssh);
    for (const auto& prompt : prompts) {
        EXPECT_EQ(prompt.message, words);
        EXPECT_EQ(prompt.kind, CredentialPrompt::Kind::password);
        server_->respond(prompt.id, "typed by the user");
    }
    for (auto* client : {&git, &ssh}) {
        const auto outcome = client->get();
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_EQ(outcome.out, "typed by the user\n");
    }
}
