// Commits on the real git: exactly the selection reaches the commit, line by
// line where lines were chosen, and nothing else is touched.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "TarvCore/Errors/RemoteFailure.hpp"
#include "TarvEngineTests/Writes/WriteTestSupport.hpp"

namespace tarv::engine {
namespace {

using core::ChangeKind;
using core::CommitSelection;
using core::DiffLine;
using core::PartialSelection;
using testing::blob;
using testing::disk;
using testing::linesWhere;

struct CommitTest : testing::RealRepository {};

std::string numbered(int from, int to) {
    std::string text;
    for (int i = from; i <= to; ++i) text += std::to_string(i) + "\n";
    return text;
}

std::string replaced(std::string text, const std::string& line, const std::string& by) {
    const auto at = text.find(line + "\n");
    return text.replace(at, line.size(), by);
}

bool isAdded(const DiffLine& line) { return line.kind == DiffLine::Kind::added; }
bool isRemoved(const DiffLine& line) { return line.kind == DiffLine::Kind::removed; }

TEST_F(CommitTest, ChosenLinesReachTheCommitAndTheWorkingTreeStaysAsItWas) {
    repo.writeFile("f.txt", numbered(1, 20));
    repo.commitAll("base");
    const std::string edited = replaced(replaced(numbered(1, 20), "2", "two"), "19", "nineteen");
    repo.writeFile("f.txt", edited);
    const core::Diff diff = diffOf("f.txt");
    ASSERT_EQ(diff.hunks.size(), 2u);

    struct Case {
        const char* name;
        std::function<bool(const core::LineRef&, const DiffLine&)> choose;
        std::string committed;
    };
    const std::vector<Case> cases{
        {"a removal without its addition", [](auto ref, auto& l) { return ref.hunk == 0 && isRemoved(l); },
         replaced(numbered(1, 20), "2\n3", "3")},
        {"the second hunk whole, the first not at all", [](auto ref, auto&) { return ref.hunk == 1; },
         replaced(numbered(1, 20), "19", "nineteen")},
        {"an addition without its removal, and a removal alone",
         [](auto ref, auto& l) { return (ref.hunk == 0 && isAdded(l)) || (ref.hunk == 1 && isRemoved(l)); },
         replaced(replaced(numbered(1, 20), "2", "2\ntwo"), "19\n20", "20")},
    };
    for (const auto& c : cases) {
        std::set<core::LineRef> chosen;
        for (const auto& ref : diff.changeLines()) {
            const auto& line = diff.hunks[static_cast<std::size_t>(ref.hunk)].lines[static_cast<std::size_t>(ref.line)];
            if (c.choose(ref, line)) chosen.insert(ref);
        }
        writes.commit(repo.path(), message(c.name),
                      CommitSelection{{}, {PartialSelection{"f.txt", false, diff, chosen}}}, false, none);
        EXPECT_EQ(blob(repo, "HEAD", "f.txt"), c.committed) << c.name;
        EXPECT_EQ(repo.readFile("f.txt"), edited) << c.name;
        repo.git({"reset", "-q", "--soft", "HEAD~1"});
    }
}

// The bytes of a chosen line are committed as they are: a Latin-1 line stays
// Latin-1, in a file whose name is Latin-1 too.
TEST_F(CommitTest, ALatin1LineIsCommittedByteForByte) {
    const std::string name = "caf\xe9.txt";
    repo.writeFile(name, "first\n");
    repo.commitAll("base");
    repo.writeFile(name, "first\nna\xefve \xe0 la carte\nnot chosen\n");
    const core::Diff diff = diffOf(name);
    auto chosen = linesWhere(diff, [](const DiffLine& l) { return l.text.starts_with("na"); });
    ASSERT_EQ(chosen.size(), 1u);
    writes.commit(repo.path(), message("Latin-1"), CommitSelection{{}, {PartialSelection{name, false, diff, chosen}}},
                  false, none);
    EXPECT_EQ(blob(repo, "HEAD", name), "first\nna\xefve \xe0 la carte\n");
}

// New files committed in part keep what git would give them whole: the
// executable bit, a plain file's mode, a link's target.
TEST_F(CommitTest, APartlyCommittedNewFileKeepsItsMode) {
    repo.writeFile("base.txt", "x\n");
    repo.commitAll("base");
    repo.writeFile("run.sh", "#!/bin/sh\necho one\necho two\n");
    ::chmod((repo.path() + "/run.sh").c_str(), 0755);
    repo.writeFile("plain.txt", "a\nb\n");
    std::filesystem::create_symlink("base.txt", repo.path() + "/link");

    CommitSelection selection;
    for (std::string path : {"run.sh", "plain.txt", "link"}) {
        const core::Diff diff = diffOf(path, ChangeKind::untracked);
        auto chosen = linesWhere(diff, [](const DiffLine& l) { return l.text != "echo two" && l.text != "b"; });
        selection.partials.push_back(PartialSelection{path, true, diff, chosen});
    }
    writes.commit(repo.path(), message("New files"), selection, false, none);
    EXPECT_EQ(repo.git({"ls-tree", "--format=%(objectmode) %(path)", "HEAD"}),
              "100644 base.txt\n120000 link\n100644 plain.txt\n100755 run.sh\n");
    EXPECT_EQ(blob(repo, "HEAD", "run.sh"), "#!/bin/sh\necho one\n");
    EXPECT_EQ(blob(repo, "HEAD", "plain.txt"), "a\n");
    EXPECT_EQ(blob(repo, "HEAD", "link"), "base.txt");

    // A repository that does not trust executable bits gets a plain file.
    repo.setConfig("core.fileMode", "false");
    repo.writeFile("run2.sh", "echo\n");
    ::chmod((repo.path() + "/run2.sh").c_str(), 0755);
    const core::Diff diff = diffOf("run2.sh", ChangeKind::untracked);
    writes.commit(repo.path(), message("More"),
                  CommitSelection{{}, {PartialSelection{"run2.sh", true, diff, linesWhere(diff, isAdded)}}}, false,
                  none);
    EXPECT_EQ(repo.git({"ls-tree", "--format=%(objectmode)", "HEAD", "--", "run2.sh"}), "100644\n");
}

// Names git quotes in patch headers (and names that only need the tab after
// them) still name their own file.
TEST_F(CommitTest, AwkwardNamesCommittedLineByLine) {
    const std::vector<std::string> names{"t\tab",  "new\nline", "q\"uote", "\"lead",   "back\\slash",
                                         "trail ", "sp ace",    "caf\xe9", "bell\x07", "*.txt"};
    repo.writeFile("other.txt", "x\n");
    repo.commitAll("base");
    CommitSelection selection;
    for (const auto& name : names) {
        repo.writeFile(name, "kept\ndropped\n");
        const core::Diff diff = diffOf(name, ChangeKind::untracked);
        selection.partials.push_back(
            PartialSelection{name, true, diff, linesWhere(diff, [](const DiffLine& l) { return l.text == "kept"; })});
    }
    writes.commit(repo.path(), message("Names"), selection, false, none);
    for (const auto& name : names) EXPECT_EQ(blob(repo, "HEAD", name), "kept\n") << name;
    EXPECT_EQ(testing::treePaths(repo, "HEAD").size(), names.size() + 1);
}

// Whole paths are literal: "a[1].txt" is that file, not a pattern that also
// picks "a1.txt"; "*.txt" is a file named so.
TEST_F(CommitTest, WholePathsAreTakenLiterally) {
    for (std::string name : {"a[1].txt", "a1.txt", "*.txt", "b.txt"}) repo.writeFile(name, "one\n");
    repo.commitAll("base");
    for (std::string name : {"a[1].txt", "a1.txt", "*.txt", "b.txt"}) repo.writeFile(name, "two\n");
    writes.commit(repo.path(), message("Literal"), CommitSelection{{"a[1].txt", "*.txt"}}, false, none);
    EXPECT_EQ(blob(repo, "HEAD", "a[1].txt"), "two\n");
    EXPECT_EQ(blob(repo, "HEAD", "*.txt"), "two\n");
    EXPECT_EQ(blob(repo, "HEAD", "a1.txt"), "one\n");
    EXPECT_EQ(blob(repo, "HEAD", "b.txt"), "one\n");
}

// Whatever was staged before (by another tool) is not committed unless
// chosen; an ignored file chosen whole is committed; a deletion is recorded.
TEST_F(CommitTest, TheIndexHoldsExactlyTheSelection) {
    repo.writeFile(".gitignore", "*.log\n");
    repo.writeFile("gone.txt", "x\n");
    repo.writeFile("staged.txt", "one\n");
    repo.commitAll("base");
    repo.writeFile("staged.txt", "two\n");
    repo.git({"add", "staged.txt"});
    repo.writeFile("build.log", "log\n");
    repo.removeFile("gone.txt");
    writes.commit(repo.path(), message("Pick"), CommitSelection{{"build.log", "gone.txt"}}, false, none);
    EXPECT_EQ(blob(repo, "HEAD", "staged.txt"), "one\n");
    EXPECT_EQ(blob(repo, "HEAD", "build.log"), "log\n");
    EXPECT_EQ(blob(repo, "HEAD", "gone.txt"), "<none>");
    EXPECT_EQ(repo.readFile("staged.txt"), "two\n");
}

// The names of the files the commit left in the git directory.
std::vector<std::string> leftovers(const tarv::testing::TempGitRepo& repo) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(repo.path() + "/.git")) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("tarv-commit-index") || name.ends_with(".lock")) found.push_back(name);
    }
    return found;
}

