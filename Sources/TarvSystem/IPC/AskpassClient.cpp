#include "TarvSystem/IPC/AskpassClient.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "TarvSystem/IPC/AskpassRequest.hpp"
#include "TarvSystem/IPC/AskpassResponse.hpp"
#include "TarvSystem/IPC/AskpassWire.hpp"
#include "TarvSystem/IPC/UnixSocket.hpp"

namespace tarv::system::AskpassClient {

namespace {

void writeToStandardOutput(const std::string& text) {
    std::size_t offset = 0;
    while (offset < text.size()) {
        const ssize_t written = ::write(STDOUT_FILENO, text.data() + offset, text.size() - offset);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        offset += static_cast<std::size_t>(written);
    }
}

bool beginsWithY(const std::string& answer) {
    return !answer.empty() && (answer.front() == 'y' || answer.front() == 'Y');
}

}  // namespace

core::CredentialPrompt::Asker asker(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return core::CredentialPrompt::Asker::unknown;
    const std::string& path = arguments.front();
    const auto slash = path.find_last_of('/');
    const std::string last = slash == std::string::npos ? path : path.substr(slash + 1);
    if (last == programName) return core::CredentialPrompt::Asker::git;
    if (last == sshProgramName) return core::CredentialPrompt::Asker::ssh;
    return core::CredentialPrompt::Asker::unknown;
}

bool isInvocation(const std::vector<std::string>& arguments) {
    return asker(arguments) != core::CredentialPrompt::Asker::unknown;
}

std::int32_t run(const std::vector<std::string>& arguments,
                 const std::map<std::string, std::string>& environment) {
    const std::string prompt = arguments.size() >= 2 ? arguments[1] : std::string();
    if (environment.empty()) return 1;
    const auto socketPath = environment.find("TARV_ASKPASS_SOCKET");
    const auto token = environment.find("TARV_ASKPASS_TOKEN");
    if (socketPath == environment.end() || token == environment.end()) return 1;

    const auto answer = request(prompt, socketPath->second, token->second, asker(arguments));
    if (!answer) return 1;

    const auto mode = environment.find("SSH_ASKPASS_PROMPT");
    if (mode != environment.end() && mode->second == "confirm") return beginsWithY(*answer) ? 0 : 1;

    writeToStandardOutput(*answer + "\n");
    return 0;
}

std::optional<std::string> request(const std::string& prompt, const std::string& socketPath,
                                   const std::string& token, core::CredentialPrompt::Asker asker) {
    const auto fd = UnixSocket::connect(socketPath);
    if (!fd) return std::nullopt;

    std::string line = AskpassRequest{token, prompt, asker}.encode();
    line.push_back('\n');
    // A failed write is not reported by itself: the read below then fails.
    UnixSocket::writeAll(*fd, {reinterpret_cast<const std::uint8_t*>(line.data()), line.size()});

    const auto reply = UnixSocket::readLine(*fd, AskpassWire::maxLineBytes);
    ::close(*fd);
    if (!reply) return std::nullopt;

    const auto response = AskpassResponse::decode(
        std::string_view(reinterpret_cast<const char*>(reply->data()), reply->size()));
    if (!response || !response->ok) return std::nullopt;
    return response->value.value_or(std::string());
}

}  // namespace tarv::system::AskpassClient
