// The write commands' git command lines, checked on a scripted runner: what
// runs, in which order, with which environment, and what runs nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

#include "Support/GitScriptedRunner.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvCore/Errors/RemoteFailure.hpp"
#include "TarvEngine/Commands/GitRemoteCommands.hpp"
#include "TarvEngine/Commands/GitWriteCommands.hpp"
#include "TarvEngine/Commands/PathChunks.hpp"
#include "TarvEngineTests/Writes/WriteTestSupport.hpp"

namespace tarv::engine {
namespace {

using tarv::testing::GitScriptedRunner;
using testing::refusal;
using testing::runsOf;
using namespace std::chrono_literals;
using Arguments = std::vector<std::string>;

struct WriteCommandLinesTest : ::testing::Test {
    std::shared_ptr<GitScriptedRunner> runner = std::make_shared<GitScriptedRunner>();
    GitExecutor executor{runner, GitInstallation{"/usr/bin/git", core::GitVersion{2, 39, 5}}};
    GitWriteCommands writes{executor};
    GitRemoteCommands remotes{executor};
    std::stop_token none;

    // The recorded arguments without the base arguments.
    std::vector<Arguments> commands() const {
        std::vector<Arguments> out;
        const auto base = static_cast<std::ptrdiff_t>(GitEnvironment::baseArguments().size());
        for (const auto& arguments : runner->argumentLists())
            out.emplace_back(arguments.begin() + base, arguments.end());
        return out;
    }

