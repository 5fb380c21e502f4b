#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "TarvCore/Errors/RemoteFailure.hpp"
#include "TarvCore/Localization/Language.hpp"
#include "TarvCore/Localization/RelativeTime.hpp"
#include "TarvCore/Models/AppCommand.hpp"
#include "TarvCore/Models/FailureFix.hpp"
#include "TarvCore/Models/HintItem.hpp"
#include "TarvCore/Models/KeyHelpItem.hpp"
#include "TarvCore/Models/KeymapProblem.hpp"
#include "TarvCore/Models/RepositoryOperation.hpp"
#include "TarvCore/Models/ResetMode.hpp"

namespace tarv::core {

// Every text the user sees, as a value: state and actions carry `Text`, and
// the interface renders it in the user's language when it draws. Cases are
// in declaration order: the 97 cases with a payload, then the payload-free
// ones (`Plain`).
struct Text {
    static constexpr std::size_t caseCount = 315;
    static constexpr std::size_t payloadCaseCount = 97;

    // The payload-free cases, in declaration order.
    enum class Plain : std::uint16_t {
        doctorGitMissing,
        doctorIdentityMissing,
        doctorHelperMissing,
        doctorSSHNoKeys,
        doctorSSHNoAgent,
        probeTitle,
        probeNotATTY,
        probeNoDeviceAttributes,
        probeClickPrompt,
        probeColorSwatch,
        probeClickSkipped,
        scrollProbeEmpty,
        toastAmendNotAllowed,
        onboardingWelcome,
        toastMergeUpToDate,
        toastOperationAborted,
        mergeConflictsTitle,
        buttonContinueOperation,
        toastReverted,
        toastCherryPicked,
        toastOperationCompleted,
        toastConflictResolved,
        buttonAbortOperation,
        resolveConflictsFirst,
        conflictKeepCurrent,
        conflictKeepIncoming,
        conflictKeepBoth,
        conflictNoMarkers,
        conflictMarkResolvedButton,
        conflictFileNeedsMarkers,
        stashTitle,
        worktreesTitle,
        worktreesHint,
        worktreeMain,
        worktreeCurrent,
        worktreeDetached,
        newWorktreeTitle,
        newWorktreePlaceholder,
        worktreeCannotRemove,
        toastSquashed,
        toastReordered,
        tagsTitle,
        tagsEmpty,
        tagsHint,
        tagNamePlaceholder,
        invalidTagName,
        tagCommitNotLoaded,
        stashEmpty,
        stashHint,
        toastStashed,
        toastStashRestored,
        toastStashDropped,
        stashSuggestion,
        nothingToStash,
        credentialsTitle,
        credentialsTokenHint,
        buttonContinue,
        buttonYes,
        buttonNo,
        helpSectionGeneral,
        helpSectionFiles,
        helpSectionDiff,
        helpSectionMouse,
        contextMenuTitle,
        commitHintNoSummary,
        spinnerWorking,
        welcomeIntro,
        pickerAddFooter,
        pickerCloneFooter,
        emptyList,
        confirmKeys,
        buttonCreate,
        buttonRename,
        coAuthorTitle,
        coAuthorPrompt,
        coAuthorInvalid,
        buttonAdd,
        buttonClone,
        confirmKeysLabel,
        emptyDiff,
        helpKeyColumn,
        cancelKeys,
        tabHistory,
        currentRepository,
        currentBranch,
        filterPlaceholder,
        noLocalChanges,
        noLocalChangesHint,
        summaryPlaceholder,
        descriptionPlaceholder,
        committing,
        noCommitsYet,
        compareBranchPlaceholder,
        binaryFile,
        loading,
        noRepositoryOpen,
        welcomeAdd,
        welcomeClone,
        recents,
        otherRepositories,
        repositoriesTitle,
        branchesTitle,
        pullRequestsTitle,
        toastPublishBranchFirst,
        signInTitle,
        signInRequesting,
        signInCopyAndOpen,
        signInWaiting,
        toastSignedOut,
        toastSessionExpired,
        pullRequestsSignIn,
        pullRequestsNotGitHub,
        pullRequestsEmpty,
        pullRequestDraft,
        hostingUnauthorized,
        hostingDeviceFlowDisabled,
        hostingNotFound,
        hostingRateLimited,
        hostingInvalidResponse,
        hostingExpiredCode,
        hostingDenied,
        gitTokenRejected,
        pullRequestsUnavailable,
        defaultBranch,
        recentBranches,
        otherBranches,
        newBranchTitle,
        deleteBranchPickerTitle,
        deleteBranchConfirm,
        deleteBranchForceConfirm,
        toastCannotDeleteCurrentBranch,
        newBranchPlaceholder,
        invalidBranchName,
        commandsTitle,
        helpTitle,
        discardTitle,
        discardConfirm,
        cancel,
        close,
        ok,
        toastDiscarded,
        toastRestored,
        toastUndoneCommit,
        toastFetched,
        toastPulled,
        toastPushed,
        toastNothingToUndo,
        toastUndoNotAllowed,
        errorTitle,
        commitFailedTitle,
        syncFailedTitle,
        syncFetching,
        syncPulling,
        syncPushing,
        onboardingChecking,
        onboardingGitMissingTitle,
        onboardingGitMissingBody,
        onboardingContinue,
        onboardingRetry,
        onboardingInstallTools,
        onboardingIdentityIntro,
        onboardingSavesTo,
        fieldName,
        fieldEmail,
        fieldDefaultBranch,
        fieldStoreCredentials,
        onboardingSave,
        onboardingSkip,
        invalidName,
        invalidEmail,
        addRepositoryTitle,
        addRepositoryPrompt,
        keymapUsage,
        createRepositoryTitle,
        createRepositoryPrompt,
        createRepositoryHere,
        welcomeCreate,
        cloneTitle,
        cloneURLPrompt,
        cloneDestinationPrompt,
        cloning,
        cloneInvalidURL,
        cloneYourRepositories,
        cloneLoadingRepositories,
        cloneNoMatches,
        cloneSignInHint,
        repositoryPrivate,
        repositoryPublic,
        openInEditorUnavailable,
        publishTitle,
        publishNameLabel,
        publishDescriptionLabel,
        publishPrivate,
        publishHint,
        publishing,
        publishInvalidName,
        buttonPublish,
        lineEllipsis,
        selectAllFiles,
        copied,
        externalEditorFailed,
        unavailable,
        syncPublishBranch,
        syncPublishRepository,
        syncNoRemote,
        syncNeverFetched,
        cloneInvalidDestination,
        undoUnfinished,
        discardSubmodule,
        clipboardToolMissing,
        openInEditorNoDesktop,
        openInEditorNoOpener,
        undoKeptEditsTitle,
        undoKeptEditsBody,
        toastEmptyCommitSkipped,
        toastOperationAbortedKept,
        lineSelectionDropped,
        toastDiscardedSubmodulesKept,
    };

