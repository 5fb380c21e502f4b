#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The askpass program: the tarv executable started by git or ssh under the
// name "tarv-askpass". It relays its one prompt to the running interface's
// askpass server and prints the answer.
namespace tarv::system::AskpassClient {

// The name the executable is started under in askpass mode.
inline constexpr const char* programName = "tarv-askpass";

// True when the last path component of `arguments[0]` is exactly
// "tarv-askpass".
bool isInvocation(const std::vector<std::string>& arguments);

// The whole askpass program: exit status 0 with the answer and a line feed
// on standard output, or 1 with no output at all. With SSH_ASKPASS_PROMPT
// set to "confirm" nothing is printed and the status says whether the
// answer begins with "y" (any case).
std::int32_t run(const std::vector<std::string>& arguments,
                 const std::map<std::string, std::string>& environment);

// One exchange with the server: the answer, or empty when there is none or
// anything failed.
std::optional<std::string> request(const std::string& prompt, const std::string& socketPath,
                                   const std::string& token);

}  // namespace tarv::system::AskpassClient