    // Answers each command whose arguments start with a key with that result.
    void answer(std::vector<std::pair<Arguments, core::ProcessResult>> answers) {
        runner->setScript([answers = std::move(answers)](const core::ProcessSpec& spec, std::stop_token) {
            const auto base = static_cast<std::ptrdiff_t>(GitEnvironment::baseArguments().size());
            for (const auto& [words, result] : answers) {
                if (spec.arguments.size() >= words.size() + static_cast<std::size_t>(base) &&
                    std::equal(words.begin(), words.end(), spec.arguments.begin() + base)) {
                    return result;
                }
            }
            return core::ProcessResult{};
        });
    }
};

TEST_F(WriteCommandLinesTest, RefusalsRunNothing) {
    const core::CommitSelection some{{"a.txt"}};
    const std::vector<std::pair<std::string, std::function<void()>>> cases{
        {"No hay archivos incluidos en el commit", [&] { writes.commit("/r", {"Fix"}, {}, false, none); }},
        {"El resumen del commit es obligatorio", [&] { writes.commit("/r", {" \n\t\u3000"}, some, false, none); }},
        {"El resumen del commit es obligatorio", [&] { writes.commit("/r", {"\n"}, {}, true, none); }},
        {"Revisión inválida: -x", [&] { writes.deleteBranch("/r", "-x", true, none); }},
        {"Revisión inválida: a b", [&] { writes.deleteTag("/r", "a b", none); }},
        {"Revisión inválida: --force", [&] { writes.switchBranch("/r", "--force", none); }},
        {"Revisión inválida: a\u00a0b", [&] { writes.switchBranch("/r", "a\u00a0b", none); }},
        {"Revisión inválida: --delete", [&] { remotes.push("/r", "--delete", true, none); }},
        {"Revisión inválida: origin/x y", [&] { writes.merge("/r", "origin/x y", none); }},
        {"Nombre de rama inválido: x y", [&] { writes.merge("/r", "x y", none); }},
        {"Revisión inválida: ", [&] { writes.rebase("/r", "", none); }},
        {"Nombre de rama inválido: bad..name", [&] { writes.addWorktree("/r", "/w", "bad..name", none); }},
        {"Revisión inválida: -x",
         [&] { writes.editHistory("/r", core::HistoryEdit::moveUp("-x"), testing::DiskFiles{}, none); }},
        {"Número de PR inválido: 0", [&] { remotes.checkoutPullRequest("/r", 0, "b", false, none); }},
        {"Número de PR inválido: -3", [&] { remotes.checkoutPullRequest("/r", -3, "b", true, none); }},
        {"Nombre de rama inválido: a b", [&] { remotes.checkoutPullRequest("/r", 4, "a b", false, none); }},
        {"Remoto inválido: origin -x", [&] { remotes.addRemote("/r", "origin", "-x", none); }},
        {"Remoto inválido: origin ", [&] { remotes.setRemoteURL("/r", "origin", "", none); }},
        {"Remoto inválido: a b https://h/x", [&] { remotes.addRemote("/r", "a b", "https://h/x", none); }},
        {"No se puede ignorar una ruta que contiene un salto de línea",
         [&] {
             writes.ignore("/r", {"x\nsecret", std::nullopt, core::ChangeKind::modified}, testing::DiskFiles{}, none);
         }},
    };
    for (const auto& [expected, action] : cases) {
        EXPECT_EQ(refusal(action), expected);
    }
    EXPECT_TRUE(runner->specs().empty());
}

// A scripted repository in `folder` for the commit: the merge and HEAD
// probes answer `merge` and `head` (none: unborn), the git directory is
// the folder's .git, and "read-tree" creates the index GIT_INDEX_FILE names,
// as git would.
void scriptCommitRepository(GitScriptedRunner& runner, const tarv::testing::TempGitRepo& folder, bool merge,
                            std::optional<std::string> head) {
    std::filesystem::create_directories(folder.path() + "/.git");
    runner.setScript([&folder, merge, head](const core::ProcessSpec& spec, std::stop_token) {
        const Arguments words(spec.arguments.begin() + static_cast<std::ptrdiff_t>(GitEnvironment::baseArguments().size()),
                              spec.arguments.end());
        if (words == Arguments{"rev-parse", "-q", "--verify", "MERGE_HEAD"}) return GitScriptedRunner::result(merge ? 0 : 1);
        if (words == Arguments{"rev-parse", "--verify", "-q", "HEAD"}) {
            return head ? GitScriptedRunner::result(0, *head + "\n") : GitScriptedRunner::result(1);
        }
        if (words == Arguments{"rev-parse", "--absolute-git-dir"}) return GitScriptedRunner::result(0, folder.path() + "/.git\n");
        if (words == Arguments{"hash-object", "-t", "tree", "/dev/null"}) return GitScriptedRunner::result(0, "4b825dc\n");
        if (words.front() == "read-tree") std::ofstream(spec.environment.at("GIT_INDEX_FILE")) << "index";
        return GitScriptedRunner::result(0);
    });
}

TEST_F(WriteCommandLinesTest, CommitBuildsAPrivateIndexAndCommitsFromStandardInput) {
    // The working tree decides between adding a path and recording it gone.
    tarv::testing::TempGitRepo folder(tarv::testing::TempGitRepo::Start::emptyFolder);
    scriptCommitRepository(*runner, folder, false, "abc123");
    core::CommitSelection selection;
    std::string listed;
    for (int i = 0; i < 1000; ++i) {
        selection.wholePaths.push_back("f" + std::to_string(i));
        folder.writeFile(selection.wholePaths.back(), "");
        listed += selection.wholePaths.back() + '\0';
    }
    selection.wholePaths.push_back("gone.txt");
    // Only a context line chosen: nothing to apply for this file.
    selection.partials.push_back(
        {"p.txt", false, core::Diff{false, {{"@@", 1, 1, 1, 1, {{core::DiffLine::Kind::context, "x"}}}}}, {{0, 0}}});
    writes.commit(folder.path(), core::CommitMessage{"Fix", "Body"}, selection, false, none);

    EXPECT_EQ(commands(), (std::vector<Arguments>{
                              {"rev-parse", "-q", "--verify", "MERGE_HEAD"},
                              {"rev-parse", "--verify", "-q", "HEAD"},
                              {"rev-parse", "--absolute-git-dir"},
                              {"read-tree", "--reset", "abc123"},
                              {"diff", "--cached", "--name-status", "-z", "-M", "--diff-filter=R", "HEAD"},
                              {"add", "-A", "-f", "--pathspec-from-file=-", "--pathspec-file-nul"},
                              {"rm", "--cached", "-r", "-f", "-q", "--ignore-unmatch", "--pathspec-from-file=-",
                               "--pathspec-file-nul"},
                              {"diff-index", "--cached", "-z", "--no-renames", "--raw", "abc123"},
                              {"commit", "-q", "-F", "-"},
                          }));
    const auto specs = runner->specs();
    const std::string privateIndex = specs[3].environment.at("GIT_INDEX_FILE");
    EXPECT_TRUE(privateIndex.starts_with(folder.path() + "/.git/tarv-commit-index-")) << privateIndex;
    for (std::size_t i : {5, 6, 8}) EXPECT_EQ(specs[i].environment.at("GIT_INDEX_FILE"), privateIndex) << i;
    for (std::size_t i : {4, 7}) EXPECT_EQ(specs[i].environment.count("GIT_INDEX_FILE"), 0u) << i;
    EXPECT_EQ(specs[5].stdin, core::toBytes(listed));
    EXPECT_EQ(specs[5].environment.at("GIT_LITERAL_PATHSPECS"), "1");
    EXPECT_EQ(specs[5].environment.count("GIT_OPTIONAL_LOCKS"), 0u);
    EXPECT_EQ(specs[6].stdin, core::toBytes(std::string("gone.txt", 8) + '\0'));
    EXPECT_EQ(specs[8].stdin, core::toBytes("Fix\n\nBody"));
    // The private index became the user's; no lock is left.
    EXPECT_EQ(folder.readFile(".git/index"), "index");
    EXPECT_FALSE(folder.exists(".git/index.lock"));
    EXPECT_FALSE(std::filesystem::exists(privateIndex));
}

TEST_F(WriteCommandLinesTest, AmendOfAnUnbornBranchStartsFromAnEmptyIndex) {
    tarv::testing::TempGitRepo folder(tarv::testing::TempGitRepo::Start::emptyFolder);
    scriptCommitRepository(*runner, folder, false, std::nullopt);
    writes.commit(folder.path(), {"New message"}, {}, true, none);
    EXPECT_EQ(commands(), (std::vector<Arguments>{{"rev-parse", "-q", "--verify", "MERGE_HEAD"},
                                                  {"rev-parse", "--verify", "-q", "HEAD"},
                                                  {"rev-parse", "--absolute-git-dir"},
                                                  {"read-tree", "--empty"},
                                                  {"hash-object", "-t", "tree", "/dev/null"},
                                                  {"diff-index", "--cached", "-z", "--no-renames", "--raw", "4b825dc"},
                                                  {"commit", "-q", "--amend", "-F", "-"}}));
}

// While a merge is in progress the merge's own index is used: no private
// index, nothing read over it.
TEST_F(WriteCommandLinesTest, AMergeInProgressCommitsTheUsersIndex) {
    tarv::testing::TempGitRepo folder(tarv::testing::TempGitRepo::Start::emptyFolder);
    scriptCommitRepository(*runner, folder, true, "abc123");
    folder.writeFile("c.txt", "resolved\n");
    writes.commit(folder.path(), {"Merge"}, core::CommitSelection{{"c.txt"}}, false, none);
    EXPECT_EQ(commands(), (std::vector<Arguments>{{"rev-parse", "-q", "--verify", "MERGE_HEAD"},
                                                  {"add", "-A", "-f", "--pathspec-from-file=-", "--pathspec-file-nul"},
                                                  {"commit", "-q", "-F", "-"}}));
    for (const auto& spec : runner->specs()) EXPECT_EQ(spec.environment.count("GIT_INDEX_FILE"), 0u);
}

TEST_F(WriteCommandLinesTest, PathGroupsStayWithinTheArgumentBudget) {
    std::vector<std::string> longPaths(1000, std::string(2000, 'x'));
    auto groups = PathChunks::split(longPaths);
    std::size_t total = 0;
    for (auto group : groups) {
        std::size_t bytes = 0;
        for (const auto& path : group) bytes += path.size() + 1 + sizeof(char*);
        EXPECT_LE(bytes, PathChunks::maxBytes);
        total += group.size();
    }
    EXPECT_EQ(total, 1000u);
    EXPECT_GT(groups.size(), 3u);

    std::vector<std::string> shortPaths(401, "a");
    EXPECT_EQ(PathChunks::split(shortPaths).size(), 2u);
    EXPECT_EQ(PathChunks::split(std::vector<std::string>(400, "a")).size(), 1u);
    EXPECT_TRUE(PathChunks::split(std::vector<std::string>{}).empty());
    // One path beyond the budget still goes, alone.
    std::vector<std::string> huge{"a", std::string(PathChunks::maxBytes, 'y'), "b"};
    EXPECT_EQ(PathChunks::split(huge).size(), 3u);
}

// Should the backup not be written after git deleted the branch, the branch
// comes back at its old tip and the failure is reported.
TEST_F(WriteCommandLinesTest, ABranchWhoseBackupFailsAfterTheDeletionIsBroughtBack) {
    const std::string write = "start\nupdate refs/tarv/backups/deleted/topic abc123\nprepare\ncommit\n";
    runner->setScript([&](const core::ProcessSpec& spec, std::stop_token) {
        const auto base = static_cast<std::ptrdiff_t>(GitEnvironment::baseArguments().size());
        const Arguments arguments(spec.arguments.begin() + base, spec.arguments.end());
        if (arguments[0] == "symbolic-ref") return GitScriptedRunner::result(0, "main\n");
        if (arguments == Arguments{"rev-parse", "--verify", "-q", "refs/heads/topic"})
            return GitScriptedRunner::result(0, "abc123\n");
        if (spec.stdin == core::toBytes(write)) return GitScriptedRunner::result(1, "", "error: disk full");
        return core::ProcessResult{};
    });
    const auto failure = testing::commandFailure([&] { writes.deleteBranch("/r", "topic", true, none); });
    EXPECT_EQ(failure.command, "git update-ref --stdin");
    EXPECT_EQ(failure.stderr, "error: disk full");
    const auto all = commands();
    ASSERT_EQ(all.size(), 7u);
    EXPECT_EQ(all[2], (Arguments{"for-each-ref", "--format=%(refname) %(objectname)", "refs/tarv/backups/deleted/topic",
                                 "refs/tarv/backups/deleted/topic-*"}));
    EXPECT_EQ(all[3], (Arguments{"update-ref", "--stdin"}));
    EXPECT_EQ(runner->specs()[3].stdin,
              core::toBytes("start\nupdate refs/tarv/backups/deleted/topic abc123\nprepare\nabort\n"));
    EXPECT_EQ(all[4], (Arguments{"branch", "-D", "topic"}));
    EXPECT_EQ(all[5], (Arguments{"update-ref", "--stdin"}));
    EXPECT_EQ(all[6], (Arguments{"update-ref", "refs/heads/topic", "abc123", ""}));
}

TEST_F(WriteCommandLinesTest, RemoteCommandsAndTheirLimits) {
    remotes.fetch("/r", none);
    remotes.pull("/r", none);
    remotes.push("/r", "main", false, none);
    remotes.push("/r", "feature/x", true, none);
    remotes.clone("-u.example", "/dest", none);
    const auto all = commands();
    EXPECT_EQ(all, (std::vector<Arguments>{{"fetch", "--prune"},
                                           {"pull", "--ff-only"},
                                           {"push", "--follow-tags"},
                                           {"push", "--follow-tags", "-u", "origin", "feature/x"},
                                           {"clone", "--", "-u.example", "/dest"}}));
    const auto specs = runner->specs();
    EXPECT_EQ(specs[0].timeout, 300s);
    EXPECT_EQ(specs[1].timeout, 600s);
    EXPECT_EQ(specs[3].timeout, 600s);
    EXPECT_EQ(specs[4].timeout, 1800s);
    EXPECT_EQ(specs[4].currentDirectory, std::nullopt);
}

TEST_F(WriteCommandLinesTest, RemoteFailuresAreClassifiedLocalOnesAreNot) {
    answer({{{"fetch"}, GitScriptedRunner::result(128, "", "fatal: Authentication failed for 'https://h/x'")},
            {{"remote"}, GitScriptedRunner::result(3, "", "error: remote origin already exists.")}});
    try {
        remotes.fetch("/r", none);
        ADD_FAILURE() << "no error";
    } catch (const core::RemoteFailure& failure) {
        EXPECT_EQ(failure, core::RemoteFailure::authenticationFailed());
    }
    EXPECT_EQ(testing::commandFailure([&] { remotes.addRemote("/r", "origin", "https://h/x", none); }).exitCode, 3);
}

}  // namespace
}  // namespace tarv::engine