    // One struct per case with a payload, in declaration order.
    struct DoctorTitle {
        std::string version;
        bool operator==(const DoctorTitle&) const = default;
    };

    struct DoctorGit {
        std::string path;
        std::string version;
        bool operator==(const DoctorGit&) const = default;
    };

    struct DoctorIdentity {
        std::string name;
        std::string email;
        bool operator==(const DoctorIdentity&) const = default;
    };

    struct DoctorHelper {
        std::string helper;
        bool operator==(const DoctorHelper&) const = default;
    };

    struct DoctorSSHKeys {
        std::int64_t count;
        bool operator==(const DoctorSSHKeys&) const = default;
    };

    struct DoctorTerminal {
        std::string terminal;
        bool operator==(const DoctorTerminal&) const = default;
    };

    struct ProbeDeviceAttributes {
        std::string attributes;
        bool operator==(const ProbeDeviceAttributes&) const = default;
    };

    struct ProbeModeSupported {
        std::string mode;
        bool operator==(const ProbeModeSupported&) const = default;
    };

    struct ProbeModeUnsupported {
        std::string mode;
        bool operator==(const ProbeModeUnsupported&) const = default;
    };

    struct ProbeModeNoAnswer {
        std::string mode;
        bool operator==(const ProbeModeNoAnswer&) const = default;
    };

    struct ProbeTrueColor {
        std::optional<bool> kept;
        bool operator==(const ProbeTrueColor&) const = default;
    };

    struct ProbeClick {
        std::string encoding;
        std::int64_t x;
        std::int64_t y;
        bool operator==(const ProbeClick&) const = default;
    };

    struct ScrollProbePrompt {
        std::int64_t seconds;
        bool operator==(const ScrollProbePrompt&) const = default;
    };

    struct ScrollProbeTotals {
        std::int64_t events;
        std::int64_t gestures;
        bool operator==(const ScrollProbeTotals&) const = default;
    };

    struct ScrollProbeGesture {
        std::int64_t index;
        std::int64_t events;
        std::int64_t milliseconds;
        std::int64_t longestGap;
        std::string direction;
        bool operator==(const ScrollProbeGesture&) const = default;
    };

    struct CommitButton {
        std::int64_t count;
        std::string branch;
        bool operator==(const CommitButton&) const = default;
    };

    struct AmendButton {
        std::string branch;
        bool operator==(const AmendButton&) const = default;
    };

    struct ToastAmended {
        std::string summary;
        bool operator==(const ToastAmended&) const = default;
    };

    struct Raw {
        std::string text;
        bool operator==(const Raw&) const = default;
    };

    struct KeyHelp {
        ::tarv::core::KeyHelpItem item;
        bool operator==(const KeyHelp&) const = default;
    };

    struct MergeIntoTitle {
        std::string branch;
        bool operator==(const MergeIntoTitle&) const = default;
    };

    struct MergePickerButton {
        std::string branch;
        bool operator==(const MergePickerButton&) const = default;
    };

    struct ToastMerged {
        std::string branch;
        bool operator==(const ToastMerged&) const = default;
    };

    struct MergeConflictsBody {
        std::int64_t count;
        bool operator==(const MergeConflictsBody&) const = default;
    };

    struct OperationBanner {
        ::tarv::core::RepositoryOperation operation;
        std::int64_t conflicts;
        bool operator==(const OperationBanner&) const = default;
    };

    struct OperationConflictsTitle {
        ::tarv::core::RepositoryOperation operation;
        bool operator==(const OperationConflictsTitle&) const = default;
    };

    struct OperationConflictsBody {
        ::tarv::core::RepositoryOperation operation;
        std::int64_t count;
        bool operator==(const OperationConflictsBody&) const = default;
    };

    struct ContinueOperationLabel {
        ::tarv::core::RepositoryOperation operation;
        bool operator==(const ContinueOperationLabel&) const = default;
    };

    struct ToastReset {
        ::tarv::core::ResetMode mode;
        std::string target;
        bool operator==(const ToastReset&) const = default;
    };

    struct ToastRebased {
        std::string onto;
        bool operator==(const ToastRebased&) const = default;
    };

    struct RebaseOntoTitle {
        std::string branch;
        bool operator==(const RebaseOntoTitle&) const = default;
    };

    struct RebasePickerButton {
        std::string branch;
        bool operator==(const RebasePickerButton&) const = default;
    };

    struct NewBranchFromCommit {
        std::string commit;
        bool operator==(const NewBranchFromCommit&) const = default;
    };

    struct CompleteMerge {
        std::string branch;
        bool operator==(const CompleteMerge&) const = default;
    };

    struct ConflictTitle {
        std::int64_t index;
        std::int64_t total;
        bool operator==(const ConflictTitle&) const = default;
    };

    struct ConflictCurrentLabel {
        std::string name;
        bool operator==(const ConflictCurrentLabel&) const = default;
    };

