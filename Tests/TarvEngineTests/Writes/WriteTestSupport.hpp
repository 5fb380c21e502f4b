#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "Support/GitScriptedRunner.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvEngine/Commands/GitReadCommands.hpp"
#include "TarvEngine/Commands/GitRemoteCommands.hpp"
#include "TarvEngine/Commands/GitWriteCommands.hpp"
#include "TarvEngine/Safety/SnapshotCommands.hpp"
#include "TarvEngineTests/Commands/RealGit.hpp"

namespace tarv::engine::testing {

// An executor on the real git whose runs are also recorded by `recorder`
// (its script hands each run to the real process runner).
inline GitExecutor recordingExecutor(const tarv::testing::TempGitRepo& repo,
                                     const std::shared_ptr<tarv::testing::GitScriptedRunner>& recorder) {
    GitExecutor real = realExecutor(repo);
    recorder->setScript([runner = real.runner](const core::ProcessSpec& spec, std::stop_token stop) {
        return runner->run(spec, stop);
    });
    real.runner = recorder;
    return real;
}

// The recorded runs whose arguments (after the base arguments) start with
// `words`.
inline std::vector<core::ProcessSpec> runsOf(const tarv::testing::GitScriptedRunner& recorder,
                                             const std::vector<std::string>& words) {
    std::vector<core::ProcessSpec> found;
    for (const auto& spec : recorder.specs()) {
        const auto& arguments = spec.arguments;
        const std::size_t base = GitEnvironment::baseArguments().size();
        if (arguments.size() < base + words.size()) continue;
        if (std::equal(words.begin(), words.end(), arguments.begin() + static_cast<std::ptrdiff_t>(base))) {
            found.push_back(spec);
        }
    }
    return found;
}

// The working tree as a map from relative path to content ("-> target" for
// a link, "<dir>" for an empty folder), .git left out.
inline std::map<std::string, std::string> disk(const tarv::testing::TempGitRepo& repo) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> files;
    const fs::path root(repo.path());
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        const fs::path relative = fs::relative(it->path(), root);
        if (relative.begin()->string() == ".git") {
            if (it->is_directory()) it.disable_recursion_pending();
            continue;
        }
        if (it->is_symlink()) {
            files[relative.string()] = "-> " + fs::read_symlink(it->path()).string();
        } else if (it->is_regular_file()) {
            files[relative.string()] = repo.readFile(relative.string());
        } else if (it->is_directory() && fs::is_empty(it->path())) {
            files[relative.string()] = "<dir>";
        }
    }
    return files;
}

// The content of `path` in `revision` ("HEAD", "HEAD~1", a ref), or "<none>".
inline std::string blob(const tarv::testing::TempGitRepo& repo, const std::string& revision, const std::string& path) {
    auto output = repo.run({"cat-file", "-p", revision + ":" + path});
    return output.exitCode == 0 ? output.out : "<none>";
}

// `git ls-files -s` of the real index: "mode sha stage\tpath" lines.
inline std::string indexListing(const tarv::testing::TempGitRepo& repo) { return repo.git({"ls-files", "-s"}); }

// The paths of a tree, one per element.
inline std::vector<std::string> treePaths(const tarv::testing::TempGitRepo& repo, const std::string& revision) {
    std::vector<std::string> paths;
    std::string out = repo.git({"ls-tree", "-r", "-z", "--name-only", revision});
    std::size_t start = 0;
    while (start < out.size()) {
        std::size_t end = out.find('\0', start);
        if (end == std::string::npos) end = out.size();
        paths.push_back(out.substr(start, end - start));
        start = end + 1;
    }
    return paths;
}

// The refusal text of a GitError::invalidArgument thrown by `action`, or a
// description of what happened instead.
inline std::string refusal(const std::function<void()>& action) {
    try {
        action();
    } catch (const core::GitError& error) {
        if (const auto* invalid = std::get_if<core::GitError::InvalidArgument>(&error.value)) return invalid->message;
        return "other GitError: " + error.description();
    } catch (const std::exception& error) {
        return std::string("other error: ") + error.what();
    }
    return "no error";
}

// The GitError::commandFailed thrown by `action`; fails the test otherwise.
inline core::GitError::CommandFailed commandFailure(const std::function<void()>& action) {
    try {
        action();
    } catch (const core::GitError& error) {
        if (const auto* failed = std::get_if<core::GitError::CommandFailed>(&error.value)) return *failed;
        ADD_FAILURE() << "unexpected GitError: " << error.description();
        return {};
    }
    ADD_FAILURE() << "no error";
    return {};
}

// The live file store with its temporary folder moved to `temporary`.
class FilesWithTemporaryFolder final : public core::FileStore {
public:
    explicit FilesWithTemporaryFolder(std::string temporary) : temporary_(std::move(temporary)) {}
    std::string homeDirectory() const override { return disk_.homeDirectory(); }
    std::string temporaryDirectory() const override { return temporary_; }
    bool fileExists(const std::string& path) const override { return disk_.fileExists(path); }
    std::optional<core::Bytes> readFile(const std::string& path) const override { return disk_.readFile(path); }
    void writeFile(const std::string& path, const core::Bytes& bytes) const override { disk_.writeFile(path, bytes); }
    std::optional<core::Bytes> readFileInWorkingTree(const std::string& root, const std::string& path) const override {
        return disk_.readFileInWorkingTree(root, path);
    }
    void writeFileInWorkingTree(const std::string& root, const std::string& path,
                                const core::Bytes& bytes) const override {
        disk_.writeFileInWorkingTree(root, path, bytes);
    }
    void removeItem(const std::string& path) const override { disk_.removeItem(path); }
    void createDirectory(const std::string& path) const override { disk_.createDirectory(path); }
    std::vector<std::string> contentsOfDirectory(const std::string& path) const override {
        return disk_.contentsOfDirectory(path);
    }
    bool isDirectory(const std::string& path) const override { return disk_.isDirectory(path); }
    std::string canonicalPath(const std::string& path) const override { return disk_.canonicalPath(path); }

private:
    DiskFiles disk_;
    std::string temporary_;
};

// A temporary repository with the command sets on the real git.
struct RealRepository : ::testing::Test {
    tarv::testing::TempGitRepo repo;
    GitExecutor executor = realExecutor(repo);
    GitWriteCommands writes{executor};
    GitReadCommands reads{executor};
    GitRemoteCommands remotes{executor};
    std::shared_ptr<DiskFiles> files = std::make_shared<DiskFiles>();
    SnapshotCommands snapshots{executor, files};
    std::stop_token none;

    core::Diff diffOf(const std::string& path, core::ChangeKind kind = core::ChangeKind::modified) {
        return reads.diff(repo.path(), core::FileChange{path, std::nullopt, kind, false, true}, none);
    }

    core::WorkingTreeStatus status() { return reads.status(repo.path(), *files, none); }

    core::CommitMessage message(const std::string& summary) { return core::CommitMessage{summary}; }
};

// The refs of the changed lines of `diff` whose text satisfies `keep`.
inline std::set<core::LineRef> linesWhere(const core::Diff& diff,
                                          const std::function<bool(const core::DiffLine&)>& keep) {
    std::set<core::LineRef> refs;
    for (const auto& ref : diff.changeLines()) {
        const auto& line = diff.hunks[static_cast<std::size_t>(ref.hunk)].lines[static_cast<std::size_t>(ref.line)];
        if (keep(line)) refs.insert(ref);
    }
    return refs;
}

}  // namespace tarv::engine::testing
