#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "TarvCore/Models/CredentialPrompt.hpp"

// The askpass program: the tarv executable started by git under the name
// "tarv-askpass", or by ssh under the name "tarv-ssh-askpass". It relays its
// one prompt, and which of the two asked, to the running interface's askpass
// server and prints the answer.
namespace tarv::system::AskpassClient {

// The names the executable is started under in askpass mode: git's askpass
// program (GIT_ASKPASS) and ssh's (SSH_ASKPASS).
inline constexpr const char* programName = "tarv-askpass";
inline constexpr const char* sshProgramName = "tarv-ssh-askpass";

// True when the last path component of `arguments[0]` is exactly one of
// the two names.
bool isInvocation(const std::vector<std::string>& arguments);

// Who asks, by the name the program was started under: git for
// "tarv-askpass", ssh for "tarv-ssh-askpass", unknown otherwise.
core::CredentialPrompt::Asker asker(const std::vector<std::string>& arguments);

// The whole askpass program: exit status 0 with the answer and a line feed
// on standard output, or 1 with no output at all. With SSH_ASKPASS_PROMPT
// set to "confirm" nothing is printed and the status says whether the
// answer begins with "y" (any case).
std::int32_t run(const std::vector<std::string>& arguments,
                 const std::map<std::string, std::string>& environment);

// One exchange with the server: the answer, or empty when there is none or
// anything failed.
std::optional<std::string> request(const std::string& prompt, const std::string& socketPath,
                                   const std::string& token,
                                   core::CredentialPrompt::Asker asker = core::CredentialPrompt::Asker::unknown);

}  // namespace tarv::system::AskpassClient
