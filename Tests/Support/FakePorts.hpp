#pragma once

#include <cstdint>
#include <deque>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

#include "Support/TestClock.hpp"
#include "TarvCore/Concurrency/Channel.hpp"
#include "TarvCore/Models/Bytes.hpp"
#include "TarvCore/Models/CheckSummary.hpp"
#include "TarvCore/Models/CommitMessage.hpp"
#include "TarvCore/Models/DeviceCode.hpp"
#include "TarvCore/Models/DeviceTokenStatus.hpp"
#include "TarvCore/Models/Diff.hpp"
#include "TarvCore/Models/EnvironmentReport.hpp"
#include "TarvCore/Models/GitHubRepository.hpp"
#include "TarvCore/Models/GitHubSession.hpp"
#include "TarvCore/Models/GitHubUser.hpp"
#include "TarvCore/Models/MergeResult.hpp"
#include "TarvCore/Models/OperationResult.hpp"
#include "TarvCore/Models/ProcessResult.hpp"
#include "TarvCore/Models/ProcessSpec.hpp"
#include "TarvCore/Models/PullRequest.hpp"
#include "TarvCore/Models/RepositoryEntry.hpp"
#include "TarvCore/Ports/AccountStore.hpp"
#include "TarvCore/Ports/CredentialBroker.hpp"
#include "TarvCore/Ports/FileStore.hpp"
#include "TarvCore/Ports/FileWatching.hpp"
#include "TarvCore/Ports/GitClient.hpp"
#include "TarvCore/Ports/GitHubClient.hpp"
#include "TarvCore/Ports/GitRepositoryClient.hpp"
#include "TarvCore/Ports/PlatformServices.hpp"
#include "TarvCore/Ports/ProcessRunning.hpp"
#include "TarvCore/Ports/RepositoryRegistry.hpp"
#include "TarvFeatures/Architecture/Dependencies.hpp"

namespace tarv::testing {

// Fakes of the eleven ports for reducer and job tests. Each answers at once
// with what the test put in its `answers` (set them before the jobs that read
// them run), records every call as one line of text, and can be told to fail
// an operation:
//
//   FakePorts fakes;
//   fakes.repository->answers.branches = {core::Branch{.name = "main"}};
//   fakes.repository->fail("merge", core::GitError::invalidArgument("no"));
//   AppReducer reducer(fakes.dependencies());
//   ... run the job ...
//   EXPECT_EQ(fakes.repository->calls(), (std::vector<std::string>{"merge /repo topic"}));
//
// A call line is the operation's name and its arguments separated by single
// blanks: a list as its elements joined by ",", a file change as its path, a
// missing optional as "-", a commit message as its summary. The line is
// recorded before a set failure is thrown. Safe to call from any thread.
class FakePort {
public:
    virtual ~FakePort() = default;

    // Every call so far, in order.
    std::vector<std::string> calls() const;
    // The calls of one operation (the lines that start with its name).
    std::vector<std::string> calls(const std::string& operation) const;
    void clearCalls();

    // Later calls of `operation` throw `error` until `succeed(operation)`.
    template <class Error>
    void fail(const std::string& operation, Error error) {
        failWith(operation, std::make_exception_ptr(std::move(error)));
    }
    void failWith(const std::string& operation, std::exception_ptr error);
    void succeed(const std::string& operation);

protected:
    // Records the call; throws the failure set for its operation, if any.
    void record(const std::string& operation, const std::vector<std::string>& arguments = {}) const;

private:
    mutable std::mutex mutex_;
    mutable std::vector<std::string> calls_;
    std::map<std::string, std::exception_ptr> failures_;
};

class FakeGitClient final : public core::GitClient, public FakePort {
public:
    struct Answers {
        core::EnvironmentReport report;
    } answers;

    core::EnvironmentReport probeEnvironment(std::stop_token stop) override;
    void setGlobalConfig(const std::string& key, const std::string& value, std::stop_token stop) override;
};

// Not final: a test may override single operations (to see the stop token a
// job hands over, say) and forward to these.
class FakeRepository : public core::GitRepositoryClient, public FakePort {
public:
    struct Answers {
        // repositoryRoot(path) answers this for every path.
        std::optional<std::string> repositoryRoot;
        // repositoryExists(path) is true unless the path is listed here.
        std::set<std::string> missingRepositories;
        core::WorkingTreeStatus status;
        // diff(repository, file), by the file's path; an empty diff otherwise.
        std::map<std::string, core::Diff> diffs;
        // history(repository, skip, limit) answers the commits from `skip`,
        // at most `limit` of them.
        std::vector<core::Commit> commits;
        // files(commit, repository), by commit; none otherwise.
        std::map<std::string, std::vector<core::CommitFile>> commitFiles;
        core::Diff commitDiff;
        std::vector<core::Branch> branches;
        std::optional<std::string> remoteURL;
        std::vector<core::StashEntry> stashes;
        std::optional<std::string> pendingMergeMessage;
        std::optional<core::CommitMessage> headMessage;
        std::vector<core::Tag> tags;
        std::vector<core::Worktree> worktrees;
        std::string discardReference = "refs/tarv/snapshots/1";
        core::SnapshotRestore snapshotRestore;
        core::MergeResult mergeResult = core::MergeResult::merged();
        // What revert, cherryPick, editHistory, rebase and continueOperation
        // answer.
        core::OperationResult operationResult = core::OperationResult::completed();
        // What checkoutPullRequest answers; the branch it was given when none.
        std::optional<std::string> checkedOutBranch;
        core::CommitMessage undoneMessage;
    } answers;

