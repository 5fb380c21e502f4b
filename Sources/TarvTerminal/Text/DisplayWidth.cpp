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

// The width of a scalar from its Unicode properties (looked up once by the
// caller).
inline int scalarWidth(char32_t c, const utf8proc_property_t* property) {
    if (c < 0x7F) return c < 0x20 ? 0 : 1;
    if (isListedZeroWidth(c)) return 0;
    if (c > 0x10FFFF) return 1;
    // Regional indicators have emoji presentation; terminals draw them (and
    // the flags they pair into) two columns wide.
    if (c >= 0x1F1E6 && c <= 0x1F1FF) return 2;
    // Supplementary and tertiary ideographic planes, assigned or not.
    if (c >= 0x20000 && c <= 0x3FFFD) return 2;
    const int w = static_cast<int>(property->charwidth);
    return w > 2 ? 2 : w;
}

inline const utf8proc_property_t* propertyOf(char32_t c) {
    return utf8proc_get_property(static_cast<utf8proc_int32_t>(c));
}

// The running width of a cluster after one more scalar of width `w`.
inline std::int64_t addScalar(std::int64_t running, char32_t c, int w) {
    if (c == 0xFE0F) return 2;
    if (w == 0) return running;
    if (w == 2) return 2;
    return running < 1 ? 1 : running;
}

enum : int {
    kOther = UTF8PROC_BOUNDCLASS_OTHER,
    kCR = UTF8PROC_BOUNDCLASS_CR,
    kLF = UTF8PROC_BOUNDCLASS_LF,
    kControl = UTF8PROC_BOUNDCLASS_CONTROL,
    kExtend = UTF8PROC_BOUNDCLASS_EXTEND,
    kL = UTF8PROC_BOUNDCLASS_L,
    kV = UTF8PROC_BOUNDCLASS_V,
    kT = UTF8PROC_BOUNDCLASS_T,
    kLV = UTF8PROC_BOUNDCLASS_LV,
    kLVT = UTF8PROC_BOUNDCLASS_LVT,
    kRegional = UTF8PROC_BOUNDCLASS_REGIONAL_INDICATOR,
    kSpacingMark = UTF8PROC_BOUNDCLASS_SPACINGMARK,
    kPrepend = UTF8PROC_BOUNDCLASS_PREPEND,
    kZWJ = UTF8PROC_BOUNDCLASS_ZWJ,
    kPictographic = UTF8PROC_BOUNDCLASS_EXTENDED_PICTOGRAPHIC,
};

// Extended grapheme cluster boundaries (UAX #29) inside one cluster, with
// the little state the pictographic and regional-indicator rules need.
struct ClusterState {
    int previous = kOther;
    bool oddRegional = false;   // the cluster ends in an unpaired regional indicator
    int pictographic = 0;       // 1: Pictographic Extend*, 2: the same followed by ZWJ

    void start(int cls) {
        previous = cls;
        oddRegional = cls == kRegional;
        pictographic = cls == kPictographic ? 1 : 0;
    }

    bool breaksBefore(int next) const {
        const int prev = previous;
        if (prev == kCR && next == kLF) return false;
        if (prev == kCR || prev == kLF || prev == kControl) return true;
        if (next == kCR || next == kLF || next == kControl) return true;
        if (prev == kL && (next == kL || next == kV || next == kLV || next == kLVT)) return false;
        if ((prev == kLV || prev == kV) && (next == kV || next == kT)) return false;
        if ((prev == kLVT || prev == kT) && next == kT) return false;
        if (next == kExtend || next == kZWJ || next == kSpacingMark) return false;
        if (prev == kPrepend) return false;
        if (next == kPictographic && prev == kZWJ && pictographic == 2) return false;
        if (prev == kRegional && next == kRegional && oddRegional) return false;
        return true;
    }

    void add(int cls) {
        oddRegional = cls == kRegional ? !oddRegional : false;
        if (cls == kPictographic) {
            pictographic = 1;
        } else if (cls == kExtend && pictographic == 1) {
            pictographic = 1;
        } else if (cls == kZWJ && pictographic == 1) {
            pictographic = 2;
        } else {
            pictographic = 0;
        }
        previous = cls;
    }
};

}  // namespace

int DisplayWidth::width(char32_t c) {
    if (c < 0x7F) return c < 0x20 ? 0 : 1;
    return scalarWidth(c, propertyOf(c));
}

bool GraphemeCursor::nextSlow(Grapheme& out) {
    const std::size_t start = position_;
    Utf8::Decoded d = Utf8::decode(text_, position_);
    position_ += d.length;
    bool valid = d.valid;
    const utf8proc_property_t* property = propertyOf(d.scalar);
    std::int64_t running = addScalar(0, d.scalar, scalarWidth(d.scalar, property));
    ClusterState state;
    state.start(static_cast<int>(property->boundclass));
    while (position_ < text_.size()) {
        d = Utf8::decode(text_, position_);
        property = propertyOf(d.scalar);
        const int cls = static_cast<int>(property->boundclass);
        if (state.breaksBefore(cls)) break;
        state.add(cls);
        valid = valid && d.valid;
        running = addScalar(running, d.scalar, scalarWidth(d.scalar, property));
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
        running = addScalar(running, d.scalar, DisplayWidth::width(d.scalar));
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