    struct ConflictIncomingLabel {
        std::string name;
        bool operator==(const ConflictIncomingLabel&) const = default;
    };

    struct NewWorktreeWillBe {
        std::string path;
        bool operator==(const NewWorktreeWillBe&) const = default;
    };

    struct ToastWorktreeCreated {
        std::string path;
        bool operator==(const ToastWorktreeCreated&) const = default;
    };

    struct ToastWorktreeRemoved {
        std::string path;
        bool operator==(const ToastWorktreeRemoved&) const = default;
    };

    struct ToastRepositoriesMissing {
        std::vector<std::string> paths;
        bool operator==(const ToastRepositoriesMissing&) const = default;
    };

    struct NewTagTitle {
        std::string commit;
        bool operator==(const NewTagTitle&) const = default;
    };

    struct ToastTagCreated {
        std::string tag;
        bool operator==(const ToastTagCreated&) const = default;
    };

    struct ToastTagDeleted {
        std::string tag;
        bool operator==(const ToastTagDeleted&) const = default;
    };

    struct CredentialsUsername {
        std::optional<std::string> subject;
        bool operator==(const CredentialsUsername&) const = default;
    };

    struct CredentialsPassword {
        std::optional<std::string> subject;
        bool operator==(const CredentialsPassword&) const = default;
    };

    struct CredentialsPassphrase {
        std::optional<std::string> subject;
        bool operator==(const CredentialsPassphrase&) const = default;
    };

    struct CredentialsConfirm {
        std::optional<std::string> subject;
        bool operator==(const CredentialsConfirm&) const = default;
    };

    struct Hint {
        ::tarv::core::HintItem item;
        bool operator==(const Hint&) const = default;
    };

    struct TerminalTooSmall {
        std::int64_t width;
        std::int64_t height;
        bool operator==(const TerminalTooSmall&) const = default;
    };

    struct BranchStatus {
        std::string branch;
        std::int64_t changes;
        bool operator==(const BranchStatus&) const = default;
    };

    struct CoAuthorsLine {
        std::vector<std::string> coAuthors;
        bool operator==(const CoAuthorsLine&) const = default;
    };

    struct Command {
        ::tarv::core::AppCommand command;
        bool operator==(const Command&) const = default;
    };

    struct RemoteFailure {
        ::tarv::core::RemoteFailure failure;
        bool operator==(const RemoteFailure&) const = default;
    };

    struct FailureFix {
        ::tarv::core::FailureFix fix;
        bool operator==(const FailureFix&) const = default;
    };

    struct ToastRemoteChanged {
        std::string url;
        bool operator==(const ToastRemoteChanged&) const = default;
    };

    struct TabChanges {
        std::int64_t count;
        bool operator==(const TabChanges&) const = default;
    };

    struct ChangedFiles {
        std::int64_t count;
        bool operator==(const ChangedFiles&) const = default;
    };

    struct FilesChangedCount {
        std::int64_t count;
        bool operator==(const FilesChangedCount&) const = default;
    };

    struct SignInInstructions {
        std::string url;
        bool operator==(const SignInInstructions&) const = default;
    };

    struct SignedInAs {
        std::string login;
        bool operator==(const SignedInAs&) const = default;
    };

    struct ToastSignedIn {
        std::string login;
        bool operator==(const ToastSignedIn&) const = default;
    };

    struct ToastPullRequestCheckedOut {
        std::string branch;
        bool operator==(const ToastPullRequestCheckedOut&) const = default;
    };

    struct HostingNetwork {
        std::string message;
        bool operator==(const HostingNetwork&) const = default;
    };

    struct HostingForbidden {
        std::string message;
        bool operator==(const HostingForbidden&) const = default;
    };

    struct PublishForbidden {
        std::string message;
        bool operator==(const PublishForbidden&) const = default;
    };

    struct HostingHTTP {
        std::int64_t status;
        std::string message;
        bool operator==(const HostingHTTP&) const = default;
    };

    struct RenameBranchTitle {
        std::string branch;
        bool operator==(const RenameBranchTitle&) const = default;
    };

    struct DeleteBranchTitle {
        std::string branch;
        bool operator==(const DeleteBranchTitle&) const = default;
    };

    struct DeleteBranchBody {
        std::string branch;
        bool operator==(const DeleteBranchBody&) const = default;
    };

    struct DeleteBranchForceBody {
        std::string branch;
        bool operator==(const DeleteBranchForceBody&) const = default;
    };

    struct ToastBranchRenamed {
        std::string branch;
        bool operator==(const ToastBranchRenamed&) const = default;
    };

    struct ToastBranchDeleted {
        std::string branch;
        bool operator==(const ToastBranchDeleted&) const = default;
    };

    struct NewBranchWillBe {
        std::string name;
        bool operator==(const NewBranchWillBe&) const = default;
    };

    struct DiscardBody {
        std::int64_t count;
        bool operator==(const DiscardBody&) const = default;
    };

    struct ToastCommitted {
        std::string summary;
        bool operator==(const ToastCommitted&) const = default;
    };

    struct ToastPublished {
        std::string branch;
        bool operator==(const ToastPublished&) const = default;
    };

    struct ToastBranchSwitched {
        std::string branch;
        bool operator==(const ToastBranchSwitched&) const = default;
    };

    struct ToastBranchCreated {
        std::string branch;
        bool operator==(const ToastBranchCreated&) const = default;
    };

    struct OnboardingGitTooOld {
        std::string found;
        std::string minimum;
        bool operator==(const OnboardingGitTooOld&) const = default;
    };

    struct NotARepository {
        std::string path;
        bool operator==(const NotARepository&) const = default;
    };

    struct KeymapNotice {
        std::int64_t problems;
        bool operator==(const KeymapNotice&) const = default;
    };

    struct KeymapMalformed {
        std::string path;
        bool operator==(const KeymapMalformed&) const = default;
    };

