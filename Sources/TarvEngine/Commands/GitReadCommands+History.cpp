#include "TarvCore/Concurrency/Siblings.hpp"
#include "TarvEngine/Commands/GitReadCommands.hpp"
#include "TarvEngine/Parsers/CommitFilesParser.hpp"
#include "TarvEngine/Parsers/LogParser.hpp"

namespace tarv::engine {

std::vector<std::string> GitReadCommands::historyArguments(std::int64_t skip, std::int64_t limit) {
    return {"log", "-z", "--format=" + std::string(LogParser::format), "--max-count=" + std::to_string(limit),
            "--skip=" + std::to_string(skip)};
}

std::vector<core::Commit> GitReadCommands::history(const std::string& path, std::int64_t skip, std::int64_t limit,
                                                   std::stop_token stop) const {
    auto result = executor.run(historyArguments(skip, limit), path, {.allowedExitCodes = {0, 128}}, stop);
    if (result.exitCode != 0) return {};
    return LogParser::parse(result.stdoutBytes());
}

std::vector<core::CommitFile> GitReadCommands::files(const std::string& sha, const std::string& path,
                                                     std::stop_token stop) const {
    auto show = [&](const char* listing) {
        return [&, listing](std::stop_token token) {
            return executor.run({"show", "--format=", "--no-renames", "-z", "-m", "--first-parent", listing, sha},
                                path, token);
        };
    };
    auto [nameStatus, numstat] = core::runSiblings(stop, show("--name-status"), show("--numstat"));
    return CommitFilesParser::parse(nameStatus.stdoutBytes(), numstat.stdoutBytes());
}

}  // namespace tarv::engine
