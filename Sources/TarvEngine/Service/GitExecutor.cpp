#include "TarvEngine/Service/GitExecutor.hpp"

#include "TarvCore/Errors/GitError.hpp"
#include "TarvCore/Text/Trim.hpp"

namespace tarv::engine {

core::ProcessSpec GitExecutor::spec(const std::vector<std::string>& arguments,
                                    const std::optional<std::string>& directory, const Options& options) const {
    auto environment = GitEnvironment::variables(options.readOnly, askpass, isolation);
    for (const auto& [key, value] : extraEnvironment) environment[key] = value;
    for (const auto& [key, value] : options.environment) environment[key] = value;

    std::vector<std::string> fullArguments = GitEnvironment::baseArguments();
    fullArguments.insert(fullArguments.end(), arguments.begin(), arguments.end());

    core::ProcessSpec spec;
    spec.executable = installation.path;
    spec.arguments = std::move(fullArguments);
    spec.environment = std::move(environment);
    spec.inheritEnvironment = true;
    spec.currentDirectory = directory;
    spec.stdin = options.stdin;
    spec.timeout = options.timeout;
    return spec;
}

core::ProcessResult GitExecutor::run(const std::vector<std::string>& arguments,
                                     const std::optional<std::string>& directory, const Options& options,
                                     std::stop_token stop) const {
    core::ProcessResult result = runner->run(spec(arguments, directory, options), stop);
    if (options.allowedExitCodes.contains(result.exitCode)) return result;

    std::string command = "git";
    for (const auto& argument : arguments) {
        command += ' ';
        command += argument;
    }
    throw core::GitError::commandFailed(std::move(command), result.exitCode,
                                        core::text::trimmed(result.stderrString()));
}

core::ProcessResult GitExecutor::run(const std::vector<std::string>& arguments,
                                     const std::optional<std::string>& directory, std::stop_token stop) const {
    return run(arguments, directory, Options{}, stop);
}

}  // namespace tarv::engine
