#include <string>
#include <variant>

#include "TarvCore/Localization/PlainTexts.hpp"
#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Localization/TextPieces.hpp"
#include "TarvCore/Models/HostingDefaults.hpp"

namespace tarv::core {

namespace {

using detail::contains;
using detail::decimal;
using detail::joined;

std::string fixLabel(const FailureFix& fix) {
    return std::visit(
        [](const auto& f) -> std::string {
            using F = std::decay_t<decltype(f)>;
            if constexpr (std::is_same_v<F, FailureFix::OpenURL>) {
                if (contains(f.url, "/settings/keys")) {
                    return "Open GitHub SSH keys";
                }
                if (contains(f.url, "git-lfs")) {
                    return "Install Git LFS";
                }
                return "Authorize on GitHub";
            } else if constexpr (std::is_same_v<F, FailureFix::UseRemoteURL>) {
                return "Change the remote to " + f.url;
            } else if constexpr (std::is_same_v<F, FailureFix::SignIn>) {
                return "Sign in with GitHub";
            } else if constexpr (std::is_same_v<F, FailureFix::Pull>) {
                return "Pull";
            } else if constexpr (std::is_same_v<F, FailureFix::PublishBranch>) {
                return "Publish branch";
            } else {
                static_assert(std::is_same_v<F, FailureFix::Retry>);
                return "Try again";
            }
        },
        fix.value);
}

std::string problemText(const KeymapProblem& problem) {
    return std::visit(
        [](const auto& p) -> std::string {
            using P = std::decay_t<decltype(p)>;
            if constexpr (std::is_same_v<P, KeymapProblem::UnsupportedVersion>) {
                return "version " + decimal(p.version) + " is not supported (this Tarv reads up to 1)";
            } else if constexpr (std::is_same_v<P, KeymapProblem::UnknownCommand>) {
                return "“" + p.key + "” is not a command (see the list below)";
            } else if constexpr (std::is_same_v<P, KeymapProblem::InvalidKey>) {
                return p.command + ": “" + p.key + "” is not a valid key";
            } else if constexpr (std::is_same_v<P, KeymapProblem::ReservedKey>) {
                return p.command + ": “" + p.key + "” is reserved (navigation or ⌃Q)";
            } else {
                static_assert(std::is_same_v<P, KeymapProblem::DuplicateKey>);
                return p.key + " is used by several commands (" + joined(p.commands, ", ") + "): ignored";
            }
        },
        problem.value);
}

// One arm per case.
struct English {
    std::string operator()(const Text::DoctorTitle& t) const {
        return "Tarv " + t.version + " · doctor";
    }
    std::string operator()(const Text::DoctorGit& t) const {
        return "git          " + t.path + " · " + t.version;
    }
    std::string operator()(const Text::DoctorIdentity& t) const {
        return "identity     " + t.name + " <" + t.email + ">";
    }
    std::string operator()(const Text::DoctorHelper& t) const {
        return "credentials  helper: " + t.helper;
    }
    std::string operator()(const Text::DoctorSSHKeys& t) const {
        return "ssh          agent has " + decimal(t.count) + " key(s)";
    }
    std::string operator()(const Text::DoctorTerminal& t) const {
        return "terminal     " + t.terminal;
    }
    std::string operator()(const Text::ProbeDeviceAttributes& t) const {
        return "identity     DA1 = " + t.attributes;
    }
    std::string operator()(const Text::ProbeModeSupported& t) const {
        return t.mode + "  supported";
    }
    std::string operator()(const Text::ProbeModeUnsupported& t) const {
        return t.mode + "  not supported";
    }
    std::string operator()(const Text::ProbeModeNoAnswer& t) const {
        return t.mode + "  no answer (the terminal does not implement DECRQM)";
    }
    std::string operator()(const Text::ProbeTrueColor& t) const {
        if (!t.kept) {
            return "24-bit color no DECRQSS answer (cannot confirm)";
        }
        return *t.kept ? "24-bit color kept (DECRQSS)" : "24-bit color downgraded or rejected by the terminal";
    }
    std::string operator()(const Text::ProbeClick& t) const {
        return "mouse        click received at " + decimal(t.x) + "," + decimal(t.y) + " using " + t.encoding +
               " encoding";
    }
    std::string operator()(const Text::ScrollProbePrompt& t) const {
        return "Scroll with the wheel or trackpad over this window (" + decimal(t.seconds) +
               " s or any key to stop)…";
    }
    std::string operator()(const Text::ScrollProbeTotals& t) const {
        return decimal(t.events) + " events in " + decimal(t.gestures) + " gestures (pause > 250 ms = new gesture)";
    }
    std::string operator()(const Text::ScrollProbeGesture& t) const {
        return "gesture " + decimal(t.index) + ": " + decimal(t.events) + " " + t.direction + " events in " +
               decimal(t.milliseconds) + " ms · longest pause " + decimal(t.longestGap) + " ms";
    }
    std::string operator()(const Text::CommitButton& t) const {
        return "Commit " + Text::plural(t.count, "file", "files") + " to " + t.branch;
    }
    std::string operator()(const Text::AmendButton& t) const {
        return "Amend commit on " + t.branch;
    }
    std::string operator()(const Text::ToastAmended& t) const {
        return "Commit amended: " + t.summary;
    }
    std::string operator()(const Text::Raw& t) const {
        return t.text;
    }
    std::string operator()(const Text::KeyHelp& t) const {
        return Text::englishKeyHelp(t.item);
    }
    std::string operator()(const Text::MergeIntoTitle& t) const {
        return "Merge into " + t.branch;
    }
    std::string operator()(const Text::MergePickerButton& t) const {
        return "Choose a branch to merge into " + t.branch;
    }
    std::string operator()(const Text::ToastMerged& t) const {
        return "Merged " + t.branch;
    }
    std::string operator()(const Text::MergeConflictsBody& t) const {
        return Text::plural(t.count, "file has", "files have") +
               " conflicts (marked with !). Open them in your editor, resolve the <<<<<<< markers, and press "
               "“Complete merge”. You can also abort the merge from the palette (Ctrl+P).";
    }
    std::string operator()(const Text::OperationBanner& t) const {
        if (t.conflicts != 0) {
            return Text::operationTitle(t.operation) + " · " + Text::plural(t.conflicts, "conflict", "conflicts");
        }
        if (t.operation == RepositoryOperation::merge) {
            return Text::operationTitle(t.operation) + " · " + "ready to complete";
        }
        return Text::operationTitle(t.operation) + " · " + "no conflicts";
    }
    std::string operator()(const Text::OperationConflictsTitle& t) const {
        return Text::operationTitle(t.operation) + " has conflicts";
    }
    std::string operator()(const Text::OperationConflictsBody& t) const {
        return Text::plural(t.count, "file has", "files have") +
               " conflicts (marked with !). Open the file menu (right click) to keep your version or theirs, or "
               "fix it in your editor and mark it resolved. Then press «Continue " +
               Text::operationName(t.operation) + "». You can also abort from the banner.";
    }
    std::string operator()(const Text::ContinueOperationLabel& t) const {
        return "Continue " + Text::operationName(t.operation);
    }
    std::string operator()(const Text::ToastReset& t) const {
        if (t.mode == ResetMode::soft) {
            return "Branch moved to " + t.target +
                   "; the changes were kept staged. Backup: refs/tarv/backups/pre-reset";
        }
        return "Branch moved to " + t.target + "; the changes were kept unstaged. Backup: refs/tarv/backups/pre-reset";
    }
    std::string operator()(const Text::ToastRebased& t) const {
        return "Rebase onto " + t.onto + " completed";
    }
    std::string operator()(const Text::RebaseOntoTitle& t) const {
        return "Rebase " + t.branch + " onto…";
    }
    std::string operator()(const Text::RebasePickerButton& t) const {
        return "Rebase " + t.branch + " onto another branch";
    }
    std::string operator()(const Text::NewBranchFromCommit& t) const {
        return "New branch from commit " + t.commit;
    }
    std::string operator()(const Text::CompleteMerge& t) const {
        return "Complete merge into " + t.branch;
    }
    std::string operator()(const Text::ConflictTitle& t) const {
        return "Conflict " + decimal(t.index) + " of " + decimal(t.total);
    }
    std::string operator()(const Text::ConflictCurrentLabel& t) const {
        std::string label = "Change A · current";
        return t.name.empty() ? label : label + " (" + t.name + ")";
    }
    std::string operator()(const Text::ConflictIncomingLabel& t) const {
        std::string label = "Change B · incoming";
        return t.name.empty() ? label : label + " (" + t.name + ")";
    }
    std::string operator()(const Text::NewWorktreeWillBe& t) const {
        return "It will be created at " + t.path;
    }
    std::string operator()(const Text::ToastWorktreeCreated& t) const {
        return "Worktree created at " + t.path;
    }
    std::string operator()(const Text::ToastWorktreeRemoved& t) const {
        return "Worktree removed: " + t.path;
    }
    std::string operator()(const Text::ToastRepositoriesMissing& t) const {
        if (t.paths.size() == 1) {
            return t.paths.front() +
                   " is no longer at its path and was removed from the list; add it again if you moved it";
        }
        return decimal(static_cast<std::int64_t>(t.paths.size())) +
               " repositories are no longer at their path and were removed from the list: " + joined(t.paths, ", ");
    }
    std::string operator()(const Text::NewTagTitle& t) const {
        return "New tag on " + t.commit;
    }
    std::string operator()(const Text::ToastTagCreated& t) const {
        return "Tag " + t.tag + " created; it will be pushed with your next push";
    }
    std::string operator()(const Text::ToastTagDeleted& t) const {
        return "Tag " + t.tag + " deleted (backup in refs/tarv/backups/tags)";
    }
    std::string operator()(const Text::CredentialsUsername& t) const {
        return "Username for " + t.subject.value_or("the server");
    }
    std::string operator()(const Text::CredentialsPassword& t) const {
        return "Token or password for " + t.subject.value_or("the server");
    }
    std::string operator()(const Text::CredentialsPassphrase& t) const {
        return "Passphrase for key " + t.subject.value_or("SSH");
    }
    std::string operator()(const Text::CredentialsConfirm& t) const {
        return "Trust the server " + t.subject.value_or("SSH") + "? Verify its fingerprint before continuing.";
    }
    std::string operator()(const Text::Hint& t) const {
        return Text::englishHint(t.item);
    }
    std::string operator()(const Text::TerminalTooSmall& t) const {
        return "Terminal too small. I need at least " + decimal(t.width) + "×" + decimal(t.height) + ".";
    }
    std::string operator()(const Text::BranchStatus& t) const {
        if (t.changes == 0) {
            return t.branch;
        }
        return t.branch + " · " + Text::plural(t.changes, "change", "changes");
    }
    std::string operator()(const Text::CoAuthorsLine& t) const {
        return "Co-authors: " + joined(t.coAuthors, ", ");
    }
    std::string operator()(const Text::Command& t) const {
        return Text::englishCommand(t.command);
    }
    std::string operator()(const Text::RemoteFailure& t) const {
        return Text::englishFailure(t.failure);
    }
    std::string operator()(const Text::FailureFix& t) const {
        return fixLabel(t.fix);
    }
    std::string operator()(const Text::ToastRemoteChanged& t) const {
        return "Remote updated: " + t.url;
    }
    std::string operator()(const Text::TabChanges& t) const {
        if (t.count < 1) {
            return "Changes";
        }
        return "Changes " + decimal(t.count);
    }
    std::string operator()(const Text::ChangedFiles& t) const {
        return Text::plural(t.count, "changed file", "changed files");
    }
    std::string operator()(const Text::FilesChangedCount& t) const {
        return Text::plural(t.count, "changed file", "changed files");
    }
    std::string operator()(const Text::SignInInstructions& t) const {
        return "Open " + t.url + " in your browser and enter this code:";
    }
    std::string operator()(const Text::SignedInAs& t) const {
        return "Signed in as @" + t.login;
    }
    std::string operator()(const Text::ToastSignedIn& t) const {
        return "Signed in as @" + t.login;
    }
    std::string operator()(const Text::ToastPullRequestCheckedOut& t) const {
        return "Switched to the PR branch: " + t.branch;
    }
    std::string operator()(const Text::HostingNetwork& t) const {
        return "Could not reach GitHub: " + t.message;
    }
    std::string operator()(const Text::HostingForbidden& t) const {
        std::string text =
            "No permission: install Tarv's GitHub app on this account or organization and grant it the repository.";
        return t.message.empty() ? text : text + " (GitHub: " + t.message + ")";
    }
    std::string operator()(const Text::PublishForbidden& t) const {
        std::string text =
            "GitHub refused to create the repo: the app needs the Administration permission (read and write), "
            "accepted on its installation, and must be installed on your account with “All repositories”. Then "
            "sign out and in again.";
        return t.message.empty() ? text : text + " (GitHub: " + t.message + ")";
    }
    std::string operator()(const Text::HostingHTTP& t) const {
        return "GitHub answered " + decimal(t.status) + ": " + t.message;
    }
    std::string operator()(const Text::RenameBranchTitle& t) const {
        return "Rename branch " + t.branch;
    }
    std::string operator()(const Text::DeleteBranchTitle& t) const {
        return "Delete branch " + t.branch;
    }
    std::string operator()(const Text::DeleteBranchBody& t) const {
        return "The local branch “" + t.branch +
               "” will be deleted. Its last commit is kept in refs/tarv/backups/deleted/" + t.branch +
               " in case you need it back.";
    }
    std::string operator()(const Text::DeleteBranchForceBody& t) const {
        return "Branch “" + t.branch +
               "” has commits that are in no other branch. Deleting it may lose them from your visible history "
               "(they stay in refs/tarv/backups/deleted/" +
               t.branch + "). Delete it anyway?";
    }
    std::string operator()(const Text::ToastBranchRenamed& t) const {
        return "Branch renamed to " + t.branch;
    }
    std::string operator()(const Text::ToastBranchDeleted& t) const {
        return "Branch " + t.branch + " deleted";
    }
    std::string operator()(const Text::NewBranchWillBe& t) const {
        return "Will be created as: " + t.name;
    }
    std::string operator()(const Text::DiscardBody& t) const {
        return Text::plural(t.count, "file", "files") + ". A recoverable copy is saved; press u to undo.";
    }
    std::string operator()(const Text::ToastCommitted& t) const {
        return "Committed: " + t.summary;
    }
    std::string operator()(const Text::ToastPublished& t) const {
        return "Branch " + t.branch + " published";
    }
    std::string operator()(const Text::ToastBranchSwitched& t) const {
        return "Now on " + t.branch;
    }
    std::string operator()(const Text::ToastBranchCreated& t) const {
        return "Branch " + t.branch + " created";
    }
    std::string operator()(const Text::OnboardingGitTooOld& t) const {
        return "Your git (" + t.found + ") is older than the recommended minimum (" + t.minimum +
               "). You can continue, but update with: sudo apt install git";
    }
    std::string operator()(const Text::NotARepository& t) const {
        return t.path + " is not a git repository";
    }
    std::string operator()(const Text::KeymapNotice& t) const {
        if (t.problems == 1) {
            return "keymap.json: 1 shortcut was not applied · run tarv keymap to see why";
        }
        return "keymap.json: " + decimal(t.problems) + " shortcuts were not applied · run tarv keymap to see why";
    }
    std::string operator()(const Text::KeymapMalformed& t) const {
        return t.path + " is not valid JSON (using the default shortcuts)";
    }
    std::string operator()(const Text::KeymapProblem& t) const {
        return problemText(t.problem);
    }
    std::string operator()(const Text::KeymapFile& t) const {
        if (t.exists) {
            return "Custom shortcuts: " + t.path;
        }
        return "No custom shortcuts (create " + t.path + " to change them)";
    }
    std::string operator()(const Text::GalleryHint& t) const {
        return "Gallery " + decimal(t.page) + "/" + decimal(t.count) + " · " + t.title +
               " · ←→ page · t theme · i hide · q quit";
    }
    std::string operator()(const Text::ToastPublishedRepository& t) const {
        return "Published to " + std::string(HostingDefaults::webHost) + "/" + t.fullName;
    }
    std::string operator()(const Text::ToastIgnored& t) const {
        return t.path + " added to .gitignore";
    }
    std::string operator()(const Text::ToastIgnoredUntracked& t) const {
        return t.path + " added to .gitignore and removed from tracking";
    }
    std::string operator()(const Text::SyncFetch& t) const {
        return "Fetch " + t.remote;
    }
    std::string operator()(const Text::SyncPull& t) const {
        return "Pull " + t.remote;
    }
    std::string operator()(const Text::SyncPush& t) const {
        return "Push " + t.remote;
    }
    std::string operator()(const Text::SyncPublishBranchHint& t) const {
        return "Push this branch to " + t.remote;
    }
    std::string operator()(const Text::SyncLastFetched& t) const {
        return "Last fetched " + Text::englishRelative(t.time);
    }
    std::string operator()(const Text::SyncCommitsToPull& t) const {
        if (t.count == 1) {
            return "1 commit to pull";
        }
        return decimal(t.count) + " commits to pull";
    }
    std::string operator()(const Text::SyncCommitsToPush& t) const {
        if (t.count == 1) {
            return "1 commit to push";
        }
        return decimal(t.count) + " commits to push";
    }
    std::string operator()(const Text::Relative& t) const {
        return Text::englishRelative(t.time);
    }
    std::string operator()(Text::Plain plain) const {
        return std::string(detail::englishPlainText(plain));
    }
};

}  // namespace

std::string Text::english() const {
    return std::visit(English{}, value);
}

std::string Text::englishRelative(const RelativeTime& time) {
    return std::visit(
        [](const auto& r) -> std::string {
            using R = std::decay_t<decltype(r)>;
            if constexpr (std::is_same_v<R, RelativeTime::Minutes>) {
                return r.count == 1 ? "1 minute ago" : decimal(r.count) + " minutes ago";
            } else if constexpr (std::is_same_v<R, RelativeTime::Hours>) {
                return r.count == 1 ? "1 hour ago" : decimal(r.count) + " hours ago";
            } else if constexpr (std::is_same_v<R, RelativeTime::Days>) {
                return decimal(r.count) + " days ago";
            } else if constexpr (std::is_same_v<R, RelativeTime::Months>) {
                return r.count == 1 ? "1 month ago" : decimal(r.count) + " months ago";
            } else if constexpr (std::is_same_v<R, RelativeTime::Years>) {
                return r.count == 1 ? "1 year ago" : decimal(r.count) + " years ago";
            } else if constexpr (std::is_same_v<R, RelativeTime::JustNow>) {
                return "just now";
            } else {
                static_assert(std::is_same_v<R, RelativeTime::Yesterday>);
                return "yesterday";
            }
        },
        time.value);
}

}  // namespace tarv::core
