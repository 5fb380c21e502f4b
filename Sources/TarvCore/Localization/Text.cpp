#include "TarvCore/Localization/Text.hpp"

#include <type_traits>
#include <utility>
#include <variant>

#include "TarvCore/Localization/TextPieces.hpp"

namespace tarv::core {

// The variant has close to a hundred alternatives, and constructing one in
// place costs the compiler work per alternative and per kind of reference.
// Copies therefore go through the move path, and the special members and
// factories share this one translation unit.

namespace {

Text::Value copyOf(const Text::Value& value) {
    return std::visit(
        [](const auto& payload) -> Text::Value {
            using Case = std::decay_t<decltype(payload)>;
            return Text::Value(std::in_place_type<Case>, Case(payload));
        },
        value);
}

}  // namespace

Text::Text(Value value) : value(std::move(value)) {}
Text::Text(Plain plain) : value(std::in_place_type<Plain>, plain) {}
Text::Text(const Text& other) : value(copyOf(other.value)) {}
Text::Text(Text&&) noexcept = default;
Text& Text::operator=(const Text& other) {
    if (this != &other) {
        value = copyOf(other.value);
    }
    return *this;
}
Text& Text::operator=(Text&&) noexcept = default;
Text::~Text() = default;

bool Text::operator==(const Text& other) const {
    return value == other.value;
}

std::size_t Text::caseIndex() const {
    if (const auto* plain = std::get_if<Plain>(&value)) {
        return payloadCaseCount + static_cast<std::size_t>(*plain);
    }
    return value.index();
}

std::string Text::render(Language language) const {
    return language == Language::es ? spanish() : english();
}

std::string Text::plural(std::int64_t count, std::string_view singular, std::string_view pluralForm) {
    if (count == 1) {
        return "1 " + std::string(singular);
    }
    return detail::decimal(count) + " " + std::string(pluralForm);
}

std::string Text::operationName(RepositoryOperation operation) {
    switch (operation) {
    case RepositoryOperation::merge:
        return "merge";
    case RepositoryOperation::rebase:
        return "rebase";
    case RepositoryOperation::cherryPick:
        return "cherry-pick";
    case RepositoryOperation::revert:
        return "revert";
    }
    return {};
}

std::string Text::operationTitle(RepositoryOperation operation) {
    std::string name = operationName(operation);
    if (!name.empty() && name[0] >= 'a' && name[0] <= 'z') {
        name[0] = static_cast<char>(name[0] - 'a' + 'A');
    }
    return name;
}

Text Text::doctorTitle(std::string version) {
    return Text(Value(std::in_place_type<DoctorTitle>, DoctorTitle{std::move(version)}));
}

Text Text::doctorGit(std::string path, std::string version) {
    return Text(Value(std::in_place_type<DoctorGit>, DoctorGit{std::move(path), std::move(version)}));
}

Text Text::doctorIdentity(std::string name, std::string email) {
    return Text(Value(std::in_place_type<DoctorIdentity>, DoctorIdentity{std::move(name), std::move(email)}));
}

Text Text::doctorHelper(std::string helper) {
    return Text(Value(std::in_place_type<DoctorHelper>, DoctorHelper{std::move(helper)}));
}

Text Text::doctorSSHKeys(std::int64_t count) {
    return Text(Value(std::in_place_type<DoctorSSHKeys>, DoctorSSHKeys{count}));
}

Text Text::doctorTerminal(std::string terminal) {
    return Text(Value(std::in_place_type<DoctorTerminal>, DoctorTerminal{std::move(terminal)}));
}

Text Text::probeDeviceAttributes(std::string attributes) {
    return Text(Value(std::in_place_type<ProbeDeviceAttributes>, ProbeDeviceAttributes{std::move(attributes)}));
}

Text Text::probeModeSupported(std::string mode) {
    return Text(Value(std::in_place_type<ProbeModeSupported>, ProbeModeSupported{std::move(mode)}));
}

Text Text::probeModeUnsupported(std::string mode) {
    return Text(Value(std::in_place_type<ProbeModeUnsupported>, ProbeModeUnsupported{std::move(mode)}));
}

Text Text::probeModeNoAnswer(std::string mode) {
    return Text(Value(std::in_place_type<ProbeModeNoAnswer>, ProbeModeNoAnswer{std::move(mode)}));
}

Text Text::probeTrueColor(std::optional<bool> kept) {
    return Text(Value(std::in_place_type<ProbeTrueColor>, ProbeTrueColor{kept}));
}

Text Text::probeClick(std::string encoding, std::int64_t x, std::int64_t y) {
    return Text(Value(std::in_place_type<ProbeClick>, ProbeClick{std::move(encoding), x, y}));
}

Text Text::scrollProbePrompt(std::int64_t seconds) {
    return Text(Value(std::in_place_type<ScrollProbePrompt>, ScrollProbePrompt{seconds}));
}

Text Text::scrollProbeTotals(std::int64_t events, std::int64_t gestures) {
    return Text(Value(std::in_place_type<ScrollProbeTotals>, ScrollProbeTotals{events, gestures}));
}

Text Text::scrollProbeGesture(std::int64_t index, std::int64_t events, std::int64_t milliseconds, std::int64_t longestGap, std::string direction) {
    return Text(Value(std::in_place_type<ScrollProbeGesture>, ScrollProbeGesture{index, events, milliseconds, longestGap, std::move(direction)}));
}

Text Text::commitButton(std::int64_t count, std::string branch) {
    return Text(Value(std::in_place_type<CommitButton>, CommitButton{count, std::move(branch)}));
}

Text Text::amendButton(std::string branch) {
    return Text(Value(std::in_place_type<AmendButton>, AmendButton{std::move(branch)}));
}

Text Text::toastAmended(std::string summary) {
    return Text(Value(std::in_place_type<ToastAmended>, ToastAmended{std::move(summary)}));
}

Text Text::raw(std::string text) {
    return Text(Value(std::in_place_type<Raw>, Raw{std::move(text)}));
}

Text Text::keyHelp(::tarv::core::KeyHelpItem item) {
    return Text(Value(std::in_place_type<KeyHelp>, KeyHelp{item}));
}

Text Text::mergeIntoTitle(std::string branch) {
    return Text(Value(std::in_place_type<MergeIntoTitle>, MergeIntoTitle{std::move(branch)}));
}

Text Text::mergePickerButton(std::string branch) {
    return Text(Value(std::in_place_type<MergePickerButton>, MergePickerButton{std::move(branch)}));
}

Text Text::toastMerged(std::string branch) {
    return Text(Value(std::in_place_type<ToastMerged>, ToastMerged{std::move(branch)}));
}

Text Text::mergeConflictsBody(std::int64_t count) {
    return Text(Value(std::in_place_type<MergeConflictsBody>, MergeConflictsBody{count}));
}

Text Text::operationBanner(::tarv::core::RepositoryOperation operation, std::int64_t conflicts) {
    return Text(Value(std::in_place_type<OperationBanner>, OperationBanner{operation, conflicts}));
}

Text Text::operationConflictsTitle(::tarv::core::RepositoryOperation operation) {
    return Text(Value(std::in_place_type<OperationConflictsTitle>, OperationConflictsTitle{operation}));
}

Text Text::operationConflictsBody(::tarv::core::RepositoryOperation operation, std::int64_t count) {
    return Text(Value(std::in_place_type<OperationConflictsBody>, OperationConflictsBody{operation, count}));
}

Text Text::continueOperationLabel(::tarv::core::RepositoryOperation operation) {
    return Text(Value(std::in_place_type<ContinueOperationLabel>, ContinueOperationLabel{operation}));
}

Text Text::toastReset(::tarv::core::ResetMode mode, std::string target) {
    return Text(Value(std::in_place_type<ToastReset>, ToastReset{mode, std::move(target)}));
}

Text Text::toastRebased(std::string onto) {
    return Text(Value(std::in_place_type<ToastRebased>, ToastRebased{std::move(onto)}));
}

Text Text::rebaseOntoTitle(std::string branch) {
    return Text(Value(std::in_place_type<RebaseOntoTitle>, RebaseOntoTitle{std::move(branch)}));
}

Text Text::rebasePickerButton(std::string branch) {
    return Text(Value(std::in_place_type<RebasePickerButton>, RebasePickerButton{std::move(branch)}));
}

Text Text::newBranchFromCommit(std::string commit) {
    return Text(Value(std::in_place_type<NewBranchFromCommit>, NewBranchFromCommit{std::move(commit)}));
}

Text Text::completeMerge(std::string branch) {
    return Text(Value(std::in_place_type<CompleteMerge>, CompleteMerge{std::move(branch)}));
}

Text Text::conflictTitle(std::int64_t index, std::int64_t total) {
    return Text(Value(std::in_place_type<ConflictTitle>, ConflictTitle{index, total}));
}

Text Text::conflictCurrentLabel(std::string name) {
    return Text(Value(std::in_place_type<ConflictCurrentLabel>, ConflictCurrentLabel{std::move(name)}));
}

Text Text::conflictIncomingLabel(std::string name) {
    return Text(Value(std::in_place_type<ConflictIncomingLabel>, ConflictIncomingLabel{std::move(name)}));
}

Text Text::newWorktreeWillBe(std::string path) {
    return Text(Value(std::in_place_type<NewWorktreeWillBe>, NewWorktreeWillBe{std::move(path)}));
}

Text Text::toastWorktreeCreated(std::string path) {
    return Text(Value(std::in_place_type<ToastWorktreeCreated>, ToastWorktreeCreated{std::move(path)}));
}

Text Text::toastWorktreeRemoved(std::string path) {
    return Text(Value(std::in_place_type<ToastWorktreeRemoved>, ToastWorktreeRemoved{std::move(path)}));
}

Text Text::toastRepositoriesMissing(std::vector<std::string> paths) {
    return Text(Value(std::in_place_type<ToastRepositoriesMissing>, ToastRepositoriesMissing{std::move(paths)}));
}

Text Text::newTagTitle(std::string commit) {
    return Text(Value(std::in_place_type<NewTagTitle>, NewTagTitle{std::move(commit)}));
}

Text Text::toastTagCreated(std::string tag) {
    return Text(Value(std::in_place_type<ToastTagCreated>, ToastTagCreated{std::move(tag)}));
}

Text Text::toastTagDeleted(std::string tag) {
    return Text(Value(std::in_place_type<ToastTagDeleted>, ToastTagDeleted{std::move(tag)}));
}

Text Text::credentialsUsername(std::optional<std::string> subject) {
    return Text(Value(std::in_place_type<CredentialsUsername>, CredentialsUsername{std::move(subject)}));
}

Text Text::credentialsPassword(std::optional<std::string> subject) {
    return Text(Value(std::in_place_type<CredentialsPassword>, CredentialsPassword{std::move(subject)}));
}

Text Text::credentialsPassphrase(std::optional<std::string> subject) {
    return Text(Value(std::in_place_type<CredentialsPassphrase>, CredentialsPassphrase{std::move(subject)}));
}

Text Text::credentialsConfirm(std::optional<std::string> subject) {
    return Text(Value(std::in_place_type<CredentialsConfirm>, CredentialsConfirm{std::move(subject)}));
}

Text Text::hint(::tarv::core::HintItem item) {
    return Text(Value(std::in_place_type<Hint>, Hint{item}));
}

Text Text::terminalTooSmall(std::int64_t width, std::int64_t height) {
    return Text(Value(std::in_place_type<TerminalTooSmall>, TerminalTooSmall{width, height}));
}

Text Text::branchStatus(std::string branch, std::int64_t changes) {
    return Text(Value(std::in_place_type<BranchStatus>, BranchStatus{std::move(branch), changes}));
}

Text Text::coAuthorsLine(std::vector<std::string> coAuthors) {
    return Text(Value(std::in_place_type<CoAuthorsLine>, CoAuthorsLine{std::move(coAuthors)}));
}

Text Text::command(::tarv::core::AppCommand command) {
    return Text(Value(std::in_place_type<Command>, Command{command}));
}

Text Text::remoteFailure(::tarv::core::RemoteFailure failure) {
    return Text(Value(std::in_place_type<RemoteFailure>, RemoteFailure{std::move(failure)}));
}

Text Text::failureFix(::tarv::core::FailureFix fix) {
    return Text(Value(std::in_place_type<FailureFix>, FailureFix{std::move(fix)}));
}

Text Text::toastRemoteChanged(std::string url) {
    return Text(Value(std::in_place_type<ToastRemoteChanged>, ToastRemoteChanged{std::move(url)}));
}

Text Text::tabChanges(std::int64_t count) {
    return Text(Value(std::in_place_type<TabChanges>, TabChanges{count}));
}

Text Text::changedFiles(std::int64_t count) {
    return Text(Value(std::in_place_type<ChangedFiles>, ChangedFiles{count}));
}

Text Text::filesChangedCount(std::int64_t count) {
    return Text(Value(std::in_place_type<FilesChangedCount>, FilesChangedCount{count}));
}

Text Text::signInInstructions(std::string url) {
    return Text(Value(std::in_place_type<SignInInstructions>, SignInInstructions{std::move(url)}));
}

Text Text::signedInAs(std::string login) {
    return Text(Value(std::in_place_type<SignedInAs>, SignedInAs{std::move(login)}));
}

Text Text::toastSignedIn(std::string login) {
    return Text(Value(std::in_place_type<ToastSignedIn>, ToastSignedIn{std::move(login)}));
}

Text Text::toastPullRequestCheckedOut(std::string branch) {
    return Text(Value(std::in_place_type<ToastPullRequestCheckedOut>, ToastPullRequestCheckedOut{std::move(branch)}));
}

Text Text::hostingNetwork(std::string message) {
    return Text(Value(std::in_place_type<HostingNetwork>, HostingNetwork{std::move(message)}));
}

Text Text::hostingForbidden(std::string message) {
    return Text(Value(std::in_place_type<HostingForbidden>, HostingForbidden{std::move(message)}));
}

Text Text::publishForbidden(std::string message) {
    return Text(Value(std::in_place_type<PublishForbidden>, PublishForbidden{std::move(message)}));
}

Text Text::hostingHTTP(std::int64_t status, std::string message) {
    return Text(Value(std::in_place_type<HostingHTTP>, HostingHTTP{status, std::move(message)}));
}

Text Text::renameBranchTitle(std::string branch) {
    return Text(Value(std::in_place_type<RenameBranchTitle>, RenameBranchTitle{std::move(branch)}));
}

Text Text::deleteBranchTitle(std::string branch) {
    return Text(Value(std::in_place_type<DeleteBranchTitle>, DeleteBranchTitle{std::move(branch)}));
}

Text Text::deleteBranchBody(std::string branch) {
    return Text(Value(std::in_place_type<DeleteBranchBody>, DeleteBranchBody{std::move(branch)}));
}

Text Text::deleteBranchForceBody(std::string branch) {
    return Text(Value(std::in_place_type<DeleteBranchForceBody>, DeleteBranchForceBody{std::move(branch)}));
}

Text Text::toastBranchRenamed(std::string branch) {
    return Text(Value(std::in_place_type<ToastBranchRenamed>, ToastBranchRenamed{std::move(branch)}));
}

Text Text::toastBranchDeleted(std::string branch) {
    return Text(Value(std::in_place_type<ToastBranchDeleted>, ToastBranchDeleted{std::move(branch)}));
}

Text Text::newBranchWillBe(std::string name) {
    return Text(Value(std::in_place_type<NewBranchWillBe>, NewBranchWillBe{std::move(name)}));
}

Text Text::discardBody(std::int64_t count) {
    return Text(Value(std::in_place_type<DiscardBody>, DiscardBody{count}));
}

Text Text::toastCommitted(std::string summary) {
    return Text(Value(std::in_place_type<ToastCommitted>, ToastCommitted{std::move(summary)}));
}

Text Text::toastPublished(std::string branch) {
    return Text(Value(std::in_place_type<ToastPublished>, ToastPublished{std::move(branch)}));
}

Text Text::toastBranchSwitched(std::string branch) {
    return Text(Value(std::in_place_type<ToastBranchSwitched>, ToastBranchSwitched{std::move(branch)}));
}

Text Text::toastBranchCreated(std::string branch) {
    return Text(Value(std::in_place_type<ToastBranchCreated>, ToastBranchCreated{std::move(branch)}));
}

Text Text::onboardingGitTooOld(std::string found, std::string minimum) {
    return Text(Value(std::in_place_type<OnboardingGitTooOld>, OnboardingGitTooOld{std::move(found), std::move(minimum)}));
}

Text Text::notARepository(std::string path) {
    return Text(Value(std::in_place_type<NotARepository>, NotARepository{std::move(path)}));
}

Text Text::keymapNotice(std::int64_t problems) {
    return Text(Value(std::in_place_type<KeymapNotice>, KeymapNotice{problems}));
}

Text Text::keymapMalformed(std::string path) {
    return Text(Value(std::in_place_type<KeymapMalformed>, KeymapMalformed{std::move(path)}));
}

Text Text::keymapProblem(::tarv::core::KeymapProblem problem) {
    return Text(Value(std::in_place_type<KeymapProblem>, KeymapProblem{std::move(problem)}));
}

Text Text::keymapFile(std::string path, bool exists) {
    return Text(Value(std::in_place_type<KeymapFile>, KeymapFile{std::move(path), exists}));
}

Text Text::galleryHint(std::int64_t page, std::int64_t count, std::string title) {
    return Text(Value(std::in_place_type<GalleryHint>, GalleryHint{page, count, std::move(title)}));
}

Text Text::toastPublishedRepository(std::string fullName) {
    return Text(Value(std::in_place_type<ToastPublishedRepository>, ToastPublishedRepository{std::move(fullName)}));
}

Text Text::toastIgnored(std::string path) {
    return Text(Value(std::in_place_type<ToastIgnored>, ToastIgnored{std::move(path)}));
}

Text Text::toastIgnoredUntracked(std::string path) {
    return Text(Value(std::in_place_type<ToastIgnoredUntracked>, ToastIgnoredUntracked{std::move(path)}));
}

Text Text::syncFetch(std::string remote) {
    return Text(Value(std::in_place_type<SyncFetch>, SyncFetch{std::move(remote)}));
}

Text Text::syncPull(std::string remote) {
    return Text(Value(std::in_place_type<SyncPull>, SyncPull{std::move(remote)}));
}

Text Text::syncPush(std::string remote) {
    return Text(Value(std::in_place_type<SyncPush>, SyncPush{std::move(remote)}));
}

Text Text::syncPublishBranchHint(std::string remote) {
    return Text(Value(std::in_place_type<SyncPublishBranchHint>, SyncPublishBranchHint{std::move(remote)}));
}

Text Text::syncLastFetched(::tarv::core::RelativeTime time) {
    return Text(Value(std::in_place_type<SyncLastFetched>, SyncLastFetched{std::move(time)}));
}

Text Text::syncCommitsToPull(std::int64_t count) {
    return Text(Value(std::in_place_type<SyncCommitsToPull>, SyncCommitsToPull{count}));
}

Text Text::syncCommitsToPush(std::int64_t count) {
    return Text(Value(std::in_place_type<SyncCommitsToPush>, SyncCommitsToPush{count}));
}

Text Text::relative(::tarv::core::RelativeTime time) {
    return Text(Value(std::in_place_type<Relative>, Relative{std::move(time)}));
}

}  // namespace tarv::core
