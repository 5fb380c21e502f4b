#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <span>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "TarvCore/Errors/GitError.hpp"
#include "TarvCore/Models/ProcessResult.hpp"
#include "TarvCore/Text/Trim.hpp"
#include "TarvEngine/Commands/PathChunks.hpp"
#include "TarvEngine/Commands/WriteMessages.hpp"
#include "TarvEngine/Environment/GitEnvironment.hpp"
#include "TarvEngine/Service/GitExecutor.hpp"

// Small pieces shared by the files of the write commands.
namespace tarv::engine::write {

using namespace std::chrono_literals;

// A refusal made before git runs, in both languages: the message, the
// offending value (when there is one) and what follows it.
[[noreturn]] inline void refuse(const WriteMessages::Refusal& message, std::string_view value = {},
                                const WriteMessages::Refusal& after = {}) {
    const auto text = [&](std::string_view before, std::string_view behind) {
        std::string out(before);
        out.append(value);
        out.append(behind);
        return out;
    };
    throw core::GitError::invalidArgument(text(message.spanish, after.spanish), text(message.english, after.english));
}

// Options of a command that writes. A write that has started is never
// killed half-way: it has no time limit unless one is given (a network
// command's wait for the other side).
inline GitExecutor::Options writing(std::set<std::int32_t> allowed = {0},
                                    std::optional<std::chrono::milliseconds> timeout = std::nullopt) {
    return GitExecutor::Options{.readOnly = false, .allowedExitCodes = std::move(allowed), .timeout = timeout};
}

// Options of a read with the given exit codes.
inline GitExecutor::Options reading(std::set<std::int32_t> allowed) {
    return GitExecutor::Options{.allowedExitCodes = std::move(allowed)};
}

// Options of a write that names files: paths are taken literally.
inline GitExecutor::Options writingPaths(std::set<std::int32_t> allowed = {0}) {
    GitExecutor::Options options = writing(std::move(allowed));
    options.environment = GitEnvironment::literalPathspecs();
    return options;
}

// The standard output as text, trimmed (ids, names, single values).
inline std::string trimmedOutput(const core::ProcessResult& result) {
    return core::text::trimmed(result.stdoutString());
}

// Whether anything (a file, a folder, a link, even a dangling one) is at
// `path` below `repository`. Anything but a clear "nothing there" counts as
// present, so that git itself gets to handle it or to fail.
inline bool presentInWorkingTree(const std::string& repository, const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::symlink_status(std::filesystem::path(repository) / path, error);
    return status.type() != std::filesystem::file_type::not_found;
}

// Runs `prefix` + group for each group of `paths` (PathChunks), in order;
// nothing runs for an empty list. For commands that cannot read their paths
// from standard input.
inline void runInGroups(const GitExecutor& executor, const std::vector<std::string>& prefix,
                        std::span<const std::string> paths, const std::string& directory,
                        const GitExecutor::Options& options, std::stop_token stop) {
    for (auto group : PathChunks::split(paths)) {
        executor.run(PathChunks::arguments(prefix, group), directory, options, stop);
    }
}

// Runs `prefix` once with every path of `paths` on standard input, each
// ended by a NUL ("--pathspec-from-file=-" "--pathspec-file-nul"): no
// command line limit, any byte but NUL in a path, one process however many
// paths. Nothing runs for an empty list.
inline void runWithPathsOnInput(const GitExecutor& executor, std::vector<std::string> prefix,
                                std::span<const std::string> paths, const std::string& directory,
                                GitExecutor::Options options, std::stop_token stop) {
    if (paths.empty()) return;
    core::Bytes input;
    std::size_t size = 0;
    for (const auto& path : paths) size += path.size() + 1;
    input.reserve(size);
    for (const auto& path : paths) {
        input.insert(input.end(), path.begin(), path.end());
        input.push_back(0);
    }
    options.stdin = std::move(input);
    prefix.insert(prefix.end(), {"--pathspec-from-file=-", "--pathspec-file-nul"});
    executor.run(prefix, directory, options, stop);
}

}  // namespace tarv::engine::write
