#include <gtest/gtest.h>

#include <unordered_set>

#include "TarvTerminal/Input/InputEvent.hpp"

namespace tarv::terminal {
namespace {

TEST(InputEvents, EqualityComparesCodeAndExactModifiers) {
    EXPECT_EQ(KeyEvent::character("a"), (KeyEvent{KeyCode::character("a"), Modifiers{}}));
    EXPECT_NE(KeyEvent::character("a"), KeyEvent::character("a", Modifiers::control));
    EXPECT_NE(KeyEvent::character("a", Modifiers{Modifiers::control, Modifiers::shift}),
              KeyEvent::character("a", Modifiers::control));
    EXPECT_EQ((Modifiers{Modifiers::shift, Modifiers::control}).rawValue, 5);
    EXPECT_NE(KeyCode::function(1), KeyCode::function(2));
    EXPECT_NE(KeyCode::function(1), KeyCode::enter());
    EXPECT_NE(MouseEvent::Kind::press(MouseEvent::Button::left), MouseEvent::Kind::drag(MouseEvent::Button::left));
    EXPECT_EQ(MouseEvent::Kind::release(), MouseEvent::Kind::release());
}

TEST(InputEvents, KeyCodesHashByCaseAndPayload) {
    std::unordered_set<KeyCode> set{KeyCode::character("a"), KeyCode::character("b"), KeyCode::function(1),
                                    KeyCode::function(2), KeyCode::enter(), KeyCode::tab()};
    EXPECT_EQ(set.size(), 6u);
    EXPECT_TRUE(set.contains(KeyCode::character("a")));
    EXPECT_FALSE(set.contains(KeyCode::function(3)));
}

}  // namespace
}  // namespace tarv::terminal
