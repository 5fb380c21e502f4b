#include <algorithm>
#include <string>
#include <vector>

#include "TarvFeatures/Overlay/CoAuthorPromptState.hpp"
#include "TarvFeatures/Overlay/NewBranchState.hpp"
#include "TarvFeatures/Overlay/PathPromptState.hpp"
#include "TarvTerminal/Geometry/Layout.hpp"
#include "TarvTerminal/Text/TextWrapping.hpp"
#include "TarvUI/Components/DialogFrame.hpp"
#include "TarvUI/Components/DialogViews.hpp"

namespace tarv::ui::DialogViews {

using features::OverlayAction;
using terminal::Rect;
using terminal::TextWrapping::wrap;

namespace {

// A sample co-author, shown while the field is empty.
constexpr std::string_view coAuthorSample = "Ada Lovelace <ada@example.com>";
constexpr std::string_view pathSample = "~/Developer/mi-proyecto";

// A one-line prompt: a line of explanation (blank in some), the field, a
// blank row, a row for a note or an error, and the buttons at the bottom.
struct PromptRows {
    Rect explanation;
    Rect field;
    Rect note;
    Rect buttons;
};

PromptRows promptRows(const Rect& content) {
    terminal::Layout::RowStack rows(content);
    PromptRows out;
    out.explanation = rows.take();
    out.field = rows.take();
    rows.skip();
    out.note = rows.take();
    out.buttons = rows.takeBottom();
    return out;
}

void line(UIFrame& frame, const std::string& text, const Rect& row, const terminal::Style& style) {
    frame.canvas.draw(text, row.origin, style, row.size.width);
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
    const PromptRows rows = promptRows(DialogFrame::open(frame, box, frame.text(title)));
    DialogFrame::textField(frame, rows.field, prompt.name, frame.text(core::Text::newBranchPlaceholder()));
    if (!prompt.name.isEmpty()) {
        if (prompt.isValid()) {
            line(frame, frame.text(core::Text::newBranchWillBe(prompt.sanitized())), rows.note,
                 frame.styles.popoverDim);
        } else {
            line(frame, frame.text(core::Text::invalidBranchName()), rows.note, DialogFrame::error(frame.styles));
        }
    }
    const core::Text confirm = prompt.renaming ? core::Text::buttonRename() : core::Text::buttonCreate();
    DialogFrame::drawButtons(frame, {DialogFrame::submit(frame, confirm), DialogFrame::cancel(frame)}, rows.buttons);
}

void addRepository(UIFrame& frame, const features::PathPromptState& prompt) {
    const terminal::Size screen = frame.canvas.bounds().size;
    const std::int64_t width = std::min<std::int64_t>(screen.width - 2, 70);
    // An error may run over several lines (git's refusal of a folder comes
    // with its advice): the note rows above the buttons hold three, the box
    // grows for more.
    const auto error = prompt.error ? wrap(DialogFrame::bounded(frame.text(*prompt.error)), width - 4)
                                    : std::vector<std::string>{};
    const auto extra = std::max<std::int64_t>(static_cast<std::int64_t>(error.size()) - 3, 0);
    const Rect box =
        DialogFrame::centred(screen, width, std::min<std::int64_t>(screen.height - 2, 10 + extra));
    const PromptRows rows = promptRows(DialogFrame::open(
        frame, box,
        frame.text(prompt.isCreating ? core::Text::createRepositoryTitle() : core::Text::addRepositoryTitle())));
    line(frame, frame.text(prompt.isCreating ? core::Text::createRepositoryPrompt() : core::Text::addRepositoryPrompt()),
         rows.explanation, frame.styles.popoverDim);
    DialogFrame::textField(frame, rows.field, prompt.path, std::string(pathSample));
    if (prompt.error) {
        const std::int64_t room = std::max<std::int64_t>(rows.buttons.minY() - rows.note.minY() - 1, 1);
        for (std::int64_t i = 0; i < room && i < static_cast<std::int64_t>(error.size()); ++i) {
            const Rect row(rows.note.minX(), rows.note.minY() + i, rows.note.size.width, 1);
            line(frame, error[static_cast<std::size_t>(i)], row, DialogFrame::error(frame.styles));
        }
    } else if (prompt.isChecking) {
        line(frame, frame.text(core::Text::loading()), rows.note, frame.styles.popoverDim);
    }
    std::vector<DialogFrame::Button> buttons{
        DialogFrame::submit(frame, prompt.isCreating ? core::Text::buttonCreate() : core::Text::buttonAdd())};
    if (prompt.offersCreate) {
        buttons.push_back({DialogFrame::label(frame, core::Text::createRepositoryHere(), "\u2303N"),
                           DialogFrame::secondary(frame.styles),
                           {DialogFrame::overlayAction(OverlayAction::CreateRepositoryInstead{})}});
    }
    buttons.push_back(DialogFrame::cancel(frame));
    DialogFrame::drawButtons(frame, buttons, rows.buttons);
}

void coAuthor(UIFrame& frame, const features::CoAuthorPromptState& prompt) {
    const terminal::Size screen = frame.canvas.bounds().size;
    const Rect box = DialogFrame::centred(screen, std::min<std::int64_t>(screen.width - 2, 70),
                                          std::min<std::int64_t>(screen.height - 2, 10));
    const PromptRows rows = promptRows(DialogFrame::open(frame, box, frame.text(core::Text::coAuthorTitle())));
    line(frame, frame.text(core::Text::coAuthorPrompt()), rows.explanation, frame.styles.popoverDim);
    DialogFrame::textField(frame, rows.field, prompt.input, std::string(coAuthorSample));
    if (prompt.error) line(frame, frame.text(*prompt.error), rows.note, DialogFrame::error(frame.styles));
    DialogFrame::drawButtons(frame, {DialogFrame::submit(frame, core::Text::buttonAdd()), DialogFrame::cancel(frame)},
                             rows.buttons);
}

}  // namespace tarv::ui::DialogViews
