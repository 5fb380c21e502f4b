#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "TarvTerminal/Text/Utf8.hpp"

namespace tarv::terminal {

// One user-perceived character (extended grapheme cluster) of a text, with
// its display width. A cluster holding invalid UTF-8 is flagged; it is shown
// and copied with U+FFFD in place of the invalid bytes.
struct Grapheme {
    std::string_view bytes;
    std::int64_t width = 0;
    bool isValid = true;

    void appendTo(std::string& out) const {
        if (isValid) {
            out.append(bytes);
        } else {
            Utf8::appendRepaired(out, bytes);
        }
    }
    std::string text() const {
        std::string out;
        appendTo(out);
        return out;
    }
};

// Walks a UTF-8 text one grapheme cluster at a time. Plain ASCII is stepped
// through without a table lookup.
class GraphemeCursor {
public:
    explicit GraphemeCursor(std::string_view text, std::size_t position = 0) : text_(text), position_(position) {}

    bool next(Grapheme& out) {
        if (position_ >= text_.size()) return false;
        const auto b = static_cast<unsigned char>(text_[position_]);
        if (b < 0x80) {
            const std::size_t after = position_ + 1;
            if (after == text_.size() || static_cast<unsigned char>(text_[after]) < 0x80) {
                if (b == '\r' && after < text_.size() && text_[after] == '\n') {
                    out = Grapheme{text_.substr(position_, 2), 0, true};
                    position_ += 2;
                    return true;
                }
                out = Grapheme{text_.substr(position_, 1), (b >= 0x20 && b < 0x7F) ? 1 : 0, true};
                position_ = after;
                return true;
            }
        }
        return nextSlow(out);
    }

    std::size_t position() const { return position_; }
    void seek(std::size_t position) { position_ = position; }

private:
    bool nextSlow(Grapheme& out);

    std::string_view text_;
    std::size_t position_;
};

}  // namespace tarv::terminal