    struct KeymapProblem {
        ::tarv::core::KeymapProblem problem;
        bool operator==(const KeymapProblem&) const = default;
    };

    struct KeymapFile {
        std::string path;
        bool exists;
        bool operator==(const KeymapFile&) const = default;
    };

    struct GalleryHint {
        std::int64_t page;
        std::int64_t count;
        std::string title;
        bool operator==(const GalleryHint&) const = default;
    };

    struct ToastPublishedRepository {
        std::string fullName;
        bool operator==(const ToastPublishedRepository&) const = default;
    };

    struct ToastIgnored {
        std::string path;
        bool operator==(const ToastIgnored&) const = default;
    };

    struct ToastIgnoredUntracked {
        std::string path;
        bool operator==(const ToastIgnoredUntracked&) const = default;
    };

    struct SyncFetch {
        std::string remote;
        bool operator==(const SyncFetch&) const = default;
    };

    struct SyncPull {
        std::string remote;
        bool operator==(const SyncPull&) const = default;
    };

    struct SyncPush {
        std::string remote;
        bool operator==(const SyncPush&) const = default;
    };

    struct SyncPublishBranchHint {
        std::string remote;
        bool operator==(const SyncPublishBranchHint&) const = default;
    };

    struct SyncLastFetched {
        ::tarv::core::RelativeTime time;
        bool operator==(const SyncLastFetched&) const = default;
    };

    struct SyncCommitsToPull {
        std::int64_t count;
        bool operator==(const SyncCommitsToPull&) const = default;
    };

    struct SyncCommitsToPush {
        std::int64_t count;
        bool operator==(const SyncCommitsToPush&) const = default;
    };

    struct Relative {
        ::tarv::core::RelativeTime time;
        bool operator==(const Relative&) const = default;
    };

    using Value = std::variant<
        DoctorTitle,
        DoctorGit,
        DoctorIdentity,
        DoctorHelper,
        DoctorSSHKeys,
        DoctorTerminal,
        ProbeDeviceAttributes,
        ProbeModeSupported,
        ProbeModeUnsupported,
        ProbeModeNoAnswer,
        ProbeTrueColor,
        ProbeClick,
        ScrollProbePrompt,
        ScrollProbeTotals,
        ScrollProbeGesture,
        CommitButton,
        AmendButton,
        ToastAmended,
        Raw,
        KeyHelp,
        MergeIntoTitle,
        MergePickerButton,
        ToastMerged,
        MergeConflictsBody,
        OperationBanner,
        OperationConflictsTitle,
        OperationConflictsBody,
        ContinueOperationLabel,
        ToastReset,
        ToastRebased,
        RebaseOntoTitle,
        RebasePickerButton,
        NewBranchFromCommit,
        CompleteMerge,
        ConflictTitle,
        ConflictCurrentLabel,
        ConflictIncomingLabel,
        NewWorktreeWillBe,
        ToastWorktreeCreated,
        ToastWorktreeRemoved,
        ToastRepositoriesMissing,
        NewTagTitle,
        ToastTagCreated,
        ToastTagDeleted,
        CredentialsUsername,
        CredentialsPassword,
        CredentialsPassphrase,
        CredentialsConfirm,
        Hint,
        TerminalTooSmall,
        BranchStatus,
        CoAuthorsLine,
        Command,
        RemoteFailure,
        FailureFix,
        ToastRemoteChanged,
        TabChanges,
        ChangedFiles,
        FilesChangedCount,
        SignInInstructions,
        SignedInAs,
        ToastSignedIn,
        ToastPullRequestCheckedOut,
        HostingNetwork,
        HostingForbidden,
        PublishForbidden,
        HostingHTTP,
        RenameBranchTitle,
        DeleteBranchTitle,
        DeleteBranchBody,
        DeleteBranchForceBody,
        ToastBranchRenamed,
        ToastBranchDeleted,
        NewBranchWillBe,
        DiscardBody,
        ToastCommitted,
        ToastPublished,
        ToastBranchSwitched,
        ToastBranchCreated,
        OnboardingGitTooOld,
        NotARepository,
        KeymapNotice,
        KeymapMalformed,
        KeymapProblem,
        KeymapFile,
        GalleryHint,
        ToastPublishedRepository,
        ToastIgnored,
        ToastIgnoredUntracked,
        SyncFetch,
        SyncPull,
        SyncPush,
        SyncPublishBranchHint,
        SyncLastFetched,
        SyncCommitsToPull,
        SyncCommitsToPush,
        Relative,
        Plain
    >;

    // Copying or comparing a `Text` costs little at run time, but spelling out
    // operations on `Value` itself makes the compiler instantiate them for
    // every alternative: copy and compare whole texts, and read cases with
    // `std::get_if`.
    Value value;

    explicit Text(Value value);
    explicit Text(Plain plain);
    Text(const Text&);
    Text(Text&&) noexcept;
    Text& operator=(const Text&);
    Text& operator=(Text&&) noexcept;
    ~Text();

    bool operator==(const Text&) const;

    // The case's declaration position, 0 to 302.
    std::size_t caseIndex() const;

