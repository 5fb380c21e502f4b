#include <algorithm>
#include <string>

#include "TarvFeatures/Overlay/CoAuthorPromptState.hpp"
#include "TarvFeatures/Overlay/NewBranchState.hpp"
#include "TarvFeatures/Overlay/PathPromptState.hpp"
#include "TarvUI/Components/DialogFrame.hpp"
#include "TarvUI/Components/DialogViews.hpp"

namespace tarv::ui::DialogViews {

using features::OverlayAction;
using terminal::Point;
using terminal::Rect;

namespace {

// A sample co-author, shown while the field is empty.
constexpr std::string_view coAuthorSample = "Ada Lovelace <ada@example.com>";
constexpr std::string_view pathSample = "~/Developer/mi-proyecto";

Rect field(const Rect& content, std::int64_t y) { return Rect(content.minX(), y, content.size.width, 1); }

void line(UIFrame& frame, const std::string& text, const Rect& content, std::int64_t y, const terminal::Style& style) {
    frame.canvas.draw(text, Point{content.minX(), y}, style, content.size.width);
}

}  // namespace

void newBranch(UIFrame& frame, const features::NewBranchState& prompt) {
    const terminal::Size screen = frame.canvas.bounds().size;
    const Rect box = DialogFrame::centred(screen, std::min<std::int64_t>(screen.width - 2, 60),
                                          std::min<std::int64_t>(screen.height - 2, 9));
    core::Text title = core::Text::newBranchTitle();
    if (prompt.renaming) {
        title = core::Text::renameBranchTitle(*prompt.renaming);
    } else if (prompt.start) {
        title = core::Text::newBranchFromCommit(prompt.start->substr(0, 7));
    }
    const Rect c = DialogFrame::open(frame, box, frame.text(title));
    DialogFrame::textField(frame, field(c, c.minY() + 1), prompt.name, frame.text(core::Text::newBranchPlaceholder()));
    if (!prompt.name.isEmpty()) {
        if (prompt.isValid()) {
            line(frame, frame.text(core::Text::newBranchWillBe(prompt.sanitized())), c, c.minY() + 3,
                 frame.styles.popoverDim);
        } else {
            line(frame, frame.text(core::Text::invalidBranchName()), c, c.minY() + 3, DialogFrame::error(frame.styles));
        }
    }
    const core::Text confirm = prompt.renaming ? core::Text::buttonRename() : core::Text::buttonCreate();
    DialogFrame::drawButtons(frame, {DialogFrame::submit(frame, confirm), DialogFrame::cancel(frame)}, c.minX(),
                             c.maxY() - 1);
}

void addRepository(UIFrame& frame, const features::PathPromptState& prompt) {
    const terminal::Size screen = frame.canvas.bounds().size;
    const Rect box = DialogFrame::centred(screen, std::min<std::int64_t>(screen.width - 2, 70),
                                          std::min<std::int64_t>(screen.height - 2, 10));
    const Rect c = DialogFrame::open(
        frame, box,
        frame.text(prompt.isCreating ? core::Text::createRepositoryTitle() : core::Text::addRepositoryTitle()));
    line(frame, frame.text(prompt.isCreating ? core::Text::createRepositoryPrompt() : core::Text::addRepositoryPrompt()),
         c, c.minY(), frame.styles.popoverDim);
    DialogFrame::textField(frame, field(c, c.minY() + 1), prompt.path, std::string(pathSample));
    if (prompt.error) {
        line(frame, frame.text(*prompt.error), c, c.minY() + 3, DialogFrame::error(frame.styles));
    } else if (prompt.isChecking) {
        line(frame, frame.text(core::Text::loading()), c, c.minY() + 3, frame.styles.popoverDim);
    }
    std::vector<DialogFrame::Button> buttons{
        DialogFrame::submit(frame, prompt.isCreating ? core::Text::buttonCreate() : core::Text::buttonAdd())};
    if (prompt.offersCreate) {
        buttons.push_back({DialogFrame::label(frame, core::Text::createRepositoryHere(), "\u2303N"),
                           DialogFrame::secondary(frame.styles),
                           {DialogFrame::overlayAction(OverlayAction::CreateRepositoryInstead{})}});
    }
    buttons.push_back(DialogFrame::cancel(frame));
    DialogFrame::drawButtons(frame, buttons, c.minX(), c.maxY() - 1);
}

void coAuthor(UIFrame& frame, const features::CoAuthorPromptState& prompt) {
    const terminal::Size screen = frame.canvas.bounds().size;
    const Rect box = DialogFrame::centred(screen, std::min<std::int64_t>(screen.width - 2, 70),
                                          std::min<std::int64_t>(screen.height - 2, 10));
    const Rect c = DialogFrame::open(frame, box, frame.text(core::Text::coAuthorTitle()));
    line(frame, frame.text(core::Text::coAuthorPrompt()), c, c.minY(), frame.styles.popoverDim);
    DialogFrame::textField(frame, field(c, c.minY() + 1), prompt.input, std::string(coAuthorSample));
    if (prompt.error) line(frame, frame.text(*prompt.error), c, c.minY() + 3, DialogFrame::error(frame.styles));
    DialogFrame::drawButtons(frame, {DialogFrame::submit(frame, core::Text::buttonAdd()), DialogFrame::cancel(frame)},
                             c.minX(), c.maxY() - 1);
}

}  // namespace tarv::ui::DialogViews
