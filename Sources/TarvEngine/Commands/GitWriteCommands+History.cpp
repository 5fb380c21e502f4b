#include <algorithm>
#include <optional>
#include <variant>

#include "TarvCore/Text/Split.hpp"
#include "TarvEngine/Commands/GitWriteCommands.hpp"
#include "TarvEngine/Commands/WriteMessages.hpp"
#include "TarvEngine/Commands/WriteSupport.hpp"
#include "TarvEngine/Safety/ScriptFolder.hpp"

namespace tarv::engine {

namespace {

std::vector<std::string> lines(const core::ProcessResult& result) {
    std::vector<std::string> out;
    for (auto piece : core::text::split(result.stdoutBytes(), '\n')) out.emplace_back(piece);
    return out;
}

const std::string& revisionOf(const core::HistoryEdit& edit) {
    return std::visit([](const auto& value) -> const std::string& { return value.commit; }, edit.value);
}

}  // namespace

std::string GitWriteCommands::fullMessage(const std::string& repository, const std::string& commit,
                                          std::stop_token stop) const {
    auto result = executor.run({"log", "-1", "--format=%B", commit}, repository, stop);
    // The message's own bytes, whatever their encoding.
    return std::string(core::text::trimmedView(result.stdoutBytes()));
}

void GitWriteCommands::requireRewritable(const std::string& repository, const std::string& oldest,
                                         std::stop_token stop) const {
    auto status = executor.run({"status", "--porcelain", "--untracked-files=no"}, repository, stop);
    if (!core::text::trimmedView(status.stdoutBytes()).empty()) write::refuse(WriteMessages::uncommittedChanges);

    auto upstream =
        executor.run({"rev-parse", "--verify", "-q", "@{u}"}, repository, write::reading({0, 1, 128}), stop);
    if (upstream.exitCode != 0) return;
    auto contained =
        executor.run({"merge-base", "--is-ancestor", oldest, "@{u}"}, repository, write::reading({0, 1}), stop);
    if (contained.exitCode == 0) write::refuse(WriteMessages::alreadyPushed);
}

core::OperationResult GitWriteCommands::editHistory(const std::string& repository, const core::HistoryEdit& edit,
                                                    const core::FileStore& files, std::stop_token stop) const {
    const std::string& revision = revisionOf(edit);
    requireRevision(revision);

    const std::vector<std::string> branch =
        lines(executor.run({"rev-list", "--first-parent", "--max-count=2000", "HEAD"}, repository, stop));
    auto resolved =
        executor.run({"rev-parse", "--verify", "-q", revision + "^{commit}"}, repository, write::reading({0, 1}), stop);
    const std::string target = write::trimmedOutput(resolved);
    const auto found = std::find(branch.begin(), branch.end(), target);
    if (target.empty() || found == branch.end()) write::refuse(WriteMessages::commitNotOnBranch);
    const auto index = static_cast<std::size_t>(found - branch.begin());

    const bool isMoveUp = std::holds_alternative<core::HistoryEdit::MoveUp>(edit.value);
    const bool isSquash = std::holds_alternative<core::HistoryEdit::SquashIntoParent>(edit.value);
    if (isMoveUp && index == 0) write::refuse(WriteMessages::alreadyNewest);
    if (!isMoveUp && index + 1 == branch.size()) write::refuse(WriteMessages::firstCommit);
    const std::size_t newerIndex = isMoveUp ? index - 1 : index;
    const std::string newer = branch[newerIndex];
    const std::string older = branch[newerIndex + 1];

    requireRewritable(repository, older, stop);

    const std::size_t olderIndex = newerIndex + 1;
    const std::optional<std::string> base =
        olderIndex + 1 < branch.size() ? std::optional<std::string>(branch[olderIndex + 1]) : std::nullopt;
    const std::string range = base ? *base + "..HEAD" : "HEAD";

    auto merges = executor.run({"rev-list", "--min-parents=2", range}, repository, stop);
    if (!core::text::trimmedView(merges.stdoutBytes()).empty()) write::refuse(WriteMessages::mergeInRange);
    const std::vector<std::string> replay = lines(executor.run({"rev-list", "--reverse", range}, repository, stop));

    // The folder's path is read by a shell (the sequence editor and the exec
    // line) and by git's to-do parser, which cuts at line breaks.
    const std::string folder = files.temporaryDirectory() + "/" + ScriptFolder::newName();
    if (folder.find_first_of("\n\r") != std::string::npos) write::refuse(WriteMessages::invalidScriptFolder, folder);
    ScriptFolder::create(folder);

    std::string todo;
    if (isSquash) {
        std::string message = fullMessage(repository, older, stop) + "\n\n" + fullMessage(repository, newer, stop);
        message = std::string(core::text::trimmedView(message)) + "\n";
        files.writeFile(folder + "/message", core::toBytes(message));
        const std::string exec =
            "exec git commit --amend -q --no-verify -F " + ScriptFolder::shellQuoted(folder + "/message");
        for (const auto& commit : replay) {
            if (commit == newer) {
                todo += "fixup " + commit + "\n" + exec + "\n";
            } else {
                todo += "pick " + commit + "\n";
            }
        }
    } else {
        for (const auto& commit : replay) {
            const std::string& picked = commit == newer ? older : commit == older ? newer : commit;
            todo += "pick " + picked + "\n";
        }
    }
    files.writeFile(folder + "/todo", core::toBytes(todo));

    executor.run({"update-ref", "refs/tarv/backups/pre-rebase", "HEAD"}, repository, write::writing(), stop);
    const core::OperationResult result =
        outcome({"rebase", "-i", base ? *base : std::string("--root")}, repository,
                {{"GIT_SEQUENCE_EDITOR", "cp " + ScriptFolder::shellQuoted(folder + "/todo")}}, stop);
    if (std::holds_alternative<core::OperationResult::Completed>(result.value)) {
        try {
            files.removeItem(folder);
        } catch (...) {
        }
    }
    return result;
}

}  // namespace tarv::engine
