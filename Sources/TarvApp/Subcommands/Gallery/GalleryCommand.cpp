#include "TarvApp/Subcommands/Gallery/GalleryCommand.hpp"

#include <variant>

#include "TarvApp/Subcommands/Gallery/GallerySamples.hpp"
#include "TarvSystem/Clock/SystemClock.hpp"
#include "TarvTerminal/Backend/TerminalError.hpp"
#include "TarvTerminal/Render/FrameRenderer.hpp"
#include "TarvTerminal/Runtime/TerminalSession.hpp"
#include "TarvUI/Screens/AppView.hpp"

namespace tarv::app::GalleryCommand {
namespace {

using terminal::InputEvent;
using terminal::KeyCode;
using terminal::Modifiers;

Redraw turn(Position& position, std::int64_t by, std::int64_t pageCount) {
    position.page = ((position.page + by) % pageCount + pageCount) % pageCount;
    return Redraw::changed;
}

Redraw character(Position& position, const std::string& text, Modifiers modifiers, std::int64_t pageCount) {
    if (modifiers == Modifiers::control) {
        if (text == "c") position.leave = true;
        return Redraw::none;
    }
    if (modifiers != Modifiers{}) return Redraw::none;
    if (text == " " || text == "l") return turn(position, 1, pageCount);
    if (text == "h") return turn(position, -1, pageCount);
    if (text == "t") {
        position.theme = position.theme == ui::Theme::dark ? ui::Theme::light : ui::Theme::dark;
        return Redraw::whole;
    }
    if (text == "i") {
        position.caption = !position.caption;
        return Redraw::changed;
    }
    if (text == "q") position.leave = true;
    return Redraw::none;
}

Redraw special(Position& position, const KeyCode& code, std::int64_t pageCount) {
    if (std::holds_alternative<KeyCode::Right>(code.value) || std::holds_alternative<KeyCode::Tab>(code.value)) {
        return turn(position, 1, pageCount);
    }
    if (std::holds_alternative<KeyCode::Left>(code.value) || std::holds_alternative<KeyCode::BackTab>(code.value)) {
        return turn(position, -1, pageCount);
    }
    if (std::holds_alternative<KeyCode::Escape>(code.value)) position.leave = true;
    return Redraw::none;
}

}  // namespace

Redraw handle(Position& position, const InputEvent& event, std::int64_t pageCount) {
    if (event.is<InputEvent::Terminate>()) {
        position.leave = true;
        return Redraw::none;
    }
    if (event.is<InputEvent::Resize>()) return Redraw::whole;
    const auto* key = event.get<InputEvent::Key>();
    if (key == nullptr) return Redraw::none;
    if (const std::string* text = key->event.code.characterText()) {
        return character(position, *text, key->event.modifiers, pageCount);
    }
    return special(position, key->event.code, pageCount);
}

int run(const RuntimeOptions& options) {
    terminal::TerminalSession session(terminal::TerminalSession::Options{options.mouse, true, true});
    std::shared_ptr<terminal::InputEventStream> events;
    try {
        events = session.start();
    } catch (const terminal::TerminalError&) {
        return 1;
    }
    terminal::FrameRenderer renderer(options.colorSupport);
    std::vector<GallerySamples::Page> pages =
        GallerySamples::pages(options.language, system::SystemClock().unixTime());
    const auto count = static_cast<std::int64_t>(pages.size());
    Position position;
    position.theme = options.theme;

    const auto draw = [&] {
        features::AppState state = pages[static_cast<std::size_t>(position.page)].state;
        if (position.caption) {
            const std::string title = pages[static_cast<std::size_t>(position.page)].title.render(options.language);
            state.toast = features::Toast{0, core::Text::galleryHint(position.page + 1, count, title), false};
        }
        const ui::RenderedFrame frame = ui::AppView::draw(state, session.size(), position.theme, 0,
                                                          options.colorSupport == terminal::ColorSupport::none,
                                                          options.keymap);
        const std::string bytes = renderer.render(frame.grid, std::nullopt);
        if (!bytes.empty()) session.write(bytes);
    };

    draw();
    while (auto event = events->next()) {
        const Redraw redraw = handle(position, *event, count);
        if (position.leave) break;
        if (redraw == Redraw::none) continue;
        if (redraw == Redraw::whole) renderer.invalidate();
        draw();
    }
    session.stop();
    return 0;
}

}  // namespace tarv::app::GalleryCommand