// Another git process holds the user's index: the commit is refused with
// git's own words before anything is written. No commit, the index as it
// was, the other process's lock untouched and nothing of ours beside it.
TEST_F(CommitTest, AForeignIndexLockRefusesTheCommitBeforeAnythingIsWritten) {
    repo.writeFile("a.txt", "a\n");
    repo.writeFile("b.txt", "b\n");
    repo.commitAll("base");
    repo.writeFile("b.txt", "staged\n");
    repo.git({"add", "b.txt"});
    repo.writeFile("a.txt", "edited\n");
    const std::string indexBefore = testing::indexListing(repo);
    repo.writeFile(".git/index.lock", "another git\n");

    const auto failure = testing::commandFailure(
        [&] { writes.commit(repo.path(), message("A"), CommitSelection{{"a.txt"}}, false, none); });
    EXPECT_NE(failure.stderr.find("fatal: Unable to create '" + repo.path() + "/.git/index.lock': File exists."),
              std::string::npos)
        << failure.stderr;
    EXPECT_NE(failure.stderr.find("Another git process seems to be running in this repository"), std::string::npos)
        << failure.stderr;
    EXPECT_EQ(repo.git({"log", "--format=%s"}), "base\n");
    EXPECT_EQ(repo.readFile(".git/index.lock"), "another git\n");
    EXPECT_EQ(leftovers(repo), std::vector<std::string>{"index.lock"});
    repo.removeFile(".git/index.lock");
    EXPECT_EQ(testing::indexListing(repo), indexBefore);
}

