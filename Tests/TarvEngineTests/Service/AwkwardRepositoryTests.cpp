// The live client on repositories in awkward states (type changes, an
// unborn branch, every side of a delete/modify conflict, staged deletions
// and renames during commits, staged-and-edited files, repeated deletions
// of one branch name, a detached HEAD), each checked against what git itself
// holds afterwards. One table: each row builds its repository, acts through
// the client and describes what the user gets as lines of text.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Support/TempGitRepo.hpp"
#include "TarvEngineTests/Service/RepositoryClientFixture.hpp"

namespace tarv::engine {
namespace {

using tarv::testing::TempGitRepo;
using Lines = std::vector<std::string>;
const std::stop_token none;

struct Awkward {
    TempGitRepo repo;
    std::shared_ptr<GitRepositoryClientLive> client = testing::liveClient(repo);
    const std::string& path = repo.path();

    // The change the status lists for `file`, as the user would pick it.
    core::FileChange change(const std::string& file) {
        for (const auto& change : client->status(path, none).files) {
            if (change.path == file) return change;
        }
        ADD_FAILURE() << file << " is not in the status";
        return core::FileChange{file};
    }

    std::vector<core::FileChange> allChanges() { return client->status(path, none).files; }

    // "<path>: disk <content> index <content> head <content>", "-" for
    // nothing, each content without its line feeds.
    std::string where(const std::string& file) {
        const auto show = [&](const std::string& revision) {
            auto out = repo.run({"show", revision + ":" + file});
            return out.exitCode == 0 ? flattened(out.out) : "-";
        };
        const std::string disk = repo.exists(file) ? flattened(repo.readFile(file)) : "-";
        return file + ": disk " + disk + " index " + show("") + " head " + show("HEAD");
    }

    // The refs below `prefix`, each with the subject of its commit.
    Lines refs(const std::string& prefix) {
        return split(repo.git({"for-each-ref", "--format=%(refname) %(subject)", prefix}));
    }

    static std::string flattened(std::string text) {
        for (char& c : text) {
            if (c == '\n') c = '|';
        }
        return text;
    }

