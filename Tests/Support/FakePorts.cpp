#include "Support/FakePorts.hpp"

#include <algorithm>
#include <filesystem>
#include <type_traits>
#include <variant>

#include "TarvCore/Models/ChangeKind.hpp"

namespace tarv::testing {

namespace {

std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& item : items) {
        if (!out.empty()) out += ",";
        out += item;
    }
    return out;
}

std::string paths(const std::vector<core::FileChange>& files) {
    std::vector<std::string> names;
    for (const auto& file : files) names.push_back(file.path);
    return joined(names);
}

std::string orNone(const std::optional<std::string>& value) {
    return value.value_or("-");
}

std::string flag(bool value) {
    return value ? "true" : "false";
}

std::string selection(const core::CommitSelection& selection) {
    std::vector<std::string> names = selection.wholePaths;
    for (const auto& partial : selection.partials) names.push_back(partial.path + "(partial)");
    return joined(names);
}

std::string edit(const core::HistoryEdit& edit) {
    return std::visit(
        [](const auto& step) -> std::string {
            using Step = std::decay_t<decltype(step)>;
            if constexpr (std::is_same_v<Step, core::HistoryEdit::SquashIntoParent>) return "squash " + step.commit;
            if constexpr (std::is_same_v<Step, core::HistoryEdit::MoveUp>) return "moveUp " + step.commit;
            if constexpr (std::is_same_v<Step, core::HistoryEdit::MoveDown>) return "moveDown " + step.commit;
        },
        edit.value);
}

}  // namespace

// FakePort

std::vector<std::string> FakePort::calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

std::vector<std::string> FakePort::calls(const std::string& operation) const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> matching;
    for (const auto& call : calls_) {
        if (call == operation || call.rfind(operation + " ", 0) == 0) matching.push_back(call);
    }
    return matching;
}

void FakePort::clearCalls() {
    std::lock_guard lock(mutex_);
    calls_.clear();
}

void FakePort::failWith(const std::string& operation, std::exception_ptr error) {
    std::lock_guard lock(mutex_);
    failures_[operation] = std::move(error);
}

void FakePort::succeed(const std::string& operation) {
    std::lock_guard lock(mutex_);
    failures_.erase(operation);
}

void FakePort::record(const std::string& operation, const std::vector<std::string>& arguments) const {
    std::exception_ptr failure;
    {
        std::lock_guard lock(mutex_);
        std::string line = operation;
        for (const auto& argument : arguments) line += " " + argument;
        calls_.push_back(std::move(line));
        if (auto found = failures_.find(operation); found != failures_.end()) failure = found->second;
    }
    if (failure) std::rethrow_exception(failure);
}

// FakeGitClient

core::EnvironmentReport FakeGitClient::probeEnvironment(std::stop_token) {
    record("probeEnvironment");
    return answers.report;
}

void FakeGitClient::setGlobalConfig(const std::string& key, const std::string& value, std::stop_token) {
    record("setGlobalConfig", {key, value});
}

// FakeRepository: remotes

void FakeRepository::fetch(const std::string& repository, std::stop_token) {
    record("fetch", {repository});
}

void FakeRepository::pull(const std::string& repository, std::stop_token) {
    record("pull", {repository});
}

void FakeRepository::push(const std::string& repository, const std::string& branch, bool setUpstream,
                          std::stop_token) {
    record("push", {repository, branch, flag(setUpstream)});
}

void FakeRepository::clone(const std::string& url, const std::string& directory, std::stop_token) {
    record("clone", {url, directory});
}

void FakeRepository::initRepository(const std::string& directory, std::stop_token) {
    record("initRepository", {directory});
}

void FakeRepository::addRemote(const std::string& repository, const std::string& name, const std::string& url,
                               std::stop_token) {
    record("addRemote", {repository, name, url});
}

void FakeRepository::setRemoteURL(const std::string& repository, const std::string& name, const std::string& url,
                                  std::stop_token) {
    record("setRemoteURL", {repository, name, url});
}

// FakeRepository: reads

std::optional<std::string> FakeRepository::repositoryRoot(const std::string& path, std::stop_token) {
    record("repositoryRoot", {path});
    return answers.repositoryRoot;
}

bool FakeRepository::repositoryExists(const std::string& path, std::stop_token) {
    record("repositoryExists", {path});
    return !answers.missingRepositories.contains(path);
}

