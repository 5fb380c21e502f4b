#pragma once

#include <algorithm>
#include <string_view>

namespace tarv::hosting {

// Whether the text holds an ASCII control character (U+0000 to U+001F, or
// U+007F). Such text must not reach a request line, a header, a URL or a
// command line: a CR or LF there would end the line early and let the rest
// say something else.
inline bool hasControlCharacter(std::string_view text) noexcept {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

}  // namespace tarv::hosting