    static Lines split(const std::string& text) {
        Lines lines;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            lines.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        return lines;
    }
};

// A diff as the rows the user reads: each hunk's header, then its lines with
// git's markers.
Lines rows(const core::Diff& diff) {
    Lines lines;
    if (diff.isBinary) lines.push_back("binary");
    for (const auto& hunk : diff.hunks) {
        lines.push_back(hunk.header);
        for (const auto& line : hunk.lines) {
            switch (line.kind) {
                case core::DiffLine::Kind::context:
                    lines.push_back(" " + std::string(line.text));
                    break;
                case core::DiffLine::Kind::added:
                    lines.push_back("+" + std::string(line.text));
                    break;
                case core::DiffLine::Kind::removed:
                    lines.push_back("-" + std::string(line.text));
                    break;
                case core::DiffLine::Kind::noNewlineMarker:
                    lines.push_back("\\ " + std::string(line.text));
                    break;
            }
        }
    }
    return lines;
}

void symlinkReplacedByAFile(TempGitRepo& repo) {
    std::filesystem::create_symlink("target", std::filesystem::path(repo.path()) / "link");
    repo.writeFile("other.txt", "other\n");
    repo.commitAll("Link");
    repo.removeFile("link");
    repo.writeFile("link", "text\n");
}

// main deletes f.txt, "other" changes it: merging "other" stops on a
// delete/modify conflict. With `mainDeletes` false the sides are swapped.
std::function<void(TempGitRepo&)> deleteModifyConflict(bool mainDeletes) {
    return [mainDeletes](TempGitRepo& repo) {
        repo.writeFile("f.txt", "base\n");
        repo.writeFile("keep.txt", "keep\n");
        repo.commitAll("Base");
        repo.git({"switch", "-q", "-c", "other"});
        if (mainDeletes) {
            repo.writeFile("f.txt", "theirs\n");
        } else {
            repo.removeFile("f.txt");
        }
        repo.commitAll("Other");
        repo.git({"switch", "-q", "main"});
        if (mainDeletes) {
            repo.removeFile("f.txt");
        } else {
            repo.writeFile("f.txt", "ours\n");
        }
        repo.commitAll("Main");
        EXPECT_NE(repo.run({"merge", "other"}).exitCode, 0);
    };
}

Lines resolved(Awkward& f, core::ConflictResolution side) {
    f.client->resolve(f.path, "f.txt", side, none);
    return {f.where("f.txt"), "conflicts " + std::to_string(f.client->status(f.path, none).conflictedFiles().size())};
}

void deleteBranchNamedSide(Awkward& f, const std::string& subject) {
    f.repo.git({"switch", "-q", "-c", "side"});
    f.repo.writeFile("side.txt", subject + "\n");
    f.repo.commitAll(subject);
    f.repo.git({"switch", "-q", "main"});
    f.client->deleteBranch(f.path, "side", true, none);
}

struct Case {
    const char* name;
    std::function<void(TempGitRepo&)> prepare;
    // Acts through the client and describes the outcome.
    std::function<Lines(Awkward&)> observe;
    Lines expected;
};

TEST(AwkwardRepositories, WhatTheUserGetsMatchesGit) {
    const std::vector<Case> cases{
        {"diff of a link replaced by a file: each file section ends the hunk before it", symlinkReplacedByAFile,
         [](Awkward& f) { return rows(f.client->diff(f.path, f.change("link"), none)); },
         {"@@ -1 +0,0 @@", "-target", "\\ No newline at end of file", "@@ -0,0 +1 @@", "+text"}},
        {"diff of the commit that replaced a link by a file", symlinkReplacedByAFile,
         [](Awkward& f) {
             f.repo.commitAll("Type change");
             return rows(f.client->diffOfCommit("HEAD", "link", f.path, none));
         },
         {"@@ -1 +0,0 @@", "-target", "\\ No newline at end of file", "@@ -0,0 +1 @@", "+text"}},
        {"diff before the first commit shows what committing the file takes",
         [](TempGitRepo& repo) {
             repo.writeFile("x.txt", "one\n");
             repo.git({"add", "x.txt"});
             repo.writeFile("x.txt", "one\ntwo\n");
         },
         [](Awkward& f) {
             Lines lines = rows(f.client->diff(f.path, f.change("x.txt"), none));
             f.client->commitIncluding(f.path, {"First"}, {"x.txt"}, none);
             lines.push_back(f.where("x.txt"));
             return lines;
         },
         {"@@ -0,0 +1,2 @@", "+one", "+two", "x.txt: disk one|two| index one|two| head one|two|"}},
        {"resolving by the side that deleted the file removes it", deleteModifyConflict(true),
         [](Awkward& f) { return resolved(f, core::ConflictResolution::mine); },
         {"f.txt: disk - index - head -", "conflicts 0"}},
        {"resolving by the side that kept the file keeps its content", deleteModifyConflict(true),
         [](Awkward& f) { return resolved(f, core::ConflictResolution::theirs); },
         {"f.txt: disk theirs| index theirs| head -", "conflicts 0"}},
        {"resolving by their deletion removes our changed file", deleteModifyConflict(false),
         [](Awkward& f) { return resolved(f, core::ConflictResolution::theirs); },
         {"f.txt: disk - index - head ours|", "conflicts 0"}},
        {"a merge whose conflict was settled by removing the file commits the deletion",
         deleteModifyConflict(false),
         [](Awkward& f) {
             f.repo.git({"rm", "-q", "f.txt"});
             Lines lines;
             for (const auto& change : f.allChanges()) lines.push_back(change.path);
             f.client->commitIncluding(f.path, {"Merge other"}, lines, none);
             lines.push_back(f.where("f.txt"));
             lines.push_back("parents " + Awkward::flattened(f.repo.git({"log", "-1", "--format=%s", "HEAD^1"})) +
                             Awkward::flattened(f.repo.git({"log", "-1", "--format=%s", "HEAD^2"})));
             return lines;
         },
         {"f.txt", "f.txt: disk - index - head -", "parents Main|Other|"}},
        {"committing a rename by its new path commits the move, not a copy",
         [](TempGitRepo& repo) {
             repo.writeFile("old.txt", "moved\n");
             repo.writeFile("b.txt", "b\n");
             repo.commitAll("Base");
             repo.git({"mv", "old.txt", "new.txt"});
             repo.writeFile("b.txt", "b changed\n");
         },
         [](Awkward& f) {
             f.client->commitIncluding(f.path, {"Move"}, {f.change("new.txt").path}, none);
             return Lines{f.where("old.txt"), f.where("new.txt"), f.where("b.txt")};
         },
         {"old.txt: disk - index - head -", "new.txt: disk moved| index moved| head moved|",
          "b.txt: disk b changed| index b| head b|"}},
        {"undoing a discard brings back the staged and the working version",
         [](TempGitRepo& repo) {
             repo.writeFile("a.txt", "one\n");
             repo.commitAll("Base");
             repo.writeFile("a.txt", "two\n");
             repo.git({"add", "a.txt"});
             repo.writeFile("a.txt", "three\n");
             repo.writeFile("n.txt", "staged\n");
             repo.git({"add", "n.txt"});
             repo.writeFile("n.txt", "edited\n");
             repo.writeFile("u.txt", "untracked\n");
         },
         [](Awkward& f) {
             const std::string reference = f.client->discard(f.path, f.allChanges(), none);
             Lines lines{f.where("a.txt"), f.where("n.txt"), f.where("u.txt")};
             f.client->restoreSnapshot(f.path, reference, {"a.txt", "n.txt", "u.txt"}, none);
             for (const char* file : {"a.txt", "n.txt", "u.txt"}) lines.push_back(f.where(file));
             return lines;
         },
         {"a.txt: disk one| index one| head one|", "n.txt: disk - index - head -", "u.txt: disk - index - head -",
          "a.txt: disk three| index two| head one|", "n.txt: disk edited| index staged| head -",
          "u.txt: disk untracked| index - head -"}},
        {"undoing a discard before the first commit brings back the staged version",
         [](TempGitRepo& repo) {
             repo.writeFile("n.txt", "staged\n");
             repo.git({"add", "n.txt"});
             repo.writeFile("n.txt", "edited\n");
         },
         [](Awkward& f) {
             const std::string reference = f.client->discard(f.path, f.allChanges(), none);
             f.client->restoreSnapshot(f.path, reference, {"n.txt"}, none);
             return Lines{f.where("n.txt")};
         },
         {"n.txt: disk edited| index staged| head -"}},
        {"every deletion of a branch name keeps its own backup",
         [](TempGitRepo& repo) {
             repo.writeFile("a.txt", "a\n");
             repo.commitAll("Base");
         },
         [](Awkward& f) {
             deleteBranchNamedSide(f, "First side");
             deleteBranchNamedSide(f, "Second side");
             deleteBranchNamedSide(f, "Third side");
             // The same tip again takes no second name.
             f.repo.git({"branch", "side", "refs/tarv/backups/deleted/side"});
             f.client->deleteBranch(f.path, "side", true, none);
             return f.refs("refs/tarv/backups/deleted/");
         },
         {"refs/tarv/backups/deleted/side Third side", "refs/tarv/backups/deleted/side-1 First side",
          "refs/tarv/backups/deleted/side-2 Second side"}},
        {"every deletion of a tag name keeps its own backup",
         [](TempGitRepo& repo) {
             repo.writeFile("a.txt", "a\n");
             repo.commitAll("First release");
             repo.writeFile("a.txt", "b\n");
             repo.commitAll("Second release");
         },
         [](Awkward& f) {
             for (const char* commit : {"HEAD~1", "HEAD"}) {
                 f.client->createTag(f.path, "v1", commit, none);
                 f.client->deleteTag(f.path, "v1", none);
             }
             return f.refs("refs/tarv/backups/tags/");
         },
         {"refs/tarv/backups/tags/v1 Second release", "refs/tarv/backups/tags/v1-1 First release"}},
        {"a stash made on a detached HEAD has no branch",
         [](TempGitRepo& repo) {
             repo.writeFile("a.txt", "a\n");
             repo.commitAll("Base");
             repo.git({"switch", "-q", "--detach"});
             repo.writeFile("a.txt", "changed\n");
         },
         [](Awkward& f) {
             f.client->stash(f.path, "detached work", none);
             const auto stashes = f.client->stashes(f.path, none);
             Lines lines;
             for (const auto& stash : stashes) {
                 lines.push_back(stash.reference + " " + stash.message + " on " + stash.branch.value_or("no branch"));
             }
             return lines;
         },
         {"stash@{0} detached work on no branch"}},
    };

    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        Awkward f;
        row.prepare(f.repo);
        try {
            EXPECT_EQ(row.observe(f), row.expected);
        } catch (const std::exception& error) {
            ADD_FAILURE() << "threw: " << error.what();
        }
    }
}

}  // namespace
}  // namespace tarv::engine
