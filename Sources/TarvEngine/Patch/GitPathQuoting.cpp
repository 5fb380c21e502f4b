#include "TarvEngine/Patch/GitPathQuoting.hpp"

namespace tarv::engine {

namespace {

bool quotedByGit(unsigned char c) { return c < 0x20 || c == 0x7f || c == '"' || c == '\\'; }

}  // namespace

bool GitPathQuoting::needsQuotes(std::string_view path) {
    for (char c : path) {
        if (quotedByGit(static_cast<unsigned char>(c))) return true;
    }
    return false;
}

std::string GitPathQuoting::name(std::string_view prefix, std::string_view path) {
    std::string out;
    if (!needsQuotes(path)) {
        out.reserve(prefix.size() + path.size());
        out.append(prefix);
        out.append(path);
        return out;
    }
    out.reserve(prefix.size() + path.size() + 8);
    out.push_back('"');
    for (std::string_view part : {prefix, path}) {
        for (char c : part) {
            const auto byte = static_cast<unsigned char>(c);
            if (!quotedByGit(byte)) {
                out.push_back(c);
                continue;
            }
            out.push_back('\\');
            switch (byte) {
                case '\a':
                    out.push_back('a');
                    break;
                case '\b':
                    out.push_back('b');
                    break;
                case '\t':
                    out.push_back('t');
                    break;
                case '\n':
                    out.push_back('n');
                    break;
                case '\v':
                    out.push_back('v');
                    break;
                case '\f':
                    out.push_back('f');
                    break;
                case '\r':
                    out.push_back('r');
                    break;
                case '"':
                    out.push_back('"');
                    break;
                case '\\':
                    out.push_back('\\');
                    break;
                default:
                    out.push_back(static_cast<char>('0' + ((byte >> 6) & 7)));
                    out.push_back(static_cast<char>('0' + ((byte >> 3) & 7)));
                    out.push_back(static_cast<char>('0' + (byte & 7)));
                    break;
            }
        }
    }
    out.push_back('"');
    return out;
}

}  // namespace tarv::engine