    // RemoteSyncing
    void fetch(const std::string& repository, std::stop_token stop) override;
    void pull(const std::string& repository, std::stop_token stop) override;
    void push(const std::string& repository, const std::string& branch, bool setUpstream,
              std::stop_token stop) override;
    void clone(const std::string& url, const std::string& directory, std::stop_token stop) override;
    void initRepository(const std::string& directory, std::stop_token stop) override;
    void addRemote(const std::string& repository, const std::string& name, const std::string& url,
                   std::stop_token stop) override;
    void setRemoteURL(const std::string& repository, const std::string& name, const std::string& url,
                      std::stop_token stop) override;

    // RepositoryReading
    std::optional<std::string> repositoryRoot(const std::string& path, std::stop_token stop) override;
    bool repositoryExists(const std::string& path, std::stop_token stop) override;
    core::WorkingTreeStatus status(const std::string& repository, std::stop_token stop) override;
    core::Diff diff(const std::string& repository, const core::FileChange& file, std::stop_token stop) override;
    std::vector<core::Commit> history(const std::string& repository, std::int64_t skip, std::int64_t limit,
                                      std::stop_token stop) override;
    std::vector<core::CommitFile> files(const std::string& commit, const std::string& repository,
                                        std::stop_token stop) override;
    core::Diff diffOfCommit(const std::string& commit, const std::string& path, const std::string& repository,
                            std::stop_token stop) override;
    std::vector<core::Branch> branches(const std::string& repository, std::stop_token stop) override;
    std::optional<std::string> remoteURL(const std::string& repository, const std::string& remote,
                                         std::stop_token stop) override;
    std::vector<core::StashEntry> stashes(const std::string& repository, std::stop_token stop) override;
    std::optional<std::string> pendingMergeMessage(const std::string& repository, std::stop_token stop) override;
    std::optional<core::CommitMessage> headMessage(const std::string& repository, std::stop_token stop) override;

    // WorkingTreeWriting
    void commit(const std::string& repository, const core::CommitMessage& message,
                const core::CommitSelection& selection, std::stop_token stop) override;
    void amend(const std::string& repository, const core::CommitMessage& message,
               const core::CommitSelection& selection, std::stop_token stop) override;
    std::string discard(const std::string& repository, const std::vector<core::FileChange>& files,
                        std::stop_token stop) override;
    core::SnapshotRestore restoreSnapshot(const std::string& repository, const std::string& reference,
                                          const std::vector<std::string>& paths, std::stop_token stop) override;
    void stash(const std::string& repository, const std::string& message, std::stop_token stop) override;
    void restoreStash(const std::string& repository, const std::string& commit, std::stop_token stop) override;
    void dropStash(const std::string& repository, const std::string& commit, std::stop_token stop) override;
    core::MergeResult merge(const std::string& repository, const std::string& branch, std::stop_token stop) override;
    void abortOperation(const std::string& repository, std::stop_token stop) override;
    core::OperationResult revert(const std::string& repository, const std::string& commit,
                                 std::stop_token stop) override;
    core::OperationResult cherryPick(const std::string& repository, const std::string& commit,
                                     std::stop_token stop) override;
    void reset(const std::string& repository, const std::string& target, core::ResetMode mode,
               std::stop_token stop) override;
    core::OperationResult editHistory(const std::string& repository, const core::HistoryEdit& edit,
                                      std::stop_token stop) override;
    core::OperationResult rebase(const std::string& repository, const std::string& onto,
                                 std::stop_token stop) override;
    core::OperationResult continueOperation(const std::string& repository, std::stop_token stop) override;
    void resolve(const std::string& repository, const std::string& path, core::ConflictResolution resolution,
                 std::stop_token stop) override;
    void markResolved(const std::string& repository, const std::vector<std::string>& paths,
                      std::stop_token stop) override;
    void ignore(const std::string& repository, const core::FileChange& file, std::stop_token stop) override;
    std::vector<core::Tag> tags(const std::string& repository, std::stop_token stop) override;
    std::vector<core::Worktree> worktrees(const std::string& repository, std::stop_token stop) override;
    void addWorktree(const std::string& repository, const std::string& path, const std::string& branch,
                     std::stop_token stop) override;
    void removeWorktree(const std::string& repository, const std::string& path, std::stop_token stop) override;
    void createTag(const std::string& repository, const std::string& name, const std::string& commit,
                   std::stop_token stop) override;
    void deleteTag(const std::string& repository, const std::string& name, std::stop_token stop) override;
    void switchBranch(const std::string& repository, const std::string& branch, std::stop_token stop) override;
    std::string checkoutPullRequest(const std::string& repository, std::int64_t number, const std::string& branch,
                                    bool fromFork, std::stop_token stop) override;
    void renameBranch(const std::string& repository, const std::string& from, const std::string& to,
                      std::stop_token stop) override;
    void deleteBranch(const std::string& repository, const std::string& name, bool force,
                      std::stop_token stop) override;
    void createBranch(const std::string& repository, const std::string& name,
                      const std::optional<std::string>& startPoint, std::stop_token stop) override;
    core::CommitMessage undoLastCommit(const std::string& repository, std::stop_token stop) override;
};

class FakeRegistry final : public core::RepositoryRegistry, public FakePort {
public:
    struct Answers {
        std::vector<core::RepositoryEntry> entries;
    } answers;
    // Every list saved, in order ("save" records the number of entries).
    std::vector<std::vector<core::RepositoryEntry>> saved() const;

