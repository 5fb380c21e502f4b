#pragma once

#include <string>
#include <string_view>

namespace tarv::engine {

// Writes a path the way git writes it in the header lines of a patch, so that
// `git apply` reads back exactly that path. With the engine's
// core.quotePath=false, git puts a name between double quotes only when it
// holds a control character (below 0x20, or DEL), a double quote or a
// backslash; inside the quotes those are escaped C-style (\t, \n, \", \\, or
// three octal digits). Bytes from 0x80 up stay as they are, so a Latin-1 or
// UTF-8 name keeps its bytes.
struct GitPathQuoting {
    // Whether git would quote this path.
    static bool needsQuotes(std::string_view path);

    // `prefix` + `path` (prefix "a/" or "b/"), between quotes as one name
    // when the path needs them: ("a/", "t<TAB>ab") gives "\"a/t\\tab\"".
    static std::string name(std::string_view prefix, std::string_view path);
};

}  // namespace tarv::engine