core::WorkingTreeStatus FakeRepository::status(const std::string& repository, std::stop_token) {
    record("status", {repository});
    return answers.status;
}

core::Diff FakeRepository::diff(const std::string& repository, const core::FileChange& file, std::stop_token) {
    record("diff", {repository, file.path});
    if (auto found = answers.diffs.find(file.path); found != answers.diffs.end()) return found->second;
    return core::Diff{};
}

std::vector<core::Commit> FakeRepository::history(const std::string& repository, std::int64_t skip,
                                                  std::int64_t limit, std::stop_token) {
    record("history", {repository, std::to_string(skip), std::to_string(limit)});
    const auto count = static_cast<std::int64_t>(answers.commits.size());
    const auto from = std::clamp<std::int64_t>(skip, 0, count);
    const auto to = std::clamp<std::int64_t>(from + std::max<std::int64_t>(limit, 0), from, count);
    return std::vector<core::Commit>(answers.commits.begin() + from, answers.commits.begin() + to);
}

std::vector<core::CommitFile> FakeRepository::files(const std::string& commit, const std::string& repository,
                                                    std::stop_token) {
    record("files", {commit, repository});
    if (auto found = answers.commitFiles.find(commit); found != answers.commitFiles.end()) return found->second;
    return {};
}

core::Diff FakeRepository::diffOfCommit(const std::string& commit, const std::string& path,
                                        const std::string& repository, std::stop_token) {
    record("diffOfCommit", {commit, path, repository});
    return answers.commitDiff;
}

std::vector<core::Branch> FakeRepository::branches(const std::string& repository, std::stop_token) {
    record("branches", {repository});
    return answers.branches;
}

std::optional<std::string> FakeRepository::remoteURL(const std::string& repository, const std::string& remote,
                                                     std::stop_token) {
    record("remoteURL", {repository, remote});
    return answers.remoteURL;
}

std::vector<core::StashEntry> FakeRepository::stashes(const std::string& repository, std::stop_token) {
    record("stashes", {repository});
    return answers.stashes;
}

std::optional<std::string> FakeRepository::pendingMergeMessage(const std::string& repository, std::stop_token) {
    record("pendingMergeMessage", {repository});
    return answers.pendingMergeMessage;
}

std::optional<core::CommitMessage> FakeRepository::headMessage(const std::string& repository, std::stop_token) {
    record("headMessage", {repository});
    return answers.headMessage;
}

// FakeRepository: writes

void FakeRepository::commit(const std::string& repository, const core::CommitMessage& message,
                            const core::CommitSelection& chosen, std::stop_token) {
    record("commit", {repository, message.summary, selection(chosen)});
}

void FakeRepository::amend(const std::string& repository, const core::CommitMessage& message,
                           const core::CommitSelection& chosen, std::stop_token) {
    record("amend", {repository, message.summary, selection(chosen)});
}

std::string FakeRepository::discard(const std::string& repository, const std::vector<core::FileChange>& files,
                                    std::stop_token) {
    record("discard", {repository, paths(files)});
    return answers.discardReference;
}

core::SnapshotRestore FakeRepository::restoreSnapshot(const std::string& repository, const std::string& reference,
                                                      const std::vector<std::string>& paths, std::stop_token) {
    record("restoreSnapshot", {repository, reference, joined(paths)});
    return answers.snapshotRestore;
}

void FakeRepository::stash(const std::string& repository, const std::string& message, std::stop_token) {
    record("stash", {repository, message});
}

void FakeRepository::restoreStash(const std::string& repository, const std::string& commit, std::stop_token) {
    record("restoreStash", {repository, commit});
}

void FakeRepository::dropStash(const std::string& repository, const std::string& commit, std::stop_token) {
    record("dropStash", {repository, commit});
}

core::MergeResult FakeRepository::merge(const std::string& repository, const std::string& branch, std::stop_token) {
    record("merge", {repository, branch});
    return answers.mergeResult;
}

void FakeRepository::abortOperation(const std::string& repository, std::stop_token) {
    record("abortOperation", {repository});
}

core::OperationResult FakeRepository::revert(const std::string& repository, const std::string& commit,
                                             std::stop_token) {
    record("revert", {repository, commit});
    return answers.operationResult;
}

core::OperationResult FakeRepository::cherryPick(const std::string& repository, const std::string& commit,
                                                 std::stop_token) {
    record("cherryPick", {repository, commit});
    return answers.operationResult;
}

