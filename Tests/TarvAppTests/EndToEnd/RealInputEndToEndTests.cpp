// Real terminal input reaching the right actions in the real program: keys
// typed with send-keys, raw SGR mouse reports (send-keys -H) and bracketed
// pastes (paste-buffer -p), through tmux into tarv's input decoder, router
// and reducer.

#include <gtest/gtest.h>

#include <sstream>

#include "Support/ProcessTestUtil.hpp"
#include "TarvInTmux.hpp"

namespace tarv::app {
namespace {

using namespace std::chrono_literals;
using testing::TarvInTmux;
using tarv::testing::processWaitUntil;

std::string trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

bool shows(const std::string& screen, const std::string& text) { return screen.find(text) != std::string::npos; }

// The cell of the first occurrence of `text` on the screen, 1-based as mouse
// reports count; {0, 0} when it is not there.
std::pair<int, int> cellOf(const std::string& screen, const std::string& text) {
    std::istringstream rows(screen);
    int y = 1;
    for (std::string row; std::getline(rows, row); ++y) {
        const auto at = row.find(text);
        if (at == std::string::npos) continue;
        int x = 1;  // columns count characters, not bytes
        for (std::size_t i = 0; i < at; ++i) x += (static_cast<unsigned char>(row[i]) & 0xC0) != 0x80;
        return {x, y};
    }
    return {0, 0};
}

// An SGR mouse report: ESC [ < button ; x ; y, M for a press, m for a release.
std::string sgr(int button, std::pair<int, int> cell, bool press) {
    return "\x1b[<" + std::to_string(button) + ";" + std::to_string(cell.first) + ";" +
           std::to_string(cell.second) + (press ? "M" : "m");
}

// Two new files whose diffs tell which one is selected.
class RealInput : public ::testing::Test {
protected:
    void SetUp() override {
        if (!tarv::testing::TmuxSession::available()) GTEST_SKIP() << "tmux is not installed";
        t = std::make_unique<TarvInTmux>();
        t->writeFile("a.txt", "alpha content\n");
        t->writeFile("b.txt", "beta content\n");
    }
    void startShowingTheFirstFile() {
        t->start();
        ASSERT_TRUE(t->tmux->waitForText("alpha content")) << t->tmux->capture();
    }
    // Waits until the diff shows `file`'s text and not the other's.
    bool diffShows(const std::string& wanted, const std::string& other) {
        return t->tmux->waitForScreen([&](const std::string& s) { return shows(s, wanted) && !shows(s, other); });
    }
    std::unique_ptr<TarvInTmux> t;
};

TEST_F(RealInput, TypedKeysMoveTheFileSelection) {
    struct Case {
        const char* name;
        std::vector<std::string> down;  // send-keys arguments
        std::vector<std::string> up;
        bool literal;
    };
    const Case cases[] = {
        {"letters", {"j"}, {"k"}, true},
        {"arrow keys", {"Down"}, {"Up"}, false},
    };
    startShowingTheFirstFile();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto send = [&](const std::vector<std::string>& keys) {
            if (c.literal) {
                for (const auto& key : keys) t->tmux->sendLiteral(key);
            } else {
                t->tmux->sendKeys(keys);
            }
        };
        send(c.down);
        ASSERT_TRUE(diffShows("beta content", "alpha content")) << t->tmux->capture();
        send(c.up);
        ASSERT_TRUE(diffShows("alpha content", "beta content")) << t->tmux->capture();
    }
    t->tmux->sendKeys({"C-c"});
    t->expectExitedCleanly();
}

// A press and release on a file row selects that file; wheel reports over
// the diff scroll it without changing the selection.
TEST_F(RealInput, RawMouseReportsClickARowAndScrollTheDiff) {
    std::string lines;
    for (int i = 1; i <= 120; ++i) lines += "beta row " + std::to_string(i) + "\n";
    t->writeFile("b.txt", lines);
    startShowingTheFirstFile();
    const auto row = cellOf(t->tmux->capture(), "b.txt");
    ASSERT_GT(row.first, 0) << t->tmux->capture();
    t->tmux->sendBytes(sgr(0, row, true) + sgr(0, row, false));
    ASSERT_TRUE(diffShows("beta row 1 ", "alpha content")) << t->tmux->capture();

    const auto diff = cellOf(t->tmux->capture(), "beta row 1");
    ASSERT_GT(diff.first, 0);
    for (int i = 0; i < 6; ++i) t->tmux->sendBytes(sgr(65, diff, true));  // wheel down
    ASSERT_TRUE(t->tmux->waitForScreen([](const std::string& s) {
        return !shows(s, "beta row 1\n") && !shows(s, "beta row 1 ") && shows(s, "beta row 30");
    })) << t->tmux->capture();
    // The selection stays on b.txt: the diff is still its own.
    EXPECT_FALSE(shows(t->tmux->capture(), "alpha content"));
    t->tmux->sendKeys({"C-c"});
    t->expectExitedCleanly();
}

// A bracketed paste is text, never keys: pasted into the summary it becomes
// the commit's summary; pasted over the file list, a "q" in it does not quit.
TEST_F(RealInput, BracketedPasteFillsTheSummaryAndIsNeverTakenAsKeys) {
    startShowingTheFirstFile();
    t->tmux->paste("qq");
    t->tmux->sendLiteral("?");  // input is read in order: the help shows once the paste is handled
    ASSERT_TRUE(t->tmux->waitForText("Keyboard shortcuts")) << t->tmux->capture();
    EXPECT_EQ(t->tmux->display("#{alternate_on}"), "1");
    t->tmux->sendKeys({"Escape"});
    ASSERT_TRUE(t->tmux->waitForScreen([](const std::string& s) { return !shows(s, "Keyboard shortcuts"); }))
        << t->tmux->capture();

    t->tmux->sendLiteral("c");
    t->tmux->paste("Pasted summary with q and ?");
    ASSERT_TRUE(t->tmux->waitForText("Pasted summary with q and ?")) << t->tmux->capture();
    t->tmux->sendKeys({"C-s"});
    EXPECT_TRUE(processWaitUntil(
        [&] { return trimmed(t->git({"log", "-1", "--format=%s"})) == "Pasted summary with q and ?"; }, 20s))
        << t->tmux->capture();
    EXPECT_EQ(t->git({"show", "HEAD:a.txt"}), "alpha content\n");
    t->tmux->sendKeys({"C-c"});
    t->expectExitedCleanly();
}

}  // namespace
}  // namespace tarv::app
