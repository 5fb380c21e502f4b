#include <gtest/gtest.h>

#include "TarvCore/Rules/KeyChordParser.hpp"
#include "TarvUI/Components/HintBar.hpp"
#include "TarvUITests/FrameFixtures.hpp"
#include "TarvUITests/WorkspaceFixtures.hpp"

namespace tarv::ui {
namespace {

using features::AppAction;
using features::AppState;
using terminal::Size;

UIFrame drawHints(const AppState& state, std::int64_t width, const Keymap& keymap = Keymap::standard(),
                  core::Language language = core::Language::en) {
    UIFrame frame = fixtures::frame(Size{width, 14}, 0, 0, keymap);
    frame.language = language;
    const auto layout = WorkspaceLayout::make(Size{width, 14}, features::WorkspaceTab::changes,
                                              features::WorkspaceFocus::files);
    HintBar::draw(frame, state, layout);
    HintBar::drawToast(frame, state, layout);
    return frame;
}

AppState threeFiles() {
    return fixtures::stateWith({fixtures::file("a"), fixtures::file("b"), fixtures::file("c")});
}

TEST(HintBar, CommandsAndHelpStayToTheLast) {
    // "main · 3 changes" is 16 columns: hints may end before column
    // width - 19. The hints after the first that does not fit are left out
    // (a later, shorter one is not tried), but "⌃P commands" and "? help"
    // keep their place at the end as long as they fit alone.
    const struct {
        std::int64_t width;
        core::Language language;
        std::string row;
    } cases[] = {
        {86, core::Language::en, " Tab pane · Space include · c message · ⌃P commands · ? help         main · 3 changes "},
        {90, core::Language::en, " Tab pane · Space include · c message · s sync · ⌃P commands · ? help    main · 3 changes "},
        {99, core::Language::en, " Tab pane · Space include · c message · s sync · / filter · ⌃P commands · ? help  main · 3 changes "},
        {80, core::Language::en, " Tab pane · Space include · c message · ⌃P commands · ? help   main · 3 changes "},
        {80, core::Language::es, " Tab panel · Space incluir · ⌃P comandos · ? ayuda             main · 3 cambios "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fixtures::row(drawHints(threeFiles(), c.width, Keymap::standard(), c.language), 13), c.row);
    }

    const UIFrame frame = drawHints(threeFiles(), 80);
    const ThemeStyles& s = frame.styles;
    EXPECT_EQ(fixtures::cell(frame, 0, 13).style, s.toolbar);
    EXPECT_EQ(fixtures::cell(frame, 1, 13).style, s.hintKey);
    EXPECT_EQ(fixtures::cell(frame, 5, 13).style, s.hintText);
    EXPECT_EQ(fixtures::cell(frame, 10, 13).style, s.hintText);
    EXPECT_EQ(fixtures::cell(frame, 78, 13).style, s.hintKey);
    EXPECT_EQ(fixtures::cell(frame, 79, 13).style, s.toolbar);
}

TEST(HintBar, StatusWidthTwentyLeavesColumnsUpTo56) {
    // "c message" ends after column 56 once the two kept hints are counted.
    AppState state = threeFiles();
    state.workspace->status.branch.head = "feature1";  // "feature1 · 3 changes": 20 columns
    const std::string row = fixtures::row(drawHints(state, 80), 13);
    EXPECT_EQ(row, " Tab pane · Space include · ⌃P commands · ? help           feature1 · 3 changes ");
}

TEST(HintBar, WithoutAWorkspaceTheHintsRunToTheEnd) {
    EXPECT_EQ(fixtures::row(drawHints(AppState{}, 33), 13), " ⌃R repos · ⌃P commands · q quit ");
    EXPECT_EQ(fixtures::row(drawHints(AppState{}, 32), 13), " ⌃R repos · ⌃P commands         ");
}

TEST(HintBar, AheadAndBehindCounts) {
    const struct {
        std::int64_t ahead;
        std::int64_t behind;
        std::string status;
    } cases[] = {{2, 1, "main ↑2 ↓1 "}, {0, 0, "main "}, {0, 12, "main ↓12 "}, {3, 0, "main ↑3 "}};
    for (const auto& c : cases) {
        AppState state = fixtures::stateWith();
        state.workspace->status.branch.ahead = c.ahead;
        state.workspace->status.branch.behind = c.behind;
        const std::string row = fixtures::row(drawHints(state, 100), 13);
        EXPECT_EQ(row.substr(row.size() - c.status.size()), c.status);
    }
}

TEST(HintBar, UnboundCommandsLeaveTheirHintOut) {
    const Keymap keymap(Keymap::Overrides{{core::AppCommand::focusSummary, {}}});
    EXPECT_EQ(fixtures::row(drawHints(threeFiles(), 80, keymap), 13),
              " Tab pane · Space include · s sync · ⌃P commands · ? help      main · 3 changes ");
}

TEST(HintBar, ToastCoversTheRowAndDismissesOnClick) {
    const struct {
        std::string text;
        bool isError;
        std::string row;
    } cases[] = {
        {"Committed", false, " Committed                    "},
        {"\n\nfirst line\nsecond", true, " first line                   "},
        {"a toast text that is far too long for the row", false, " a toast text that is far to… "},
        {"\n", false, "                              "},
    };
    for (const auto& c : cases) {
        AppState state = threeFiles();
        state.toast = features::Toast{7, core::Text::raw(c.text), c.isError};
        const UIFrame frame = drawHints(state, 30);
        EXPECT_EQ(fixtures::row(frame, 13), c.row);
        const auto& style = c.isError ? frame.styles.toastError : frame.styles.toast;
        EXPECT_EQ(fixtures::cell(frame, 0, 13).style, style);
        EXPECT_EQ(fixtures::cell(frame, 29, 13).style, style);
        for (std::int64_t x : {0, 15, 29}) {
            EXPECT_EQ(fixtures::hit(frame, x, 13), HitRegion::pressing({AppAction::DismissToast{7}}));
        }
    }
    EXPECT_TRUE(drawHints(threeFiles(), 30).hits.regions().empty());
}

}  // namespace
}  // namespace tarv::ui