void FakeRepository::reset(const std::string& repository, const std::string& target, core::ResetMode mode,
                           std::stop_token) {
    record("reset", {repository, target, mode == core::ResetMode::soft ? "soft" : "mixed"});
}

core::OperationResult FakeRepository::editHistory(const std::string& repository, const core::HistoryEdit& change,
                                                  std::stop_token) {
    record("editHistory", {repository, edit(change)});
    return answers.operationResult;
}

core::OperationResult FakeRepository::rebase(const std::string& repository, const std::string& onto,
                                             std::stop_token) {
    record("rebase", {repository, onto});
    return answers.operationResult;
}

core::OperationResult FakeRepository::continueOperation(const std::string& repository, std::stop_token) {
    record("continueOperation", {repository});
    return answers.operationResult;
}

void FakeRepository::resolve(const std::string& repository, const std::string& path,
                             core::ConflictResolution resolution, std::stop_token) {
    record("resolve", {repository, path, resolution == core::ConflictResolution::mine ? "mine" : "theirs"});
}

void FakeRepository::markResolved(const std::string& repository, const std::vector<std::string>& paths,
                                  std::stop_token) {
    record("markResolved", {repository, joined(paths)});
}

void FakeRepository::ignore(const std::string& repository, const core::FileChange& file, std::stop_token) {
    record("ignore", {repository, file.path});
}

std::vector<core::Tag> FakeRepository::tags(const std::string& repository, std::stop_token) {
    record("tags", {repository});
    return answers.tags;
}

std::vector<core::Worktree> FakeRepository::worktrees(const std::string& repository, std::stop_token) {
    record("worktrees", {repository});
    return answers.worktrees;
}

void FakeRepository::addWorktree(const std::string& repository, const std::string& path, const std::string& branch,
                                 std::stop_token) {
    record("addWorktree", {repository, path, branch});
}

void FakeRepository::removeWorktree(const std::string& repository, const std::string& path, std::stop_token) {
    record("removeWorktree", {repository, path});
}

void FakeRepository::createTag(const std::string& repository, const std::string& name, const std::string& commit,
                               std::stop_token) {
    record("createTag", {repository, name, commit});
}

void FakeRepository::deleteTag(const std::string& repository, const std::string& name, std::stop_token) {
    record("deleteTag", {repository, name});
}

void FakeRepository::switchBranch(const std::string& repository, const std::string& branch, std::stop_token) {
    record("switchBranch", {repository, branch});
}

std::string FakeRepository::checkoutPullRequest(const std::string& repository, std::int64_t number,
                                                const std::string& branch, bool fromFork, std::stop_token) {
    record("checkoutPullRequest", {repository, std::to_string(number), branch, flag(fromFork)});
    return answers.checkedOutBranch.value_or(branch);
}

void FakeRepository::renameBranch(const std::string& repository, const std::string& from, const std::string& to,
                                  std::stop_token) {
    record("renameBranch", {repository, from, to});
}

void FakeRepository::deleteBranch(const std::string& repository, const std::string& name, bool force,
                                  std::stop_token) {
    record("deleteBranch", {repository, name, flag(force)});
}

void FakeRepository::createBranch(const std::string& repository, const std::string& name,
                                  const std::optional<std::string>& startPoint, std::stop_token) {
    record("createBranch", {repository, name, orNone(startPoint)});
}

core::CommitMessage FakeRepository::undoLastCommit(const std::string& repository, std::stop_token) {
    record("undoLastCommit", {repository});
    return answers.undoneMessage;
}

// FakeRegistry

std::vector<std::vector<core::RepositoryEntry>> FakeRegistry::saved() const {
    std::lock_guard lock(mutex_);
    return saved_;
}

std::vector<core::RepositoryEntry> FakeRegistry::load(std::stop_token) {
    record("load");
    return answers.entries;
}

void FakeRegistry::save(const std::vector<core::RepositoryEntry>& entries, std::stop_token) {
    record("save", {std::to_string(entries.size())});
    std::lock_guard lock(mutex_);
    saved_.push_back(entries);
}

// FakeWatcher

std::shared_ptr<FakeWatcher::ChangeStream> FakeWatcher::changes(const std::string& directory) {
    record("changes", {directory});
    auto stream = std::make_shared<ChangeStream>();
    std::lock_guard lock(mutex_);
    streams_.push_back(stream);
    return stream;
}

std::vector<std::shared_ptr<FakeWatcher::ChangeStream>> FakeWatcher::streams() const {
    std::lock_guard lock(mutex_);
    return streams_;
}

