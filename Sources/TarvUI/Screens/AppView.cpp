#include "TarvUI/Screens/AppView.hpp"

#include <algorithm>
#include <string>
#include <utility>

#include "TarvFeatures/App/AppState.hpp"
#include "TarvTerminal/Text/TextWrapping.hpp"
#include "TarvUI/Components/HintBar.hpp"
#include "TarvUI/Components/ToolbarView.hpp"
#include "TarvUI/Layout/WorkspaceLayout.hpp"
#include "TarvUI/Screens/OnboardingScreen.hpp"
#include "TarvUI/Screens/OverlayDispatch.hpp"
#include "TarvUI/Screens/WelcomeScreen.hpp"
#include "TarvUI/Screens/WorkspaceScreen.hpp"

namespace tarv::ui::AppView {

using features::AppState;
using terminal::Point;
using terminal::Size;

namespace {

void drawTooSmall(UIFrame& frame, Size size) {
    const std::string notice = frame.text(
        core::Text::terminalTooSmall(WorkspaceLayout::minimumSize.width, WorkspaceLayout::minimumSize.height));
    const auto lines = terminal::TextWrapping::wrap(notice, std::max<std::int64_t>(size.width - 2, 1));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto y = static_cast<std::int64_t>(i);
        if (y >= size.height) break;
        frame.canvas.draw(lines[i], Point{1, y}, frame.styles.bold);
    }
}

WorkspaceLayout layoutFor(const AppState& state, Size size) {
    if (state.workspace) return WorkspaceLayout::make(size, state.workspace->tab, state.workspace->focus);
    return WorkspaceLayout::make(size, features::WorkspaceTab::changes, features::WorkspaceFocus::files);
}

void drawBase(UIFrame& frame, const AppState& state, const WorkspaceLayout& layout) {
    switch (state.phase()) {
    case AppState::Phase::onboarding:
        OnboardingScreen::draw(frame, state.onboarding);
        HintBar::drawToast(frame, state, layout);
        break;
    case AppState::Phase::launching: {
        const auto& spinner = ToolbarView::spinner;
        const std::string line = std::string(spinner[static_cast<std::size_t>(frame.tick % 10)]) + " Tarv";
        frame.canvas.draw(line, Point{2, 1}, frame.styles.dim);
        break;
    }
    case AppState::Phase::welcome:
        WelcomeScreen::draw(frame, state);
        HintBar::drawToast(frame, state, layout);
        break;
    case AppState::Phase::workspace:
        if (state.workspace) WorkspaceScreen::draw(frame, state, *state.workspace, layout);
        break;
    }
}

}  // namespace

bool showsTooSmallNotice(Size size) {
    const Size minimum = WorkspaceLayout::minimumSize;
    return size.width < minimum.width || size.height < minimum.height;
}

RenderedFrame draw(const AppState& state, Size size, const Theme& theme, std::int64_t tick, bool monochrome,
                   const Keymap& keymap, DiffLineCache* diffLines) {
    UIFrame frame(size, state.viewports, ThemeStyles(theme, monochrome), state.language, state.now,
                  std::max<std::int64_t>(tick, 0), keymap);
    frame.diffLines = diffLines;
    frame.canvas.fill(frame.canvas.bounds(), frame.styles.background);
    if (showsTooSmallNotice(size)) {
        drawTooSmall(frame, size);
    } else {
        const WorkspaceLayout layout = layoutFor(state, size);
        drawBase(frame, state, layout);
        if (state.overlay) {
            frame.cursor.reset();
            OverlayDispatch::draw(frame, *state.overlay, state, layout);
        }
    }
    return RenderedFrame{std::move(frame.canvas).grid(), frame.cursor, frame.viewports, std::move(frame.hits)};
}

}  // namespace tarv::ui::AppView
