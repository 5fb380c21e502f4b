#include "TarvCore/Text/Split.hpp"
#include "TarvEngine/Commands/GitWriteCommands.hpp"
#include "TarvEngine/Commands/WriteMessages.hpp"
#include "TarvEngine/Commands/WriteSupport.hpp"

namespace tarv::engine {

core::CommitMessage GitWriteCommands::undoLastCommit(const std::string& repository, std::stop_token stop) const {
    auto head = executor.run({"rev-parse", "--verify", "-q", "HEAD"}, repository, write::reading({0, 1}), stop);
    if (head.exitCode != 0) write::refuse(WriteMessages::nothingToUndo);

    auto log = executor.run({"log", "-1", "--format=%B"}, repository, stop);
    const std::string text = log.stdoutString();
    const auto pieces = core::text::split(std::string_view(text), '\n', {.maxSplits = 1, .omittingEmpty = false});
    core::CommitMessage message;
    if (!pieces.empty()) message.summary = core::text::trimmed(pieces[0]);
    if (pieces.size() > 1) message.description = core::text::trimmed(pieces[1]);

    auto parent = executor.run({"rev-parse", "--verify", "-q", "HEAD~1"}, repository, write::reading({0, 1}), stop);
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
