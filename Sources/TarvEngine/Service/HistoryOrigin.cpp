#include "TarvEngine/Service/HistoryOrigin.hpp"

#include <algorithm>
#include <string_view>
#include <vector>

#include "TarvCore/Errors/GitError.hpp"

namespace tarv::engine {

namespace {

std::string_view view(const core::Bytes& bytes) { return core::byteView(bytes); }

// `text` without one trailing line break.
std::string_view withoutNewline(std::string_view text) {
    if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
    return text;
}

// Appends one file to the reading: a mark for a missing file, else its
// length and bytes (so that no two different sets of files read the same).
void append(std::string& reading, const std::optional<core::Bytes>& bytes) {
    if (!bytes) {
        reading += '-';
        return;
    }
    reading += std::to_string(bytes->size());
    reading += ':';
    reading += view(*bytes);
}

// Refs that live with one worktree rather than with the repository.
bool isWorktreeRef(std::string_view name) {
    for (std::string_view prefix : {"refs/worktree/", "refs/bisect/", "refs/rewritten/"})
        if (name.starts_with(prefix)) return true;
    return false;
}

}  // namespace

std::optional<HistoryOrigin::Locations> HistoryOrigin::locate(const GitExecutor& executor,
                                                              const std::string& repository, std::stop_token stop) {
    const std::vector<std::string> names{"HEAD", "refs", "packed-refs", "shallow", "info/grafts"};
    std::vector<std::string> arguments{"rev-parse"};
    for (const auto& name : names) {
        arguments.push_back("--git-path");
        arguments.push_back(name);
    }
    core::ProcessResult result;
    try {
        result = executor.run(arguments, repository, stop);
    } catch (const core::GitError&) {
        return std::nullopt;
    }
    std::vector<std::string> paths;
    std::string_view output = result.stdoutBytes();
    while (!output.empty()) {
        const auto end = output.find('\n');
        std::string path(output.substr(0, end));
        if (!path.starts_with('/')) path = repository + "/" + path;
        paths.push_back(std::move(path));
        if (end == std::string_view::npos) break;
        output.remove_prefix(end + 1);
    }
    if (paths.size() != names.size()) return std::nullopt;
    // The refs folder sits in the repository's common folder, beside the
    // reftable when there is one.
    const std::string& refs = paths[1];
    const auto slash = refs.find_last_of('/');
    return Locations{paths[0], refs, paths[2], paths[3], paths[4], refs.substr(0, slash + 1) + "reftable"};
}

std::optional<std::string> HistoryOrigin::read(const Locations& locations, const core::FileStore& files) {
    try {
        if (files.fileExists(locations.reftable)) return std::nullopt;
        const auto head = files.readFile(locations.head);
        if (!head) return std::nullopt;
        std::string reading;
        append(reading, head);
        const std::string_view headText = withoutNewline(view(*head));
        if (headText.starts_with("ref: ")) {
            const std::string_view name = headText.substr(5);
            if (!name.starts_with("refs/") || isWorktreeRef(name)) return std::nullopt;
            const auto target = files.readFile(locations.refs + std::string(name.substr(4)));
            if (target && view(*target).starts_with("ref: ")) return std::nullopt;
            append(reading, target);
        }
        append(reading, files.readFile(locations.packedRefs));
        append(reading, files.readFile(locations.shallow));
        append(reading, files.readFile(locations.grafts));
        const std::string replace = locations.refs + "/replace";
        if (files.isDirectory(replace)) {
            auto names = files.contentsOfDirectory(replace);
            std::sort(names.begin(), names.end());
            for (const auto& name : names) {
                reading += name;
                append(reading, files.readFile(replace + "/" + name));
            }
        }
        return reading;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace tarv::engine