// What the user staged with git outside the selection survives the commit:
// x.txt is staged in one version and edited further, the commit takes other
// files. Afterwards the committed paths of the index hold the commit, and
// HEAD's reflog has the commit's own line only.
TEST_F(CommitTest, WhatTheUserStagedOutsideTheSelectionStaysStaged) {
    struct Case {
        const char* name;
        bool amend;
        // The selection, made once the working tree is set up.
        std::function<CommitSelection(CommitTest&)> select;
        std::string committedY;
        std::string reflogStart;
    };
    const std::string editedY = numbered(1, 9) + "ten\n";
    const std::vector<Case> cases{
        {"a whole file", false, [](CommitTest&) { return CommitSelection{{"y.txt"}}; }, editedY, "commit: "},
        {"an amend", true, [](CommitTest&) { return CommitSelection{{"y.txt"}}; }, editedY, "commit (amend): "},
        {"chosen lines", false,
         [](CommitTest& t) {
             const core::Diff diff = t.diffOf("y.txt");
             return CommitSelection{{}, {PartialSelection{"y.txt", false, diff, linesWhere(diff, isRemoved)}}};
         },
         numbered(1, 9), "commit: "},
    };
    repo.writeFile("x.txt", "base\n");
    repo.writeFile("y.txt", numbered(1, 10));
    const std::string base = repo.commitAll("base");
    for (const auto& c : cases) {
        repo.git({"reset", "-q", "--hard", base});
        repo.writeFile("x.txt", "staged\n");
        repo.git({"add", "x.txt"});
        repo.writeFile("x.txt", "edited\n");
        repo.writeFile("y.txt", editedY);
        const std::string reflogBefore = repo.git({"reflog", "--format=%gs"});

        writes.commit(repo.path(), message("Y"), c.select(*this), c.amend, none);
        EXPECT_EQ(blob(repo, "HEAD", "y.txt"), c.committedY) << c.name;
        EXPECT_EQ(blob(repo, "HEAD", "x.txt"), "base\n") << c.name;
        EXPECT_EQ(repo.git({"show", ":x.txt"}), "staged\n") << c.name;
        EXPECT_EQ(repo.git({"show", ":y.txt"}), c.committedY) << c.name;
        EXPECT_EQ(repo.readFile("x.txt"), "edited\n") << c.name;
        EXPECT_EQ(repo.git({"reflog", "--format=%gs"}), c.reflogStart + "Y\n" + reflogBefore) << c.name;
        EXPECT_EQ(repo.git({"status", "--porcelain"}), c.committedY == editedY ? "MM x.txt\n" : "MM x.txt\n M y.txt\n")
            << c.name;
        EXPECT_EQ(leftovers(repo), std::vector<std::string>{}) << c.name;
    }
}

