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

const std::vector<std::string>& GitEnvironment::locatingVariables() {
    static const std::vector<std::string> names{
        "GIT_DIR",        "GIT_WORK_TREE", "GIT_INDEX_FILE", "GIT_OBJECT_DIRECTORY", "GIT_ALTERNATE_OBJECT_DIRECTORIES",
        "GIT_COMMON_DIR", "GIT_NAMESPACE", "GIT_PREFIX",
    };
    return names;
}

const std::map<std::string, std::string>& GitEnvironment::literalPathspecs() {
    static const std::map<std::string, std::string> environment{{"GIT_LITERAL_PATHSPECS", "1"}};
    return environment;
}

}  // namespace tarv::engine
