#include "TarvEngine/Service/GitExecutor.hpp"

#include <filesystem>
#include <string_view>

#include "TarvCore/Errors/GitError.hpp"
#include "TarvCore/Text/Trim.hpp"

namespace tarv::engine {

namespace {

// The most of git's standard output a failure carries when git wrote
// nothing on its error.
constexpr std::size_t maxOutputInError = 4096;

// The folder above `directory`, as an absolute path; none for the root.
std::optional<std::string> folderAbove(const std::string& directory) {
    std::string_view trimmed = directory;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.remove_suffix(1);
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(std::filesystem::path(trimmed), error);
    if (error) return std::nullopt;
    std::filesystem::path parent = path.parent_path();
    if (parent.empty() || parent == path) return std::nullopt;
    return parent.string();
}

}  // namespace

core::ProcessSpec GitExecutor::spec(const std::vector<std::string>& arguments,
                                    const std::optional<std::string>& directory, const Options& options) const {
    auto environment = GitEnvironment::variables(options.readOnly, askpass, isolation);
    if (directory && !options.searchesAbove) {
        if (auto above = folderAbove(*directory)) environment["GIT_CEILING_DIRECTORIES"] = std::move(*above);
    }
    for (const auto& [key, value] : extraEnvironment) environment[key] = value;
    for (const auto& [key, value] : options.environment) environment[key] = value;

    std::vector<std::string> fullArguments = GitEnvironment::baseArguments();
    fullArguments.insert(fullArguments.end(), arguments.begin(), arguments.end());

    core::ProcessSpec spec;
    spec.executable = installation.path;
    spec.arguments = std::move(fullArguments);
    spec.environment = std::move(environment);
    spec.inheritEnvironment = true;
    // The repository is the folder git runs in, whatever this process was
    // started with; the per-call environment may still name a private index.
    spec.clearedVariables = GitEnvironment::locatingVariables();
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
    // git says some refusals ("nothing to commit", a submodule's modified
    // content) on its standard output and nothing on its error: then that
    // short output is what it said.
    std::string said = core::text::trimmed(result.stderrString());
    if (said.empty() && result.stdoutBytes().size() <= maxOutputInError) {
        said = core::text::trimmed(result.stdoutString());
    }
    throw core::GitError::commandFailed(std::move(command), result.exitCode, std::move(said));
}

core::ProcessResult GitExecutor::run(const std::vector<std::string>& arguments,
                                     const std::optional<std::string>& directory, std::stop_token stop) const {
    return run(arguments, directory, Options{}, stop);
}

}  // namespace tarv::engine