// Every change chosen takes the whole-tree path (one "add -A"); the commit
// is what adding each path gives: deletions recorded, a chosen ignored file
// added, a file staged and then changed back (no change left, not chosen)
// keeps its staged version.
TEST_F(CommitTest, EveryChangeChosenCommitsWhatEachPathWouldGive) {
    auto recorder = std::make_shared<tarv::testing::GitScriptedRunner>();
    GitWriteCommands recorded{testing::recordingExecutor(repo, recorder)};
    repo.writeFile(".gitignore", "*.log\n");
    repo.writeFile("gone.txt", "x\n");
    repo.writeFile("kept.txt", "one\n");
    repo.writeFile("x.txt", "base\n");
    repo.commitAll("base");
    repo.writeFile("x.txt", "staged\n");
    repo.git({"add", "x.txt"});
    repo.writeFile("x.txt", "base\n");
    repo.removeFile("gone.txt");
    repo.writeFile("kept.txt", "two\n");
    repo.writeFile("build.log", "log\n");
    repo.writeFile("other.log", "not chosen\n");
    CommitSelection selection{{"gone.txt", "kept.txt", "build.log"}};
    for (int i = 0; i < 250; ++i) {
        selection.wholePaths.push_back("new/" + std::to_string(i) + ".txt");
        repo.writeFile(selection.wholePaths.back(), std::to_string(i) + "\n");
    }
    recorded.commit(repo.path(), message("All"), selection, false, none);

    EXPECT_EQ(testing::runsOf(*recorder, {"add", "-A"}).size(), 2u);  // the whole tree, then build.log
    EXPECT_EQ(blob(repo, "HEAD", "gone.txt"), "<none>");
    EXPECT_EQ(blob(repo, "HEAD", "kept.txt"), "two\n");
    EXPECT_EQ(blob(repo, "HEAD", "build.log"), "log\n");
    EXPECT_EQ(blob(repo, "HEAD", "other.log"), "<none>");
    EXPECT_EQ(blob(repo, "HEAD", "new/249.txt"), "249\n");
    EXPECT_EQ(blob(repo, "HEAD", "x.txt"), "base\n");
    EXPECT_EQ(testing::treePaths(repo, "HEAD").size(), 254u);
    EXPECT_EQ(repo.git({"show", ":x.txt"}), "staged\n");
    EXPECT_EQ(repo.git({"status", "--porcelain"}), "MM x.txt\n");
}

