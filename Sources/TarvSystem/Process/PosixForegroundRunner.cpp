#include "TarvSystem/Process/PosixForegroundRunner.hpp"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <string_view>

#include "TarvSystem/Process/CStringArray.hpp"
#include "TarvSystem/Process/ExitStatus.hpp"
#include "TarvSystem/Process/SpawnAttributes.hpp"

extern char** environ;

namespace tarv::system {

std::optional<std::int32_t> PosixForegroundRunner::run(const std::string& program,
                                                       const std::vector<std::string>& arguments, std::stop_token) {
    const auto hasNul = [](std::string_view s) { return s.find('\0') != std::string_view::npos; };
    // An argument with a NUL byte cannot be passed whole: do not start a
    // program with a different, cut-short argument.
    if (hasNul(program) || std::ranges::any_of(arguments, hasNul)) return std::nullopt;

    std::vector<std::string> strings;
    strings.reserve(arguments.size() + 1);
    strings.push_back(program);
    strings.insert(strings.end(), arguments.begin(), arguments.end());
    const CStringArray argv(std::move(strings));
    const SpawnAttributes attributes(0);
    if (attributes.error() != 0) return std::nullopt;

    pid_t pid = 0;
    const int spawnError = ::posix_spawnp(&pid, program.c_str(), nullptr, attributes.get(), argv.get(), environ);
    if (spawnError != 0) return std::nullopt;

    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return decodeExitStatus(status);
}

}  // namespace tarv::system
