#include "TarvCore/Text/Split.hpp"
#include "TarvEngine/Commands/BackupRefs.hpp"
#include "TarvEngine/Commands/GitWriteCommands.hpp"
#include "TarvEngine/Commands/WriteMessages.hpp"
#include "TarvEngine/Commands/WriteSupport.hpp"

namespace tarv::engine {

core::CommitMessage GitWriteCommands::undoLastCommit(const std::string& repository, const KeepChanges& keep,
                                                     std::stop_token stop) const {
    auto head = executor.run({"rev-parse", "--verify", "-q", "HEAD"}, repository, write::reading({0, 1}), stop);
    if (head.exitCode != 0) write::refuse(WriteMessages::nothingToUndo);
    const std::string commit = write::trimmedOutput(head);
    // A commit others may have is never taken back, upstream or not.
    auto published = executor.run({"for-each-ref", "--count=1", "--contains", commit, "--format=%(refname)",
                                   "refs/remotes/"},
                                  repository, stop);
    if (!write::trimmedOutput(published).empty()) write::refuse(WriteMessages::undoPublished);
    // Nor a merge: its first parent would take the merged work as changes,
    // and committing them again would lose the merge.
    auto second = executor.run({"rev-parse", "--verify", "-q", commit + "^2"}, repository, write::reading({0, 1}), stop);
    if (second.exitCode == 0) write::refuse(WriteMessages::undoMerge);

    auto log = executor.run({"log", "-1", "--format=%B"}, repository, stop);
    const std::string text = log.stdoutString();
    const auto pieces = core::text::split(std::string_view(text), '\n', {.maxSplits = 1, .omittingEmpty = false});
    core::CommitMessage message;
    if (!pieces.empty()) message.summary = core::text::trimmed(pieces[0]);
    if (pieces.size() > 1) message.description = core::text::trimmed(pieces[1]);

    auto parent = executor.run({"rev-parse", "--verify", "-q", "HEAD~1"}, repository, write::reading({0, 1}), stop);
    // The reset replaces the index (a version staged apart from the working
    // file would be left as a loose object) and the branch forgets the
    // commit (with the root commit, the branch and its reflog go): both are
    // kept first.
    keep();
    BackupRefs{executor}.keep(repository, std::string(undoneBackup), commit, stop);
    if (parent.exitCode == 0) {
        executor.run({"reset", "-q", "--mixed", "HEAD~1"}, repository, write::writing(), stop);
    } else {
        // The branch's first commit: the branch becomes unborn again and every
        // file stays in the working tree, untracked.
        executor.run({"update-ref", "-d", "HEAD"}, repository, write::writing(), stop);
        executor.run({"read-tree", "--empty"}, repository, write::writing(), std::stop_token{});
    }
    return message;
}

}  // namespace tarv::engine