// FakePlatform

void FakePlatform::openURL(const std::string& url, std::stop_token) {
    record("openURL", {url});
}

void FakePlatform::reveal(const std::string& path, std::stop_token) {
    record("reveal", {path});
}

void FakePlatform::openInEditor(const std::string& path, std::stop_token) {
    record("openInEditor", {path});
}

void FakePlatform::copyToClipboard(const std::string& text, std::stop_token) {
    record("copyToClipboard", {text});
}

std::optional<std::vector<std::string>> FakePlatform::terminalEditorCommand(const std::string& path) const {
    if (answers.terminalEditor.empty()) return std::nullopt;
    std::vector<std::string> command = answers.terminalEditor;
    command.push_back(path);
    return command;
}

// FakeProcessRunner

std::vector<core::ProcessSpec> FakeProcessRunner::specs() const {
    std::lock_guard lock(mutex_);
    return specs_;
}

core::ProcessResult FakeProcessRunner::run(const core::ProcessSpec& spec, std::stop_token) {
    {
        std::lock_guard lock(mutex_);
        specs_.push_back(spec);
    }
    std::vector<std::string> arguments{spec.executable};
    arguments.insert(arguments.end(), spec.arguments.begin(), spec.arguments.end());
    record("run", arguments);
    return answers.result;
}

// FakeFileStore

void FakeFileStore::put(const std::string& path, std::string_view content) {
    std::lock_guard lock(mutex_);
    files_[path] = core::toBytes(content);
}

std::optional<std::string> FakeFileStore::content(const std::string& path) const {
    std::lock_guard lock(mutex_);
    auto found = files_.find(path);
    if (found == files_.end()) return std::nullopt;
    return std::string(core::byteView(found->second));
}

void FakeFileStore::addDirectory(const std::string& path) {
    std::lock_guard lock(mutex_);
    directories_.insert(path);
}

bool FakeFileStore::fileExists(const std::string& path) const {
    std::lock_guard lock(mutex_);
    return files_.contains(path) || directories_.contains(path);
}

std::optional<core::Bytes> FakeFileStore::readFile(const std::string& path) const {
    record("readFile", {path});
    std::lock_guard lock(mutex_);
    auto found = files_.find(path);
    if (found == files_.end()) return std::nullopt;
    return found->second;
}

void FakeFileStore::writeFile(const std::string& path, const core::Bytes& bytes) const {
    record("writeFile", {path});
    std::lock_guard lock(mutex_);
    files_[path] = bytes;
}

std::optional<core::Bytes> FakeFileStore::readFileInWorkingTree(const std::string& root,
                                                                const std::string& path) const {
    return readFile(root + "/" + path);
}

void FakeFileStore::writeFileInWorkingTree(const std::string& root, const std::string& path,
                                           const core::Bytes& bytes) const {
    writeFile(root + "/" + path, bytes);
}

void FakeFileStore::removeItem(const std::string& path) const {
    record("removeItem", {path});
    std::lock_guard lock(mutex_);
    files_.erase(path);
    directories_.erase(path);
}

void FakeFileStore::createDirectory(const std::string& path) const {
    record("createDirectory", {path});
    std::lock_guard lock(mutex_);
    directories_.insert(path);
}

std::vector<std::string> FakeFileStore::contentsOfDirectory(const std::string& path) const {
    std::lock_guard lock(mutex_);
    const std::string prefix = path.ends_with("/") ? path : path + "/";
    std::set<std::string> names;
    auto collect = [&](const std::string& entry) {
        if (entry.rfind(prefix, 0) != 0 || entry.size() == prefix.size()) return;
        names.insert(entry.substr(prefix.size(), entry.find('/', prefix.size()) - prefix.size()));
    };
    for (const auto& [file, bytes] : files_) collect(file);
    for (const auto& directory : directories_) collect(directory);
    return std::vector<std::string>(names.begin(), names.end());
}

bool FakeFileStore::isDirectory(const std::string& path) const {
    std::lock_guard lock(mutex_);
    return directories_.contains(path);
}

void FakeFileStore::addLink(const std::string& link, const std::string& target) {
    std::lock_guard lock(mutex_);
    links_[link] = target;
}