    std::vector<core::RepositoryEntry> load(std::stop_token stop) override;
    void save(const std::vector<core::RepositoryEntry>& entries, std::stop_token stop) override;

private:
    mutable std::mutex mutex_;
    std::vector<std::vector<core::RepositoryEntry>> saved_;
};

// Hands out one stream per `changes` call; the test yields changes into it
// or finishes it.
class FakeWatcher final : public core::FileWatching, public FakePort {
public:
    std::shared_ptr<ChangeStream> changes(const std::string& directory) override;
    // The streams handed out, in order.
    std::vector<std::shared_ptr<ChangeStream>> streams() const;

private:
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<ChangeStream>> streams_;
};

class FakePlatform final : public core::PlatformServices, public FakePort {
public:
    struct Answers {
        // The editor words that `terminalEditorCommand` puts before the
        // path; empty: the editor opens on the desktop.
        std::vector<std::string> terminalEditor;
    } answers;

    void openURL(const std::string& url, std::stop_token stop) override;
    void reveal(const std::string& path, std::stop_token stop) override;
    void openInEditor(const std::string& path, std::stop_token stop) override;
    void copyToClipboard(const std::string& text, std::stop_token stop) override;
    // Not recorded: a query.
    std::optional<std::vector<std::string>> terminalEditorCommand(const std::string& path) const override;
};

class FakeProcessRunner final : public core::ProcessRunning, public FakePort {
public:
    struct Answers {
        core::ProcessResult result;
    } answers;
    // "run" records the executable followed by the arguments.
    std::vector<core::ProcessSpec> specs() const;

    core::ProcessResult run(const core::ProcessSpec& spec, std::stop_token stop) override;

private:
    mutable std::mutex mutex_;
    std::vector<core::ProcessSpec> specs_;
};

// An in-memory file store. Only reads and writes are recorded ("readFile",
// "writeFile", "removeItem", "createDirectory"); queries are not.
class FakeFileStore final : public core::FileStore, public FakePort {
public:
    // Puts a file (and nothing else) in place.
    void put(const std::string& path, std::string_view content);
    // The content of a file, none when it does not exist.
    std::optional<std::string> content(const std::string& path) const;
    void addDirectory(const std::string& path);
    // `link` is a symbolic link to the folder `target` (both absolute) for
    // canonicalPath, which otherwise only tidies the path ("." and "..",
    // repeated and trailing "/").
    void addLink(const std::string& link, const std::string& target);

    std::string homeDirectory() const override { return "/home/test"; }
    std::string temporaryDirectory() const override { return "/tmp/test"; }
    bool fileExists(const std::string& path) const override;
    std::optional<core::Bytes> readFile(const std::string& path) const override;
    void writeFile(const std::string& path, const core::Bytes& bytes) const override;
    // The working-tree forms are readFile and writeFile of root + "/" +
    // path (and recorded as those): the fake has no links to refuse.
    std::optional<core::Bytes> readFileInWorkingTree(const std::string& root, const std::string& path) const override;
    void writeFileInWorkingTree(const std::string& root, const std::string& path,
                                const core::Bytes& bytes) const override;
    void removeItem(const std::string& path) const override;
    void createDirectory(const std::string& path) const override;
    std::vector<std::string> contentsOfDirectory(const std::string& path) const override;
    bool isDirectory(const std::string& path) const override;
    std::string canonicalPath(const std::string& path) const override;

private:
    mutable std::mutex mutex_;
    mutable std::map<std::string, core::Bytes> files_;
    mutable std::set<std::string> directories_;
    std::map<std::string, std::string> links_;
};

// One prompt stream for the whole run, as the live broker has; the test
// yields prompts into `stream()`. Answers are recorded as
// "respond <id> <answer>" ("-" for none) and kept in `responses()`.
class FakeCredentialBroker final : public core::CredentialBroker, public FakePort {
public:
    using Response = std::pair<std::int64_t, std::optional<std::string>>;