    // One factory per case, named as the case.
    static Text doctorTitle(std::string version);
    static Text doctorGit(std::string path, std::string version);
    static Text doctorIdentity(std::string name, std::string email);
    static Text doctorHelper(std::string helper);
    static Text doctorSSHKeys(std::int64_t count);
    static Text doctorTerminal(std::string terminal);
    static Text probeDeviceAttributes(std::string attributes);
    static Text probeModeSupported(std::string mode);
    static Text probeModeUnsupported(std::string mode);
    static Text probeModeNoAnswer(std::string mode);
    static Text probeTrueColor(std::optional<bool> kept);
    static Text probeClick(std::string encoding, std::int64_t x, std::int64_t y);
    static Text scrollProbePrompt(std::int64_t seconds);
    static Text scrollProbeTotals(std::int64_t events, std::int64_t gestures);
    static Text scrollProbeGesture(std::int64_t index, std::int64_t events, std::int64_t milliseconds, std::int64_t longestGap, std::string direction);
    static Text commitButton(std::int64_t count, std::string branch);
    static Text amendButton(std::string branch);
    static Text toastAmended(std::string summary);
    static Text raw(std::string text);
    static Text keyHelp(::tarv::core::KeyHelpItem item);
    static Text mergeIntoTitle(std::string branch);
    static Text mergePickerButton(std::string branch);
    static Text toastMerged(std::string branch);
    static Text mergeConflictsBody(std::int64_t count);
    static Text operationBanner(::tarv::core::RepositoryOperation operation, std::int64_t conflicts);
    static Text operationConflictsTitle(::tarv::core::RepositoryOperation operation);
    static Text operationConflictsBody(::tarv::core::RepositoryOperation operation, std::int64_t count);
    static Text continueOperationLabel(::tarv::core::RepositoryOperation operation);
    static Text toastReset(::tarv::core::ResetMode mode, std::string target);
    static Text toastRebased(std::string onto);
    static Text rebaseOntoTitle(std::string branch);
    static Text rebasePickerButton(std::string branch);
    static Text newBranchFromCommit(std::string commit);
    static Text completeMerge(std::string branch);
    static Text conflictTitle(std::int64_t index, std::int64_t total);
    static Text conflictCurrentLabel(std::string name);
    static Text conflictIncomingLabel(std::string name);
    static Text newWorktreeWillBe(std::string path);
    static Text toastWorktreeCreated(std::string path);
    static Text toastWorktreeRemoved(std::string path);
    static Text toastRepositoriesMissing(std::vector<std::string> paths);
    static Text newTagTitle(std::string commit);
    static Text toastTagCreated(std::string tag);
    static Text toastTagDeleted(std::string tag);
    static Text credentialsUsername(std::optional<std::string> subject);
    static Text credentialsPassword(std::optional<std::string> subject);
    static Text credentialsPassphrase(std::optional<std::string> subject);
    static Text credentialsConfirm(std::optional<std::string> subject);
    static Text hint(::tarv::core::HintItem item);
    static Text terminalTooSmall(std::int64_t width, std::int64_t height);
    static Text branchStatus(std::string branch, std::int64_t changes);
    static Text coAuthorsLine(std::vector<std::string> coAuthors);
    static Text command(::tarv::core::AppCommand command);
    static Text remoteFailure(::tarv::core::RemoteFailure failure);
    static Text failureFix(::tarv::core::FailureFix fix);
    static Text toastRemoteChanged(std::string url);
    static Text tabChanges(std::int64_t count);
    static Text changedFiles(std::int64_t count);
    static Text filesChangedCount(std::int64_t count);
    static Text signInInstructions(std::string url);
    static Text signedInAs(std::string login);
    static Text toastSignedIn(std::string login);
    static Text toastPullRequestCheckedOut(std::string branch);
    static Text hostingNetwork(std::string message);
    static Text hostingForbidden(std::string message);
    static Text publishForbidden(std::string message);
    static Text hostingHTTP(std::int64_t status, std::string message);
    static Text renameBranchTitle(std::string branch);
    static Text deleteBranchTitle(std::string branch);
    static Text deleteBranchBody(std::string branch);
    static Text deleteBranchForceBody(std::string branch);
    static Text toastBranchRenamed(std::string branch);
    static Text toastBranchDeleted(std::string branch);
    static Text newBranchWillBe(std::string name);
    static Text discardBody(std::int64_t count);
    static Text toastCommitted(std::string summary);
    static Text toastPublished(std::string branch);
    static Text toastBranchSwitched(std::string branch);
    static Text toastBranchCreated(std::string branch);
    static Text onboardingGitTooOld(std::string found, std::string minimum);
    static Text notARepository(std::string path);
    static Text keymapNotice(std::int64_t problems);
    static Text keymapMalformed(std::string path);
    static Text keymapProblem(::tarv::core::KeymapProblem problem);
    static Text keymapFile(std::string path, bool exists);
    static Text galleryHint(std::int64_t page, std::int64_t count, std::string title);
    static Text toastPublishedRepository(std::string fullName);
    static Text toastIgnored(std::string path);
    static Text toastIgnoredUntracked(std::string path);
    static Text syncFetch(std::string remote);
    static Text syncPull(std::string remote);
    static Text syncPush(std::string remote);
    static Text syncPublishBranchHint(std::string remote);
    static Text syncLastFetched(::tarv::core::RelativeTime time);
    static Text syncCommitsToPull(std::int64_t count);
    static Text syncCommitsToPush(std::int64_t count);
    static Text relative(::tarv::core::RelativeTime time);

