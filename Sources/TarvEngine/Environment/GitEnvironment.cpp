#include "TarvEngine/Environment/GitEnvironment.hpp"

namespace tarv::engine {

const std::vector<std::string>& GitEnvironment::baseArguments() {
    static const std::vector<std::string> arguments{"-c", "core.quotePath=false", "-c", "color.ui=false"};
    return arguments;
}

std::map<std::string, std::string> GitEnvironment::variables(bool readOnly, const std::optional<Askpass>& askpass,
                                                             const std::optional<Isolation>& isolation) {
    std::map<std::string, std::string> variables{
        {"GIT_TERMINAL_PROMPT", "0"},
        {"GIT_PAGER", "cat"},
        {"GIT_EDITOR", ":"},
        {"LC_ALL", "C"},
    };
    if (readOnly) variables["GIT_OPTIONAL_LOCKS"] = "0";
    if (askpass) {
        variables["GIT_ASKPASS"] = askpass->git;
        variables["SSH_ASKPASS"] = askpass->ssh;
        variables["SSH_ASKPASS_REQUIRE"] = "force";
    }
    if (isolation) {
        variables["HOME"] = isolation->home;
        variables["GIT_CONFIG_GLOBAL"] = isolation->globalConfig;
        if (isolation->ignoreSystemConfig) variables["GIT_CONFIG_NOSYSTEM"] = "1";
    }
    return variables;
}

const std::map<std::string, std::string>& GitEnvironment::literalPathspecs() {
    static const std::map<std::string, std::string> environment{{"GIT_LITERAL_PATHSPECS", "1"}};
    return environment;
}

}  // namespace tarv::engine