std::string FakeFileStore::canonicalPath(const std::string& path) const {
    auto tidy = [](const std::string& text) {
        std::string result = std::filesystem::path(text).lexically_normal().string();
        while (result.size() > 1 && result.ends_with('/')) result.pop_back();
        return result;
    };
    std::lock_guard lock(mutex_);
    std::string result = tidy(path);
    // Replaces a leading link by its target, a few times for links to links.
    for (int round = 0; round < 8; ++round) {
        const auto link = std::find_if(links_.begin(), links_.end(), [&](const auto& entry) {
            return result == entry.first || result.starts_with(entry.first + "/");
        });
        if (link == links_.end()) break;
        result = tidy(link->second + result.substr(link->first.size()));
    }
    return result;
}

// FakeCredentialBroker

std::shared_ptr<core::Channel<core::CredentialPrompt>> FakeCredentialBroker::prompts() {
    record("prompts");
    return stream_;
}

void FakeCredentialBroker::respond(std::int64_t id, std::optional<std::string> answer) {
    record("respond", {std::to_string(id), orNone(answer)});
    std::lock_guard lock(mutex_);
    responses_.emplace_back(id, std::move(answer));
}

std::vector<FakeCredentialBroker::Response> FakeCredentialBroker::responses() const {
    std::lock_guard lock(mutex_);
    return responses_;
}

// FakeGitHub

std::vector<std::string> FakeGitHub::tokens() const {
    std::lock_guard lock(mutex_);
    return tokens_;
}

void FakeGitHub::keepToken(const std::string& token) {
    std::lock_guard lock(mutex_);
    tokens_.push_back(token);
}

core::DeviceCode FakeGitHub::requestDeviceCode(std::stop_token) {
    record("requestDeviceCode");
    return answers.deviceCode;
}

core::DeviceTokenStatus FakeGitHub::pollAccessToken(const std::string& deviceCode, std::stop_token) {
    record("pollAccessToken", {deviceCode});
    std::lock_guard lock(mutex_);
    if (answers.tokenStatuses.empty()) return core::DeviceTokenStatus::pending();
    auto status = answers.tokenStatuses.front();
    if (answers.tokenStatuses.size() > 1) answers.tokenStatuses.pop_front();
    return status;
}

core::GitHubUser FakeGitHub::currentUser(const std::string& token, std::stop_token) {
    keepToken(token);
    record("currentUser");
    return answers.user;
}

std::vector<core::PullRequest> FakeGitHub::pullRequests(const std::string& owner, const std::string& name,
                                                        const std::string& token, std::stop_token) {
    keepToken(token);
    record("pullRequests", {owner, name});
    return answers.pullRequests;
}

std::vector<core::GitHubRepository> FakeGitHub::repositories(const std::string& token, std::stop_token) {
    keepToken(token);
    record("repositories");
    return answers.repositories;
}

core::CheckSummary FakeGitHub::checks(const std::string& owner, const std::string& name, const std::string& ref,
                                      const std::string& token, std::stop_token) {
    keepToken(token);
    record("checks", {owner, name, ref});
    return answers.checks;
}

core::GitHubRepository FakeGitHub::createRepository(const std::string& name, const std::string& description,
                                                    bool isPrivate, const std::string& token, std::stop_token) {
    keepToken(token);
    record("createRepository", {name, description, flag(isPrivate)});
    if (!answers.createdRepository.fullName.empty()) return answers.createdRepository;
    core::GitHubRepository created;
    created.fullName = answers.user.login + "/" + name;
    created.isPrivate = isPrivate;
    return created;
}

// FakeAccountStore

std::optional<core::GitHubSession> FakeAccountStore::session() const {
    std::lock_guard lock(mutex_);
    return session_;
}

void FakeAccountStore::setSession(std::optional<core::GitHubSession> session) {
    std::lock_guard lock(mutex_);
    session_ = std::move(session);
}

std::optional<core::GitHubSession> FakeAccountStore::load(std::stop_token) {
    record("load");
    return session();
}

void FakeAccountStore::save(const core::GitHubSession& session, std::stop_token) {
    record("save", {session.login});
    setSession(session);
}

void FakeAccountStore::remove(std::stop_token) {
    record("remove");
    setSession(std::nullopt);
}

// FakePorts

features::Dependencies FakePorts::dependencies() const {
    return features::Dependencies{git,   repository, registry,    watcher, platform, process,
                                  clock, files,      credentials, github,  accounts};
}

features::Dependencies makeFakeDependencies() {
    return FakePorts{}.dependencies();
}

}  // namespace tarv::testing
