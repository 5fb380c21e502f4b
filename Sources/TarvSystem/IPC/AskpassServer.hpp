#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "TarvCore/Ports/CredentialBroker.hpp"

namespace tarv::system {

// The interactive process's end of the askpass relay and the live credential
// broker. `start` makes a private directory holding a listening socket and a
// "tarv-askpass" link (for git) and a "tarv-ssh-askpass" link (for ssh) to
// the executable; each authenticated connection
// becomes one prompt on the stream and waits for `respond`, the answer time
// limit or `stop`, then gets its one-line answer.
class AskpassServer final : public core::CredentialBroker {
public:
    // Where git and ssh find their askpass programs, the socket and the token.
    struct Endpoint {
        std::string directory;
        std::string socketPath;   // directory + "/s"
        std::string askpassPath;  // directory + "/tarv-askpass": git's
        std::string token;
        std::string sshAskpassPath;  // directory + "/tarv-ssh-askpass": ssh's
        bool operator==(const Endpoint&) const = default;
    };

    // `timeoutSeconds`: how long a prompt waits for the user's answer.
    // `readTimeout`: how long an accepted connection may take to send its
    // request. `temporaryBase`: the folder that holds the private directory
    // (ending with "/"); empty means the per-user temporary folder.
    explicit AskpassServer(int timeoutSeconds = 300,
                           std::chrono::milliseconds readTimeout = std::chrono::seconds(10),
                           std::optional<std::string> temporaryBase = std::nullopt);
    // Stops the server (see `stop`).
    ~AskpassServer() override;

    AskpassServer(const AskpassServer&) = delete;
    AskpassServer& operator=(const AskpassServer&) = delete;

    std::shared_ptr<core::Channel<core::CredentialPrompt>> prompts() override;
    void respond(std::int64_t id, std::optional<std::string> answer) override;

    // Creates the private directory, the socket and the links, removing stale
    // directories of dead processes of this user first, and starts accepting.
    // Throws std::filesystem::filesystem_error when the directory or a link
    // cannot be made and core::ProcessError::spawnFailed when the socket
    // cannot be set up; nothing is left behind then.
    Endpoint start(const std::string& executablePath);

    // Closes the socket, answers every waiting or still-reading connection at
    // once with a refusal, removes the directory and ends the prompt stream.
    // Prompts that arrive later are refused at once. A second call does
    // nothing more.
    void stop();

    // Four secure random 64-bit values in lower-case hexadecimal.
    static std::string makeToken();
    // Compares in a time that depends only on the length.
    static bool constantTimeEquals(std::string_view a, std::string_view b);

private:
    struct Shared;

    static void acceptLoop(const std::shared_ptr<Shared>& shared, int listenFD, const std::string& token);
    static void handle(const std::shared_ptr<Shared>& shared, int fd, const std::string& token);
    void removeStaleDirectories(uid_t uid) const;
    std::string temporaryBase() const;

    std::shared_ptr<Shared> shared_;
    std::thread acceptThread_;
};

}  // namespace tarv::system
