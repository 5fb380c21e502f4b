#include "TarvTerminal/Text/DisplayWidth.hpp"

#include <utf8proc.h>

#include "TarvTerminal/Text/AsciiScan.hpp"
#include "TarvTerminal/Text/Grapheme.hpp"

namespace tarv::terminal {
namespace {

bool isListedZeroWidth(char32_t c) {
    return DisplayWidth::isControl(c) || (c >= 0x0300 && c <= 0x036F) || (c >= 0x200B && c <= 0x200F) ||
           c == 0x2060 || (c >= 0x20D0 && c <= 0x20FF) || (c >= 0xFE00 && c <= 0xFE0F);
}

// The running width of a cluster after one more scalar.
inline std::int64_t addScalar(std::int64_t running, char32_t c) {
    if (c == 0xFE0F) return 2;
    const int w = DisplayWidth::width(c);
    if (w == 0) return running;
    if (w == 2) return 2;
    return running < 1 ? 1 : running;
}

}  // namespace

int DisplayWidth::width(char32_t c) {
    if (c < 0x7F) return c < 0x20 ? 0 : 1;
    if (isListedZeroWidth(c)) return 0;
    if (c > 0x10FFFF) return 1;
    // Regional indicators have emoji presentation; terminals draw them (and
    // the flags they pair into) two columns wide.
    if (c >= 0x1F1E6 && c <= 0x1F1FF) return 2;
    // Supplementary and tertiary ideographic planes, assigned or not.
    if (c >= 0x20000 && c <= 0x3FFFD) return 2;
    const int w = utf8proc_charwidth(static_cast<utf8proc_int32_t>(c));
    return w < 0 ? 0 : (w > 2 ? 2 : w);
}

bool GraphemeCursor::nextSlow(Grapheme& out) {
    const std::size_t start = position_;
    Utf8::Decoded d = Utf8::decode(text_, position_);
    position_ += d.length;
    bool valid = d.valid;
    std::int64_t running = addScalar(0, d.scalar);
    auto previous = static_cast<utf8proc_int32_t>(d.scalar);
    utf8proc_int32_t state = 0;
    while (position_ < text_.size()) {
        d = Utf8::decode(text_, position_);
        const auto scalar = static_cast<utf8proc_int32_t>(d.scalar);
        if (utf8proc_grapheme_break_stateful(previous, scalar, &state)) break;
        valid = valid && d.valid;
        running = addScalar(running, d.scalar);
        previous = scalar;
        position_ += d.length;
    }
    out = Grapheme{text_.substr(start, position_ - start), running, valid};
    return true;
}

std::int64_t DisplayWidth::characterWidth(std::string_view character) {
    if (character == "\r\n") return 0;
    std::int64_t running = 0;
    std::size_t i = 0;
    while (i < character.size()) {
        const Utf8::Decoded d = Utf8::decode(character, i);
        running = addScalar(running, d.scalar);
        i += d.length;
    }
    return running;
}

std::int64_t DisplayWidth::width(std::string_view text) {
    std::int64_t total = 0;
    std::size_t i = 0;
    const std::size_t n = text.size();
    Grapheme g;
    while (i < n) {
        std::size_t run = detail::printableAsciiRun(text.data() + i, n - i);
        // The last character of a run may combine with what follows it.
        if (run > 0 && i + run < n && static_cast<unsigned char>(text[i + run]) >= 0x80) --run;
        if (run > 0) {
            total += static_cast<std::int64_t>(run);
            i += run;
            continue;
        }
        GraphemeCursor cursor(text, i);
        cursor.next(g);
        total += g.width;
        i = cursor.position();
    }
    return total;
}

}  // namespace tarv::terminal