    std::shared_ptr<core::Channel<core::CredentialPrompt>> prompts() override;
    void respond(std::int64_t id, std::optional<std::string> answer) override;

    const std::shared_ptr<core::Channel<core::CredentialPrompt>>& stream() const { return stream_; }
    std::vector<Response> responses() const;

private:
    std::shared_ptr<core::Channel<core::CredentialPrompt>> stream_ = core::Channel<core::CredentialPrompt>::make();
    mutable std::mutex mutex_;
    std::vector<Response> responses_;
};

// Tokens are not recorded, only the other arguments.
class FakeGitHub final : public core::GitHubClient, public FakePort {
public:
    struct Answers {
        core::DeviceCode deviceCode;
        // pollAccessToken answers these in turn, then repeats the last;
        // pending when empty.
        std::deque<core::DeviceTokenStatus> tokenStatuses;
        core::GitHubUser user;
        std::vector<core::PullRequest> pullRequests;
        std::vector<core::GitHubRepository> repositories;
        core::CheckSummary checks;
        // createRepository answers this with the name and privacy it was
        // given when the full name is empty.
        core::GitHubRepository createdRepository;
    } answers;
    // The tokens the calls were given, in order.
    std::vector<std::string> tokens() const;

    core::DeviceCode requestDeviceCode(std::stop_token stop) override;
    core::DeviceTokenStatus pollAccessToken(const std::string& deviceCode, std::stop_token stop) override;
    core::GitHubUser currentUser(const std::string& token, std::stop_token stop) override;
    std::vector<core::PullRequest> pullRequests(const std::string& owner, const std::string& name,
                                                const std::string& token, std::stop_token stop) override;
    std::vector<core::GitHubRepository> repositories(const std::string& token, std::stop_token stop) override;
    core::CheckSummary checks(const std::string& owner, const std::string& name, const std::string& ref,
                              const std::string& token, std::stop_token stop) override;
    core::GitHubRepository createRepository(const std::string& name, const std::string& description, bool isPrivate,
                                            const std::string& token, std::stop_token stop) override;

private:
    void keepToken(const std::string& token);
    mutable std::mutex mutex_;
    std::vector<std::string> tokens_;
};

// Keeps one session: `save` replaces it, `remove` clears it.
class FakeAccountStore final : public core::AccountStore, public FakePort {
public:
    std::optional<core::GitHubSession> session() const;
    void setSession(std::optional<core::GitHubSession> session);

    std::optional<core::GitHubSession> load(std::stop_token stop) override;
    void save(const core::GitHubSession& session, std::stop_token stop) override;
    void remove(std::stop_token stop) override;

private:
    mutable std::mutex mutex_;
    std::optional<core::GitHubSession> session_;
};

// One fake of each port, and the Dependencies made of them. The clock is a
// TestClock whose sleeps return at once (so toast and fetch timers end
// immediately); switch it to `SleepMode::wait` to hold them.
struct FakePorts {
    std::shared_ptr<FakeGitClient> git = std::make_shared<FakeGitClient>();
    std::shared_ptr<FakeRepository> repository = std::make_shared<FakeRepository>();
    std::shared_ptr<FakeRegistry> registry = std::make_shared<FakeRegistry>();
    std::shared_ptr<FakeWatcher> watcher = std::make_shared<FakeWatcher>();
    std::shared_ptr<FakePlatform> platform = std::make_shared<FakePlatform>();
    std::shared_ptr<FakeProcessRunner> process = std::make_shared<FakeProcessRunner>();
    std::shared_ptr<TestClock> clock = std::make_shared<TestClock>();
    std::shared_ptr<FakeFileStore> files = std::make_shared<FakeFileStore>();
    std::shared_ptr<FakeCredentialBroker> credentials = std::make_shared<FakeCredentialBroker>();
    std::shared_ptr<FakeGitHub> github = std::make_shared<FakeGitHub>();
    std::shared_ptr<FakeAccountStore> accounts = std::make_shared<FakeAccountStore>();

    features::Dependencies dependencies() const;
};

// Dependencies from fresh fakes, for tests that never look at them.
features::Dependencies makeFakeDependencies();

}  // namespace tarv::testing
