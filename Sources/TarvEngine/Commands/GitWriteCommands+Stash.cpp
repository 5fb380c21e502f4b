#include "TarvCore/Rules/BranchNameRules.hpp"
#include "TarvCore/Rules/GitIgnoreRules.hpp"
#include "TarvEngine/Commands/BackupRefs.hpp"
#include "TarvEngine/Commands/GitWriteCommands.hpp"
#include "TarvEngine/Commands/WriteMessages.hpp"
#include "TarvEngine/Commands/WriteSupport.hpp"
#include "TarvEngine/Parsers/StashParser.hpp"

namespace tarv::engine {

void GitWriteCommands::stash(const std::string& repository, const std::string& message, std::stop_token stop) const {
    auto result = executor.run({"stash", "push", "--include-untracked", "-m", "tarv: " + message}, repository,
                               write::writing(), stop);
    if (result.stdoutBytes().find("No local changes to save") != std::string_view::npos) {
        write::refuse(WriteMessages::nothingToStash);
    }
}

namespace {

// The reflog name ("stash@{2}") the stash with this commit id has now.
std::string listedStash(const GitExecutor& executor, const std::string& repository, const std::string& commit,
                        std::stop_token stop) {
    auto listed = executor.run({"stash", "list", "-z", "--format=" + std::string(StashParser::format)}, repository,
                               write::reading({0}), stop);
    for (const auto& entry : StashParser::parse(listed.stdoutBytes())) {
        if (!commit.empty() && entry.commit == commit) return entry.reference;
    }
    write::refuse(WriteMessages::stashGone);
}

}  // namespace

void GitWriteCommands::restoreStash(const std::string& repository, const std::string& commit,
                                    std::stop_token stop) const {
    const std::string reference = listedStash(executor, repository, commit, stop);
    executor.run({"stash", "pop", reference}, repository, write::writing(), stop);
}

void GitWriteCommands::dropStash(const std::string& repository, const std::string& commit,
                                 std::stop_token stop) const {
    const std::string reference = listedStash(executor, repository, commit, stop);
    // The dropped stash stays reachable under a backup name first (the plain
    // name holds the latest drop, older ones move to numbered names).
    BackupRefs{executor}.keep(repository, std::string(droppedStashBackup), commit, stop);
    executor.run({"stash", "drop", reference}, repository, write::writing(), stop);
}

void GitWriteCommands::addWorktree(const std::string& repository, const std::string& path, const std::string& branch,
                                   std::stop_token stop) const {
    if (!core::BranchNameRules::isValid(branch)) write::refuse(WriteMessages::invalidBranchName, branch);
    auto exists =
        executor.run({"show-ref", "--verify", "-q", "refs/heads/" + branch}, repository, write::reading({0, 1}), stop);
    if (exists.exitCode == 0) {
        executor.run({"worktree", "add", "-q", "--", path, branch}, repository, write::writing(), stop);
    } else {
        executor.run({"worktree", "add", "-q", "-b", branch, "--", path}, repository, write::writing(), stop);
    }
}

void GitWriteCommands::removeWorktree(const std::string& repository, const std::string& path,
                                      std::stop_token stop) const {
    executor.run({"worktree", "remove", "--", path}, repository, write::writing(), stop);
}

void GitWriteCommands::ignore(const std::string& repository, const core::FileChange& file, const core::FileStore& files,
                              std::stop_token stop) const {
    // The rule first: a path that no .gitignore line can express is refused
    // before anything is touched.
    const std::string rule = core::GitIgnoreRules::entry(file.path);
    // A .gitignore that is a symbolic link is refused, never read or
    // replaced: what it points at may lie outside the repository.
    const std::optional<core::Bytes> current = files.readFileInWorkingTree(repository, ".gitignore");
    const std::string_view content = current ? core::byteView(*current) : std::string_view();
    // Bytes in, bytes out: the lines already there are kept exactly, whatever
    // their encoding.
    if (auto updated = core::GitIgnoreRules::adding(rule, content)) {
        files.writeFileInWorkingTree(repository, ".gitignore", core::toBytes(*updated));
    }
    if (file.kind == core::ChangeKind::untracked) return;
    executor.run({"rm", "--cached", "-f", "-q", "--", file.path}, repository, write::writingPaths({0, 128}), stop);
}

}  // namespace tarv::engine
