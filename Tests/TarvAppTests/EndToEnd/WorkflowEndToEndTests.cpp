// Working on a real repository through the real program in tmux: the History
// tab, the terminal editor, sync against the local bare remote and against a
// remote that is not there, the help.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "Support/ProcessTestUtil.hpp"
#include "TarvInTmux.hpp"

namespace tarv::app {
namespace {

using namespace std::chrono_literals;
using testing::TarvInTmux;
using tarv::testing::processReadFile;
using tarv::testing::processWaitUntil;
using tarv::testing::processWriteFile;

std::string trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

class Workflow : public ::testing::Test {
protected:
    void SetUp() override {
        if (!tarv::testing::TmuxSession::available()) GTEST_SKIP() << "tmux is not installed";
        t = std::make_unique<TarvInTmux>();
        t->writeFile("draft.txt", "a draft\n");
    }
    // A folder of fake editors; "vim" and "vi" as asked. Each says what it
    // opened, waits for a line (on the normal terminal) and appends a line
    // to the file.
    std::string editors(bool vim, bool vi) const {
        const std::string bin = t->home + "/bin-" + std::to_string(vim) + std::to_string(vi);
        std::filesystem::create_directories(bin);
        for (const auto& [name, wanted] : {std::pair{"vim", vim}, std::pair{"vi", vi}}) {
            if (!wanted) continue;
            processWriteFile(bin + "/" + name,
                             std::string("#!/bin/sh\nprintf 'fake ") + name +
                                 " editing %s %s\\n' \"$1\" \"$2\"\nread line\n"
                                 "printf 'edited by " + name + "\\n' >> \"$2\"\n",
                             true);
        }
        return bin;
    }
    std::unique_ptr<TarvInTmux> t;
};

TEST_F(Workflow, HistoryTabListsTheCommits) {
    t->git({"add", "draft.txt"});
    t->git({"commit", "-m", "Second commit"});
    t->writeFile("draft.txt", "changed\n");
    t->start();
    ASSERT_TRUE(t->tmux->waitForText("draft.txt")) << t->tmux->capture();
    t->tmux->sendLiteral("2");
    ASSERT_TRUE(t->tmux->waitForText("Second commit")) << t->tmux->capture();
    EXPECT_TRUE(t->tmux->waitForText("First commit")) << t->tmux->capture();
    t->tmux->sendLiteral("1");
    ASSERT_TRUE(t->tmux->waitForScreen([](const std::string& s) { return s.find("Second commit") == s.npos; }));
    t->tmux->sendKeys({"C-c"});
    t->expectExitedCleanly();
}

// The terminal editor gets the normal terminal: vim first, vi when there is
// no vim, a notice when there is neither; the interface comes back whole.
TEST_F(Workflow, TerminalEditorRunsVimElseViOnTheNormalScreen) {
    struct Case {
        bool vim;
        bool vi;
        std::string ran;
    };
    const Case cases[] = {{true, true, "vim"}, {false, true, "vi"}, {false, false, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ran.empty() ? "neither" : c.ran);
        t->start({}, {{"PATH", editors(c.vim, c.vi)}, {"TARV_GIT", "/usr/bin/git"}});
        ASSERT_TRUE(t->tmux->waitForText("draft.txt")) << t->tmux->capture();
        t->tmux->sendLiteral("v");
        if (c.ran.empty()) {
            ASSERT_TRUE(t->tmux->waitForText("Could not open vim or vi")) << t->tmux->capture();
        } else {
            ASSERT_TRUE(t->tmux->waitForText("fake " + c.ran + " editing -- " + t->repository + "/draft.txt"))
                << t->tmux->capture();
            EXPECT_EQ(t->tmux->display("#{alternate_on}"), "0");
            t->tmux->typeLine("done");
            ASSERT_TRUE(t->tmux->waitForDisplay("#{alternate_on}", "1")) << t->tmux->capture();
            ASSERT_TRUE(t->tmux->waitForText("edited by " + c.ran)) << t->tmux->capture();
            EXPECT_EQ(processReadFile(t->repository + "/draft.txt"), "a draft\nedited by " + c.ran + "\n");
        }
        t->tmux->sendKeys({"C-c"});
        t->expectExitedCleanly();
        t->writeFile("draft.txt", "a draft\n");
    }
}

TEST_F(Workflow, SyncPushesToTheBareRemote) {
    t->git({"add", "draft.txt"});
    t->git({"commit", "-m", "Ready to push"});
    const std::string head = trimmed(t->git({"rev-parse", "HEAD"}));
    t->writeFile("other.txt", "x\n");
    t->start();
    ASSERT_TRUE(t->tmux->waitForText("other.txt")) << t->tmux->capture();
    t->tmux->sendLiteral("s");
    EXPECT_TRUE(processWaitUntil([&] { return trimmed(t->git({"rev-parse", "main"}, t->remote)) == head; }, 20s))
        << t->tmux->capture();
    t->tmux->sendKeys({"C-c"});
    t->expectExitedCleanly();
}

TEST_F(Workflow, SyncWithAMissingRemoteShowsTheFailure) {
    t->git({"remote", "set-url", "origin", t->home + "/gone.git"});
    t->start();
    ASSERT_TRUE(t->tmux->waitForText("draft.txt")) << t->tmux->capture();
    t->tmux->sendLiteral("s");
    ASSERT_TRUE(t->tmux->waitForText("Could not sync")) << t->tmux->capture();
    t->tmux->sendKeys({"C-c"});
    t->expectExitedCleanly();
}

TEST_F(Workflow, HelpShowsTheShortcuts) {
    t->start();
    ASSERT_TRUE(t->tmux->waitForText("draft.txt")) << t->tmux->capture();
    t->tmux->sendLiteral("?");
    ASSERT_TRUE(t->tmux->waitForText("Keyboard shortcuts")) << t->tmux->capture();
    t->tmux->sendKeys({"C-c"});
    t->expectExitedCleanly();
}

// One added line of two included, then committed with a typed summary.
TEST_F(Workflow, IncludeOneLineAndCommit) {
    t->git({"add", "draft.txt"});
    t->git({"commit", "-m", "Draft"});
    t->writeFile("README.md", "# work\nline one\nline two\n");
    t->start();
    ASSERT_TRUE(t->tmux->waitForText("README.md")) << t->tmux->capture();
    ASSERT_TRUE(t->tmux->waitForText("line two")) << t->tmux->capture();
    t->tmux->sendKeys({"Space"});  // the file out of the commit
    t->tmux->sendKeys({"Enter"});  // to its diff
    t->tmux->sendLiteral("G");     // the last row: "line two"
    t->tmux->sendKeys({"Space"});  // that line in
    t->tmux->sendLiteral("c");
    t->tmux->sendLiteral("Add line two");
    t->tmux->sendKeys({"C-s"});
    EXPECT_TRUE(processWaitUntil([&] { return trimmed(t->git({"log", "-1", "--format=%s"})) == "Add line two"; }, 20s))
        << t->tmux->capture();
    EXPECT_EQ(t->git({"show", "HEAD:README.md"}), "# work\nline two\n");
    EXPECT_EQ(processReadFile(t->repository + "/README.md"), "# work\nline one\nline two\n");
    t->tmux->sendKeys({"C-c"});
    t->expectExitedCleanly();
}

// A commit whose hook runs long is still under way at quit: the program
// leaves the alternate screen, says on the normal screen what it waits for
// and ends once the commit is made; ctrl-C ends it at once, and git makes
// the commit on its own.
TEST_F(Workflow, QuittingDuringALongCommitSaysWhatItWaitsFor) {
    const std::string started = t->home + "/hook-started";
    const std::string release = t->home + "/hook-release";
    processWriteFile(t->repository + "/.git/hooks/pre-commit",
                     "#!/bin/sh\ntouch '" + started + "'\nwhile [ ! -e '" + release +
                         "' ]; do sleep 0.05; done\n",
                     true);
    for (const bool interrupt : {false, true}) {
        SCOPED_TRACE(interrupt ? "ctrl-C while waiting" : "waiting to the end");
        std::filesystem::remove(started);
        std::filesystem::remove(release);
        const std::string summary = interrupt ? "Slow commit, left to git" : "Slow commit";
        t->writeFile("draft.txt", summary + "\n");
        t->start();
        ASSERT_TRUE(t->tmux->waitForText("draft.txt")) << t->tmux->capture();
        t->tmux->sendLiteral("c");
        t->tmux->sendLiteral(summary);
        t->tmux->sendKeys({"C-s"});
        ASSERT_TRUE(processWaitUntil([&] { return std::filesystem::exists(started); }, 20s)) << t->tmux->capture();
        t->tmux->sendKeys({"Escape"});
        t->tmux->sendLiteral("q");
        EXPECT_TRUE(t->tmux->waitForDisplay("#{alternate_on}", "0"));
        EXPECT_TRUE(t->tmux->waitForText("waiting for git to finish the commit")) << t->tmux->capture();
        EXPECT_TRUE(t->tmux->waitForText("C quits now; git will finish on its own")) << t->tmux->capture();
        EXPECT_FALSE(tarv::testing::processIsGone(t->pid())) << "tarv waits for the commit";
        if (interrupt) {
            t->tmux->sendKeys({"C-c"});
            EXPECT_NE(t->waitForExit(), -1) << t->tmux->capture();
            processWriteFile(release, "", false);
        } else {
            processWriteFile(release, "", false);
            t->expectExitedCleanly();
        }
        EXPECT_TRUE(processWaitUntil([&] { return trimmed(t->git({"log", "-1", "--format=%s"})) == summary; }, 20s));
        t->tmux->typeLine("clear");
    }
}

// A discard keeps a snapshot reference; undo brings the change back.
TEST_F(Workflow, DiscardAndUndo) {
    t->git({"add", "draft.txt"});
    t->git({"commit", "-m", "Draft"});
    t->writeFile("README.md", "# changed\n");
    t->start();
    ASSERT_TRUE(t->tmux->waitForText("README.md")) << t->tmux->capture();
    t->tmux->sendLiteral("d");
    ASSERT_TRUE(t->tmux->waitForText("Discard changes?")) << t->tmux->capture();
    t->tmux->sendKeys({"Enter"});
    ASSERT_TRUE(processWaitUntil([&] { return processReadFile(t->repository + "/README.md") == "# work\n"; }, 20s))
        << t->tmux->capture();
    EXPECT_NE(t->git({"for-each-ref", "refs/tarv/snapshots/"}), "");
    ASSERT_TRUE(t->tmux->waitForScreen([](const std::string& s) { return s.find("README.md") == s.npos; }))
        << t->tmux->capture();
    t->tmux->sendLiteral("u");
    EXPECT_TRUE(processWaitUntil([&] { return processReadFile(t->repository + "/README.md") == "# changed\n"; }, 20s))
        << t->tmux->capture();
    t->tmux->sendKeys({"C-c"});
    t->expectExitedCleanly();
}

TEST_F(Workflow, PaletteFindsAndRunsACommand) {
    t->start();
    ASSERT_TRUE(t->tmux->waitForText("draft.txt")) << t->tmux->capture();
    t->tmux->sendKeys({"C-p"});
    ASSERT_TRUE(t->tmux->waitForText("Commands")) << t->tmux->capture();
    t->tmux->sendLiteral("history");
    ASSERT_TRUE(t->tmux->waitForText("⌕ history")) << t->tmux->capture();
    t->tmux->sendKeys({"Enter"});
    ASSERT_TRUE(t->tmux->waitForText("First commit")) << t->tmux->capture();
    t->tmux->sendKeys({"C-c"});
    t->expectExitedCleanly();
}

// The cell of the first occurrence of `text` on the screen, 1-based as the
// mouse reports count.
std::pair<int, int> cellOf(const std::string& screen, const std::string& text) {
    std::istringstream rows(screen);
    int y = 1;
    for (std::string row; std::getline(rows, row); ++y) {
        const auto at = row.find(text);
        if (at != std::string::npos) {
            // Columns count characters; the rows before it may hold multi-byte ones.
            int x = 1;
            for (std::size_t i = 0; i < at; ++i) {
                if ((static_cast<unsigned char>(row[i]) & 0xC0) != 0x80) ++x;
            }
            return {x, y};
        }
    }
    return {0, 0};
}

std::string sgr(int button, std::pair<int, int> cell, bool press) {
    return "\x1b[<" + std::to_string(button) + ";" + std::to_string(cell.first) + ";" + std::to_string(cell.second) +
           (press ? "M" : "m");
}

TEST_F(Workflow, MouseClicksATabAndTheWheelScrollsTheDiff) {
    std::string lines;
    for (int i = 1; i <= 200; ++i) lines += "row " + std::to_string(i) + "\n";
    t->writeFile("draft.txt", lines);
    t->start();
    ASSERT_TRUE(t->tmux->waitForText("row 1")) << t->tmux->capture();
    const auto row1 = cellOf(t->tmux->capture(), "row 1");
    for (int i = 0; i < 8; ++i) t->tmux->sendBytes(sgr(65, row1, true));
    ASSERT_TRUE(t->tmux->waitForScreen([](const std::string& s) { return s.find("row 1\n") == s.npos && s.find("row 1 ") == s.npos; }))
        << t->tmux->capture();
    const auto tab = cellOf(t->tmux->capture(), "History");
    ASSERT_GT(tab.first, 0);
    t->tmux->sendBytes(sgr(0, tab, true) + sgr(0, tab, false));
    ASSERT_TRUE(t->tmux->waitForText("First commit")) << t->tmux->capture();
    t->tmux->sendKeys({"C-c"});
    t->expectExitedCleanly();
}

}  // namespace
}  // namespace tarv::app