// A commit git refuses leaves the user's index as it was, and nothing
// behind in the git directory; so does a file left unmerged by a stash that
// did not apply cleanly when other files are committed.
TEST_F(CommitTest, TheUsersIndexIsUntouchedByAFailedCommitAndKeepsUnmergedFiles) {
    repo.writeFile("a.txt", "a\n");
    repo.writeFile("b.txt", "b\n");
    repo.commitAll("base");
    repo.writeFile("a.txt", "stashed\n");
    repo.git({"stash", "-q"});
    repo.writeFile("a.txt", "committed\n");
    repo.commitAll("second");
    EXPECT_NE(repo.run({"stash", "pop", "-q"}).exitCode, 0);
    const std::string unmerged = testing::indexListing(repo);
    ASSERT_NE(unmerged.find(" 3\ta.txt"), std::string::npos);

    repo.writeFile(".git/hooks/pre-commit", "#!/bin/sh\nexit 1\n");
    ::chmod((repo.path() + "/.git/hooks/pre-commit").c_str(), 0755);
    repo.writeFile("b.txt", "b2\n");
    testing::commandFailure(
        [&] { writes.commit(repo.path(), message("Refused"), CommitSelection{{"b.txt"}}, false, none); });
    EXPECT_EQ(testing::indexListing(repo), unmerged);
    EXPECT_EQ(leftovers(repo), std::vector<std::string>{});

    repo.removeFile(".git/hooks/pre-commit");
    writes.commit(repo.path(), message("B"), CommitSelection{{"b.txt"}}, false, none);
    EXPECT_EQ(blob(repo, "HEAD", "b.txt"), "b2\n");
    EXPECT_EQ(testing::indexListing(repo), repo.git({"ls-files", "-s", "--", "a.txt"}) +
                                               repo.git({"ls-files", "-s", "--", "b.txt"}));
    EXPECT_NE(testing::indexListing(repo).find(" 3\ta.txt"), std::string::npos);
}

TEST_F(CommitTest, FirstCommitOfARepository) {
    repo.writeFile("a.txt", "a\n");
    repo.writeFile("b.txt", "b\n");
    repo.git({"add", "b.txt"});
    writes.commit(repo.path(), core::CommitMessage{"First", "", {{"Ann", "ann@example.com"}}},
                  CommitSelection{{"a.txt"}}, false, none);
    EXPECT_EQ(testing::treePaths(repo, "HEAD"), (std::vector<std::string>{"a.txt"}));
    EXPECT_EQ(repo.git({"log", "-1", "--format=%B"}), "First\n\nCo-authored-by: Ann <ann@example.com>\n\n");
    EXPECT_EQ(repo.git({"ls-files"}), "a.txt\nb.txt\n");  // b.txt staged still
}

TEST_F(CommitTest, AmendWithNothingChosenRewritesOnlyTheMessage) {
    repo.writeFile("a.txt", "a\n");
    repo.commitAll("Old message");
    const std::string tree = repo.revParse("HEAD^{tree}");
    repo.writeFile("a.txt", "changed\n");
    writes.commit(repo.path(), core::CommitMessage{"New message", "Details"}, {}, true, none);
    EXPECT_EQ(repo.revParse("HEAD^{tree}"), tree);
    EXPECT_EQ(repo.git({"log", "-1", "--format=%B"}), "New message\n\nDetails\n\n");
    EXPECT_EQ(repo.git({"rev-list", "--count", "HEAD"}), "1\n");
}

// While a merge is in progress the merge's index is kept: the other side's
// changes and the chosen resolution both land in the merge commit.
TEST_F(CommitTest, AMergeInProgressKeepsItsIndex) {
    repo.writeFile("c.txt", "base\n");
    repo.commitAll("base");
    repo.git({"switch", "-q", "-c", "other"});
    repo.writeFile("c.txt", "theirs\n");
    repo.writeFile("theirs-only.txt", "t\n");
    repo.commitAll("theirs");
    repo.git({"switch", "-q", "main"});
    repo.writeFile("c.txt", "ours\n");
    repo.commitAll("ours");
    EXPECT_NE(repo.run({"merge", "other"}).exitCode, 0);
    repo.writeFile("c.txt", "resolved\n");
    writes.commit(repo.path(), message("Merge other"), CommitSelection{{"c.txt"}}, false, none);
    EXPECT_EQ(blob(repo, "HEAD", "c.txt"), "resolved\n");
    EXPECT_EQ(blob(repo, "HEAD", "theirs-only.txt"), "t\n");
    EXPECT_EQ(repo.git({"rev-list", "--parents", "-n1", "HEAD"}).size(), 3 * 41u);
}