    static Text doctorGitMissing() { return Text(Plain::doctorGitMissing); }
    static Text doctorIdentityMissing() { return Text(Plain::doctorIdentityMissing); }
    static Text doctorHelperMissing() { return Text(Plain::doctorHelperMissing); }
    static Text doctorSSHNoKeys() { return Text(Plain::doctorSSHNoKeys); }
    static Text doctorSSHNoAgent() { return Text(Plain::doctorSSHNoAgent); }
    static Text probeTitle() { return Text(Plain::probeTitle); }
    static Text probeNotATTY() { return Text(Plain::probeNotATTY); }
    static Text probeNoDeviceAttributes() { return Text(Plain::probeNoDeviceAttributes); }
    static Text probeClickPrompt() { return Text(Plain::probeClickPrompt); }
    static Text probeColorSwatch() { return Text(Plain::probeColorSwatch); }
    static Text probeClickSkipped() { return Text(Plain::probeClickSkipped); }
    static Text scrollProbeEmpty() { return Text(Plain::scrollProbeEmpty); }
    static Text toastAmendNotAllowed() { return Text(Plain::toastAmendNotAllowed); }
    static Text onboardingWelcome() { return Text(Plain::onboardingWelcome); }
    static Text toastMergeUpToDate() { return Text(Plain::toastMergeUpToDate); }
    static Text toastOperationAborted() { return Text(Plain::toastOperationAborted); }
    static Text mergeConflictsTitle() { return Text(Plain::mergeConflictsTitle); }
    static Text buttonContinueOperation() { return Text(Plain::buttonContinueOperation); }
    static Text toastReverted() { return Text(Plain::toastReverted); }
    static Text toastCherryPicked() { return Text(Plain::toastCherryPicked); }
    static Text toastOperationCompleted() { return Text(Plain::toastOperationCompleted); }
    static Text toastConflictResolved() { return Text(Plain::toastConflictResolved); }
    static Text buttonAbortOperation() { return Text(Plain::buttonAbortOperation); }
    static Text resolveConflictsFirst() { return Text(Plain::resolveConflictsFirst); }
    static Text conflictKeepCurrent() { return Text(Plain::conflictKeepCurrent); }
    static Text conflictKeepIncoming() { return Text(Plain::conflictKeepIncoming); }
    static Text conflictKeepBoth() { return Text(Plain::conflictKeepBoth); }
    static Text conflictNoMarkers() { return Text(Plain::conflictNoMarkers); }
    static Text conflictMarkResolvedButton() { return Text(Plain::conflictMarkResolvedButton); }
    static Text conflictFileNeedsMarkers() { return Text(Plain::conflictFileNeedsMarkers); }
    static Text stashTitle() { return Text(Plain::stashTitle); }
    static Text worktreesTitle() { return Text(Plain::worktreesTitle); }
    static Text worktreesHint() { return Text(Plain::worktreesHint); }
    static Text worktreeMain() { return Text(Plain::worktreeMain); }
    static Text worktreeCurrent() { return Text(Plain::worktreeCurrent); }
    static Text worktreeDetached() { return Text(Plain::worktreeDetached); }
    static Text newWorktreeTitle() { return Text(Plain::newWorktreeTitle); }
    static Text newWorktreePlaceholder() { return Text(Plain::newWorktreePlaceholder); }
    static Text worktreeCannotRemove() { return Text(Plain::worktreeCannotRemove); }
    static Text toastSquashed() { return Text(Plain::toastSquashed); }
    static Text toastReordered() { return Text(Plain::toastReordered); }
    static Text tagsTitle() { return Text(Plain::tagsTitle); }
    static Text tagsEmpty() { return Text(Plain::tagsEmpty); }
    static Text tagsHint() { return Text(Plain::tagsHint); }
    static Text tagNamePlaceholder() { return Text(Plain::tagNamePlaceholder); }
    static Text invalidTagName() { return Text(Plain::invalidTagName); }
    static Text tagCommitNotLoaded() { return Text(Plain::tagCommitNotLoaded); }
    static Text stashEmpty() { return Text(Plain::stashEmpty); }
    static Text stashHint() { return Text(Plain::stashHint); }
    static Text toastStashed() { return Text(Plain::toastStashed); }
    static Text toastStashRestored() { return Text(Plain::toastStashRestored); }
    static Text toastStashDropped() { return Text(Plain::toastStashDropped); }
    static Text stashSuggestion() { return Text(Plain::stashSuggestion); }
    static Text nothingToStash() { return Text(Plain::nothingToStash); }
    static Text credentialsTitle() { return Text(Plain::credentialsTitle); }
    static Text credentialsTokenHint() { return Text(Plain::credentialsTokenHint); }
    static Text buttonContinue() { return Text(Plain::buttonContinue); }
    static Text buttonYes() { return Text(Plain::buttonYes); }
    static Text buttonNo() { return Text(Plain::buttonNo); }
    static Text helpSectionGeneral() { return Text(Plain::helpSectionGeneral); }
    static Text helpSectionFiles() { return Text(Plain::helpSectionFiles); }
    static Text helpSectionDiff() { return Text(Plain::helpSectionDiff); }
    static Text helpSectionMouse() { return Text(Plain::helpSectionMouse); }
    static Text contextMenuTitle() { return Text(Plain::contextMenuTitle); }
    static Text commitHintNoSummary() { return Text(Plain::commitHintNoSummary); }
    static Text spinnerWorking() { return Text(Plain::spinnerWorking); }
    static Text welcomeIntro() { return Text(Plain::welcomeIntro); }
    static Text pickerAddFooter() { return Text(Plain::pickerAddFooter); }
    static Text pickerCloneFooter() { return Text(Plain::pickerCloneFooter); }
    static Text emptyList() { return Text(Plain::emptyList); }
    static Text confirmKeys() { return Text(Plain::confirmKeys); }
    static Text buttonCreate() { return Text(Plain::buttonCreate); }
    static Text buttonRename() { return Text(Plain::buttonRename); }
    static Text coAuthorTitle() { return Text(Plain::coAuthorTitle); }
    static Text coAuthorPrompt() { return Text(Plain::coAuthorPrompt); }
    static Text coAuthorInvalid() { return Text(Plain::coAuthorInvalid); }
    static Text buttonAdd() { return Text(Plain::buttonAdd); }
    static Text buttonClone() { return Text(Plain::buttonClone); }
    static Text confirmKeysLabel() { return Text(Plain::confirmKeysLabel); }
    static Text emptyDiff() { return Text(Plain::emptyDiff); }
    static Text helpKeyColumn() { return Text(Plain::helpKeyColumn); }
    static Text cancelKeys() { return Text(Plain::cancelKeys); }
    static Text tabHistory() { return Text(Plain::tabHistory); }
    static Text currentRepository() { return Text(Plain::currentRepository); }
    static Text currentBranch() { return Text(Plain::currentBranch); }
    static Text filterPlaceholder() { return Text(Plain::filterPlaceholder); }
    static Text noLocalChanges() { return Text(Plain::noLocalChanges); }
    static Text noLocalChangesHint() { return Text(Plain::noLocalChangesHint); }
    static Text summaryPlaceholder() { return Text(Plain::summaryPlaceholder); }
    static Text descriptionPlaceholder() { return Text(Plain::descriptionPlaceholder); }
    static Text committing() { return Text(Plain::committing); }
    static Text noCommitsYet() { return Text(Plain::noCommitsYet); }
    static Text compareBranchPlaceholder() { return Text(Plain::compareBranchPlaceholder); }
    static Text binaryFile() { return Text(Plain::binaryFile); }
    static Text loading() { return Text(Plain::loading); }
    static Text noRepositoryOpen() { return Text(Plain::noRepositoryOpen); }
    static Text welcomeAdd() { return Text(Plain::welcomeAdd); }
    static Text welcomeClone() { return Text(Plain::welcomeClone); }
    static Text recents() { return Text(Plain::recents); }
    static Text otherRepositories() { return Text(Plain::otherRepositories); }
    static Text repositoriesTitle() { return Text(Plain::repositoriesTitle); }
    static Text branchesTitle() { return Text(Plain::branchesTitle); }
    static Text pullRequestsTitle() { return Text(Plain::pullRequestsTitle); }
    static Text toastPublishBranchFirst() { return Text(Plain::toastPublishBranchFirst); }
    static Text signInTitle() { return Text(Plain::signInTitle); }
    static Text signInRequesting() { return Text(Plain::signInRequesting); }
    static Text signInCopyAndOpen() { return Text(Plain::signInCopyAndOpen); }
    static Text signInWaiting() { return Text(Plain::signInWaiting); }
    static Text toastSignedOut() { return Text(Plain::toastSignedOut); }
    static Text toastSessionExpired() { return Text(Plain::toastSessionExpired); }
    static Text pullRequestsSignIn() { return Text(Plain::pullRequestsSignIn); }
    static Text pullRequestsNotGitHub() { return Text(Plain::pullRequestsNotGitHub); }
    static Text pullRequestsEmpty() { return Text(Plain::pullRequestsEmpty); }
    static Text pullRequestDraft() { return Text(Plain::pullRequestDraft); }
    static Text hostingUnauthorized() { return Text(Plain::hostingUnauthorized); }
    static Text hostingDeviceFlowDisabled() { return Text(Plain::hostingDeviceFlowDisabled); }
    static Text hostingNotFound() { return Text(Plain::hostingNotFound); }
    static Text hostingRateLimited() { return Text(Plain::hostingRateLimited); }
    static Text hostingInvalidResponse() { return Text(Plain::hostingInvalidResponse); }
    static Text hostingExpiredCode() { return Text(Plain::hostingExpiredCode); }
    static Text hostingDenied() { return Text(Plain::hostingDenied); }
    static Text gitTokenRejected() { return Text(Plain::gitTokenRejected); }
    static Text pullRequestsUnavailable() { return Text(Plain::pullRequestsUnavailable); }
    static Text defaultBranch() { return Text(Plain::defaultBranch); }
    static Text recentBranches() { return Text(Plain::recentBranches); }
    static Text otherBranches() { return Text(Plain::otherBranches); }
    static Text newBranchTitle() { return Text(Plain::newBranchTitle); }
    static Text deleteBranchPickerTitle() { return Text(Plain::deleteBranchPickerTitle); }
    static Text deleteBranchConfirm() { return Text(Plain::deleteBranchConfirm); }
    static Text deleteBranchForceConfirm() { return Text(Plain::deleteBranchForceConfirm); }
    static Text toastCannotDeleteCurrentBranch() { return Text(Plain::toastCannotDeleteCurrentBranch); }
    static Text newBranchPlaceholder() { return Text(Plain::newBranchPlaceholder); }
    static Text invalidBranchName() { return Text(Plain::invalidBranchName); }
    static Text commandsTitle() { return Text(Plain::commandsTitle); }
    static Text helpTitle() { return Text(Plain::helpTitle); }
    static Text discardTitle() { return Text(Plain::discardTitle); }
    static Text discardConfirm() { return Text(Plain::discardConfirm); }
    static Text cancel() { return Text(Plain::cancel); }
    static Text close() { return Text(Plain::close); }
    static Text ok() { return Text(Plain::ok); }
    static Text toastDiscarded() { return Text(Plain::toastDiscarded); }
    static Text toastRestored() { return Text(Plain::toastRestored); }
    static Text undoUnfinished() { return Text(Plain::undoUnfinished); }
    static Text discardSubmodule() { return Text(Plain::discardSubmodule); }
    static Text toastUndoneCommit() { return Text(Plain::toastUndoneCommit); }
    static Text toastFetched() { return Text(Plain::toastFetched); }
    static Text toastPulled() { return Text(Plain::toastPulled); }
    static Text toastPushed() { return Text(Plain::toastPushed); }
    static Text toastNothingToUndo() { return Text(Plain::toastNothingToUndo); }
    static Text toastUndoNotAllowed() { return Text(Plain::toastUndoNotAllowed); }
    static Text errorTitle() { return Text(Plain::errorTitle); }
    static Text commitFailedTitle() { return Text(Plain::commitFailedTitle); }
    static Text syncFailedTitle() { return Text(Plain::syncFailedTitle); }
    static Text syncFetching() { return Text(Plain::syncFetching); }
    static Text syncPulling() { return Text(Plain::syncPulling); }
    static Text syncPushing() { return Text(Plain::syncPushing); }
    static Text onboardingChecking() { return Text(Plain::onboardingChecking); }
    static Text onboardingGitMissingTitle() { return Text(Plain::onboardingGitMissingTitle); }
    static Text onboardingGitMissingBody() { return Text(Plain::onboardingGitMissingBody); }
    static Text onboardingContinue() { return Text(Plain::onboardingContinue); }
    static Text onboardingRetry() { return Text(Plain::onboardingRetry); }
    static Text onboardingInstallTools() { return Text(Plain::onboardingInstallTools); }
    static Text onboardingIdentityIntro() { return Text(Plain::onboardingIdentityIntro); }
    static Text onboardingSavesTo() { return Text(Plain::onboardingSavesTo); }
    static Text fieldName() { return Text(Plain::fieldName); }
    static Text fieldEmail() { return Text(Plain::fieldEmail); }
    static Text fieldDefaultBranch() { return Text(Plain::fieldDefaultBranch); }
    static Text fieldStoreCredentials() { return Text(Plain::fieldStoreCredentials); }
    static Text onboardingSave() { return Text(Plain::onboardingSave); }
    static Text onboardingSkip() { return Text(Plain::onboardingSkip); }
    static Text invalidName() { return Text(Plain::invalidName); }
    static Text invalidEmail() { return Text(Plain::invalidEmail); }
    static Text addRepositoryTitle() { return Text(Plain::addRepositoryTitle); }
    static Text addRepositoryPrompt() { return Text(Plain::addRepositoryPrompt); }
    static Text keymapUsage() { return Text(Plain::keymapUsage); }
    static Text createRepositoryTitle() { return Text(Plain::createRepositoryTitle); }
    static Text createRepositoryPrompt() { return Text(Plain::createRepositoryPrompt); }
    static Text createRepositoryHere() { return Text(Plain::createRepositoryHere); }
    static Text welcomeCreate() { return Text(Plain::welcomeCreate); }
    static Text cloneTitle() { return Text(Plain::cloneTitle); }
    static Text cloneURLPrompt() { return Text(Plain::cloneURLPrompt); }
    static Text cloneDestinationPrompt() { return Text(Plain::cloneDestinationPrompt); }
    static Text cloning() { return Text(Plain::cloning); }
    static Text cloneInvalidURL() { return Text(Plain::cloneInvalidURL); }
    static Text cloneYourRepositories() { return Text(Plain::cloneYourRepositories); }
    static Text cloneLoadingRepositories() { return Text(Plain::cloneLoadingRepositories); }
    static Text cloneNoMatches() { return Text(Plain::cloneNoMatches); }
    static Text cloneSignInHint() { return Text(Plain::cloneSignInHint); }
    static Text repositoryPrivate() { return Text(Plain::repositoryPrivate); }
    static Text repositoryPublic() { return Text(Plain::repositoryPublic); }
    static Text openInEditorUnavailable() { return Text(Plain::openInEditorUnavailable); }
    static Text publishTitle() { return Text(Plain::publishTitle); }
    static Text publishNameLabel() { return Text(Plain::publishNameLabel); }
    static Text publishDescriptionLabel() { return Text(Plain::publishDescriptionLabel); }
    static Text publishPrivate() { return Text(Plain::publishPrivate); }
    static Text publishHint() { return Text(Plain::publishHint); }
    static Text publishing() { return Text(Plain::publishing); }
    static Text publishInvalidName() { return Text(Plain::publishInvalidName); }
    static Text buttonPublish() { return Text(Plain::buttonPublish); }
    static Text lineEllipsis() { return Text(Plain::lineEllipsis); }
    static Text selectAllFiles() { return Text(Plain::selectAllFiles); }
    static Text copied() { return Text(Plain::copied); }
    static Text externalEditorFailed() { return Text(Plain::externalEditorFailed); }
    static Text unavailable() { return Text(Plain::unavailable); }
    static Text syncPublishBranch() { return Text(Plain::syncPublishBranch); }
    static Text syncPublishRepository() { return Text(Plain::syncPublishRepository); }
    static Text syncNoRemote() { return Text(Plain::syncNoRemote); }
    static Text syncNeverFetched() { return Text(Plain::syncNeverFetched); }
    static Text cloneInvalidDestination() { return Text(Plain::cloneInvalidDestination); }
    static Text clipboardToolMissing() { return Text(Plain::clipboardToolMissing); }
    static Text openInEditorNoDesktop() { return Text(Plain::openInEditorNoDesktop); }
    static Text openInEditorNoOpener() { return Text(Plain::openInEditorNoOpener); }
    static Text undoKeptEditsTitle() { return Text(Plain::undoKeptEditsTitle); }
    static Text undoKeptEditsBody() { return Text(Plain::undoKeptEditsBody); }
    static Text toastEmptyCommitSkipped() { return Text(Plain::toastEmptyCommitSkipped); }
    static Text toastOperationAbortedKept() { return Text(Plain::toastOperationAbortedKept); }
    static Text lineSelectionDropped() { return Text(Plain::lineSelectionDropped); }
    static Text toastDiscardedSubmodulesKept() { return Text(Plain::toastDiscardedSubmodulesKept); }

    std::string render(Language language) const;
    std::string english() const;
    std::string spanish() const;

    // "1 " + singular when count is 1; otherwise the count, a blank and the plural.
    static std::string plural(std::int64_t count, std::string_view singular, std::string_view pluralForm);
    // "merge", "rebase", "cherry-pick", "revert".
    static std::string operationName(RepositoryOperation operation);
    // The operation name with its first letter upper-cased: "Cherry-pick".
    static std::string operationTitle(RepositoryOperation operation);

    static std::string englishRelative(const RelativeTime& time);
    static std::string spanishRelative(const RelativeTime& time);
    static std::string englishHint(HintItem item);
    static std::string spanishHint(HintItem item);
    static std::string englishKeyHelp(KeyHelpItem item);
    static std::string spanishKeyHelp(KeyHelpItem item);
    static std::string englishCommand(AppCommand command);
    static std::string spanishCommand(AppCommand command);
    static std::string englishFailure(const ::tarv::core::RemoteFailure& failure);
    static std::string spanishFailure(const ::tarv::core::RemoteFailure& failure);
};

}  // namespace tarv::core
