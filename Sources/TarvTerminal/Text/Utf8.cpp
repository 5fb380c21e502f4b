#include "TarvTerminal/Text/Utf8.hpp"

namespace tarv::terminal::Utf8 {

void appendRepaired(std::string& out, std::string_view bytes) {
    std::size_t i = 0;
    std::size_t runStart = 0;
    while (i < bytes.size()) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const Decoded d = decode(bytes, i);
        if (d.valid) {
            i += d.length;
            continue;
        }
        out.append(bytes.substr(runStart, i - runStart));
        append(out, replacementCharacter);
        i += d.length;
        runStart = i;
    }
    out.append(bytes.substr(runStart));
}

std::string repaired(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    appendRepaired(out, bytes);
    return out;
}

bool isValid(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const Decoded d = decode(bytes, i);
        if (!d.valid) return false;
        i += d.length;
    }
    return true;
}

}  // namespace tarv::terminal::Utf8
