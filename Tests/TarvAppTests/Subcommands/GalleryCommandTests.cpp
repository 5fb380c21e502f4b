#include <gtest/gtest.h>

#include "TarvApp/Subcommands/Gallery/GalleryCommand.hpp"

namespace tarv::app {
namespace {

using GalleryCommand::Position;
using GalleryCommand::Redraw;
using terminal::InputEvent;
using terminal::KeyCode;
using terminal::KeyEvent;
using terminal::Modifiers;

InputEvent key(std::string text, Modifiers modifiers = {}) {
    return InputEvent::key(KeyEvent::character(std::move(text), modifiers));
}
InputEvent special(KeyCode code) { return InputEvent::key(KeyEvent{std::move(code), {}}); }

Position at(std::int64_t page, ui::Theme theme = ui::Theme::dark, bool caption = true) {
    return Position{page, caption, theme, false};
}

TEST(GalleryCommand, KeysTurnPagesSwitchThemeAndCaptionOrLeave) {
    struct Case {
        std::string name;
        Position before;
        InputEvent event;
        Position after;
        Redraw redraw;
    };
    Position leaving = at(3);
    leaving.leave = true;
    const Case cases[] = {
        {"space", at(0), key(" "), at(1), Redraw::changed},
        {"l", at(4), key("l"), at(5), Redraw::changed},
        {"right", at(4), special(KeyCode{KeyCode::Right{}}), at(5), Redraw::changed},
        {"tab", at(4), special(KeyCode{KeyCode::Tab{}}), at(5), Redraw::changed},
        {"space on the last page wraps", at(9), key(" "), at(0), Redraw::changed},
        {"h on the first page wraps", at(0), key("h"), at(9), Redraw::changed},
        {"left", at(2), special(KeyCode{KeyCode::Left{}}), at(1), Redraw::changed},
        {"back-tab", at(2), special(KeyCode{KeyCode::BackTab{}}), at(1), Redraw::changed},
        {"t from dark", at(3), key("t"), at(3, ui::Theme::light), Redraw::whole},
        {"t from light", at(3, ui::Theme::light), key("t"), at(3), Redraw::whole},
        {"i hides the caption", at(3), key("i"), at(3, ui::Theme::dark, false), Redraw::changed},
        {"q", at(3), key("q"), leaving, Redraw::none},
        {"ctrl-c", at(3), key("c", Modifiers::control), leaving, Redraw::none},
        {"escape", at(3), special(KeyCode{KeyCode::Escape{}}), leaving, Redraw::none},
        {"terminate", at(3), InputEvent::terminate(), leaving, Redraw::none},
        {"plain c", at(3), key("c"), at(3), Redraw::none},
        {"alt-l", at(3), key("l", Modifiers::alt), at(3), Redraw::none},
        {"other key", at(3), key("x"), at(3), Redraw::none},
        {"enter", at(3), special(KeyCode{KeyCode::Enter{}}), at(3), Redraw::none},
        {"click", at(3),
         InputEvent::mouse(terminal::MouseEvent{
             terminal::MouseEvent::Kind::press(terminal::MouseEvent::Button::left), {1, 1}, {}}),
         at(3), Redraw::none},
        {"paste", at(3), InputEvent::paste("l"), at(3), Redraw::none},
        {"resize", at(3), InputEvent::resize({90, 30}), at(3), Redraw::whole},
    };
    for (const Case& c : cases) {
        Position position = c.before;
        EXPECT_EQ(GalleryCommand::handle(position, c.event, 10), c.redraw) << c.name;
        EXPECT_EQ(position, c.after) << c.name;
    }
}

}  // namespace
}  // namespace tarv::app
