#include "TarvSystem/IPC/AskpassWire.hpp"

namespace tarv::system::AskpassWire {

bool isWithinLimits(std::string_view text) {
    if (text.size() >= maxLineBytes) return false;
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        switch (c) {
            case '"': inString = true; break;
            case '[':
            case '{':
                if (++depth > maxNesting) return false;
                break;
            case ']':
            case '}': --depth; break;
            default: break;
        }
    }
    return true;
}

}  // namespace tarv::system::AskpassWire
