#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tarv::engine {

// The fixed command-line prefix and environment of every git child process:
// no terminal prompt, no pager, a no-op editor, the C locale, no colour,
// unquoted paths.
struct GitEnvironment {
    // Runs git against a private home and global configuration instead of the
    // user's own.
    struct Isolation {
        std::string home;
        std::string globalConfig;
        bool ignoreSystemConfig = true;

        bool operator==(const Isolation&) const = default;
    };

    // The askpass programs git and ssh start for a prompt. They are
    // separate so that the one answering knows who asks: git's own
    // credential prompts, or ssh's, whose text an SSH server may choose.
    struct Askpass {
        std::string git;  // GIT_ASKPASS
        std::string ssh;  // SSH_ASKPASS

        bool operator==(const Askpass&) const = default;
    };

    // Put in front of the arguments of every git command.
    static const std::vector<std::string>& baseArguments();

    // The variables a git call adds on top of the inherited environment.
    static std::map<std::string, std::string> variables(bool readOnly, const std::optional<Askpass>& askpass,
                                                        const std::optional<Isolation>& isolation);

    // The variables with which git finds a repository somewhere else than
    // in the folder it runs in. No git of the program inherits them: the
    // folder opened alone says which repository is read and written.
    static const std::vector<std::string>& locatingVariables();

    // The per-call environment of every command that names files: git then
    // reads each path literally, so "a[1].txt" can never select "a1.txt"
    // (without it git treats *, ? and [ as patterns even after "--").
    static const std::map<std::string, std::string>& literalPathspecs();
};

}  // namespace tarv::engine
