#include "TarvCore/Rules/BranchNameRules.hpp"
#include "TarvCore/Text/Unicode.hpp"
#include "TarvCore/Text/Utf8.hpp"
#include "TarvEngine/Commands/BackupRefs.hpp"
#include "TarvEngine/Commands/GitWriteCommands.hpp"
#include "TarvEngine/Commands/WriteMessages.hpp"
#include "TarvEngine/Commands/WriteSupport.hpp"

namespace tarv::engine {

namespace {

bool holdsWhitespace(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto scalar = core::text::decodeScalar(text, i);
        if (core::text::isWhitespace(scalar.scalar)) return true;
        i += scalar.length;
    }
    return false;
}

}  // namespace

void GitWriteCommands::requireRevision(std::string_view revision) {
    if (revision.empty() || revision.front() == '-' || holdsWhitespace(revision)) {
        write::refuse(WriteMessages::invalidRevision, revision);
    }
}

void GitWriteCommands::switchBranch(const std::string& repository, const std::string& name,
                                    std::stop_token stop) const {
    requireRevision(name);
    auto local =
        executor.run({"show-ref", "--verify", "-q", "refs/heads/" + name}, repository, write::reading({0, 1}), stop);
    if (local.exitCode == 0) {
        executor.run({"switch", name}, repository, write::writing(), stop);
        return;
    }
    auto remote =
        executor.run({"show-ref", "--verify", "-q", "refs/remotes/" + name}, repository, write::reading({0, 1}), stop);
    if (remote.exitCode == 0) {
        executor.run({"switch", "--track", name}, repository, write::writing(), stop);
        return;
    }
    executor.run({"switch", name}, repository, write::writing(), stop);
}

void GitWriteCommands::createBranch(const std::string& repository, const std::string& name,
                                    const std::optional<std::string>& startPoint, std::stop_token stop) const {
    if (!core::BranchNameRules::isValid(name)) write::refuse(WriteMessages::invalidBranchName, name);
    std::vector<std::string> arguments{"switch", "-c", name};
    if (startPoint) arguments.push_back(*startPoint);
    executor.run(arguments, repository, write::writing(), stop);
}

void GitWriteCommands::renameBranch(const std::string& repository, const std::string& from, const std::string& to,
                                    std::stop_token stop) const {
    if (!core::BranchNameRules::isValid(to)) write::refuse(WriteMessages::invalidBranchName, to);
    requireRevision(from);
    executor.run({"branch", "-m", from, to}, repository, write::writing(), stop);
}

void GitWriteCommands::createTag(const std::string& repository, const std::string& name, const std::string& commit,
                                 std::stop_token stop) const {
    if (!core::BranchNameRules::isValid(name)) write::refuse(WriteMessages::invalidTagName, name);
    requireRevision(commit);
    executor.run({"tag", "-a", name, "-m", name, commit}, repository, write::writing(), stop);
}

void GitWriteCommands::deleteBranch(const std::string& repository, const std::string& name, bool force,
                                    std::stop_token stop) const {
    requireRevision(name);
    auto current = executor.run({"symbolic-ref", "--short", "-q", "HEAD"}, repository, write::reading({0, 1}), stop);
    if (write::trimmedOutput(current) == name) write::refuse(WriteMessages::deletingCurrentBranch);

    auto tipResult =
        executor.run({"rev-parse", "--verify", "-q", "refs/heads/" + name}, repository, write::reading({0, 1}), stop);
    const std::string tip = write::trimmedOutput(tipResult);
    if (tip.empty()) {
        write::refuse(WriteMessages::branchMissingPrefix, name, WriteMessages::missingSuffix);
    }

    // The backup must be possible before the branch goes: a backup name that
    // clashes with another backup ("feature" beside "feature/x") refuses the
    // deletion here, with the branch and its settings untouched. An older
    // backup of the same name is kept under a numbered name.
    const BackupRefs backups{executor};
    const std::string backup = backups.transaction(repository, "refs/tarv/backups/deleted/" + name, tip, stop);
    backups.check(repository, backup, stop);

    executor.run({"branch", force ? "-D" : "-d", name}, repository, write::writing(), stop);
    // From here on a cancellation must not leave the branch half gone, so
    // the last steps do not listen to `stop`.
    try {
        backups.write(repository, backup, std::stop_token{});
    } catch (...) {
        // The branch must not stay deleted without its backup: bring it back
        // at its old tip (only if nothing took the name meanwhile), then
        // report the failure.
        try {
            executor.run({"update-ref", "refs/heads/" + name, tip, ""}, repository, write::writing(),
                         std::stop_token{});
        } catch (...) {
        }
        throw;
    }
}

void GitWriteCommands::deleteTag(const std::string& repository, const std::string& name, std::stop_token stop) const {
    requireRevision(name);
    auto target = executor.run({"rev-parse", "--verify", "-q", "refs/tags/" + name + "^{commit}"}, repository,
                               write::reading({0, 1}), stop);
    const std::string commit = write::trimmedOutput(target);
    if (commit.empty()) {
        write::refuse(WriteMessages::tagMissingPrefix, name, WriteMessages::missingSuffix);
    }
    BackupRefs{executor}.keep(repository, "refs/tarv/backups/tags/" + name, commit, stop);
    executor.run({"tag", "-d", name}, repository, write::writing(), stop);
}

}  // namespace tarv::engine
