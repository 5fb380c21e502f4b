#pragma once

#include <string>
#include <string_view>

namespace tarv::terminal::InertText {

// `text` as the interface would draw it on one row, for printing outside
// the interface: tabs expanded, every control character (C0, DEL, C1; so
// ESC, and with it every CSI, OSC or DCS sequence, and line breaks) shown as
// "·", invalid UTF-8 as U+FFFD, and characters that take no column on their
// own (bidi controls and other format characters, lone combining marks)
// left out. Printing the result can neither start an escape sequence nor
// reorder what follows it.
std::string line(std::string_view text);

}  // namespace tarv::terminal::InertText
