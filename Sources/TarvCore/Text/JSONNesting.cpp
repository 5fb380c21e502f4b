#include "TarvCore/Text/JSONNesting.hpp"

namespace tarv::core::text {

bool jsonNestingWithin(std::string_view json, int maxDepth) noexcept {
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : json) {
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
                if (++depth > maxDepth) return false;
                break;
            case ']':
            case '}': --depth; break;
            default: break;
        }
    }
    return true;
}

}  // namespace tarv::core::text