TEST_F(CommitTest, GitRefusalsOfTheCommit) {
    repo.writeFile("a.txt", "a\n");
    repo.commitAll("base");

    // Chosen lines that change nothing: git has nothing to commit.
    repo.writeFile("a.txt", "a\nb\n");
    const core::Diff diff = diffOf("a.txt");
    auto nothing = testing::commandFailure([&] {
        writes.commit(repo.path(), message("Nothing"),
                      CommitSelection{{}, {PartialSelection{"a.txt", false, diff, {{0, 0}}}}}, false, none);
    });
    EXPECT_EQ(nothing.command, "git commit -q -F -");

    // A hook's refusal stays git's error.
    repo.writeFile(".git/hooks/pre-commit", "#!/bin/sh\necho rejected >&2\nexit 1\n");
    ::chmod((repo.path() + "/.git/hooks/pre-commit").c_str(), 0755);
    auto hook = testing::commandFailure(
        [&] { writes.commit(repo.path(), message("Hooked"), CommitSelection{{"a.txt"}}, false, none); });
    EXPECT_EQ(hook.stderr, "rejected");
    repo.removeFile(".git/hooks/pre-commit");

    // A signing failure is the classified failure.
    repo.setConfig("commit.gpgsign", "true");
    repo.setConfig("gpg.program", "/bin/false");
    try {
        writes.commit(repo.path(), message("Signed"), CommitSelection{{"a.txt"}}, false, none);
        ADD_FAILURE() << "no error";
    } catch (const core::RemoteFailure& failure) {
        EXPECT_EQ(failure, core::RemoteFailure::signingFailed());
    }

    // A patch that no longer fits the file fails the apply step.
    repo.setConfig("commit.gpgsign", "false");
    repo.writeFile("a.txt", "changed\n");
    repo.commitAll("changed");
    auto stale = testing::commandFailure([&] {
        writes.commit(repo.path(), message("Stale"),
                      CommitSelection{{}, {PartialSelection{"a.txt", false, diff, linesWhere(diff, isAdded)}}}, false,
                      none);
    });
    EXPECT_EQ(stale.command, "git apply --cached --recount --whitespace=nowarn -");
}

// A long list of paths goes to one "add" on its standard input, however
// long the paths (together far beyond the system's argument limit).
TEST_F(CommitTest, ManyLongPathsGoToOneAdd) {
    auto recorder = std::make_shared<tarv::testing::GitScriptedRunner>();
    GitWriteCommands recorded{testing::recordingExecutor(repo, recorder)};
    CommitSelection selection;
    std::string folder;
    for (char c = 'a'; c < 'j'; ++c) folder += std::string(200, c) + "/";
    for (int i = 0; i < 1200; ++i) {
        const std::string name = folder + "f" + std::to_string(i);
        repo.writeFile(name, "x\n");
        selection.wholePaths.push_back(name);
    }
    recorded.commit(repo.path(), message("Many"), selection, false, none);
    EXPECT_EQ(testing::runsOf(*recorder, {"add"}).size(), 1u);
    EXPECT_EQ(testing::treePaths(repo, "HEAD").size(), 1200u);
}

TEST_F(CommitTest, NewRepositoriesGetTheConfiguredOrTheMainBranch) {
    for (const auto& [configured, expected] :
         std::vector<std::pair<std::string, std::string>>{{"trunk", "trunk"}, {"", "main"}}) {
        repo.run({"config", "--file", repo.globalConfig(), "init.defaultBranch", configured});
        const std::string folder = repo.makeFolder("new-" + expected);
        writes.initRepository(folder, none);
        EXPECT_EQ(repo.git({"symbolic-ref", "--short", "HEAD"}, folder), expected + "\n");
    }
}

}  // namespace
}  // namespace tarv::engine
