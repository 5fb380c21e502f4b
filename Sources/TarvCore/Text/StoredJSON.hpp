#pragma once

#include <nlohmann/json_fwd.hpp>

#include <string_view>

namespace tarv::core::text {

// The program's own JSON files (the repository registry, the keymap, the
// keychain stand-in's items) nest three levels deep; anything much deeper
// was not written by us and is refused before it is parsed.
inline constexpr int storedJSONMaxDepth = 32;

// Parses the text of a stored JSON file without exceptions: a document that
// is not JSON, or whose arrays and objects nest deeper than
// `storedJSONMaxDepth`, gives a discarded value (`is_discarded()`), so each
// reader takes its usual fallback. The depth is checked by a scan of the raw
// text first: the parser, the printer and comparisons of nlohmann::json
// recurse once per level, so a file's nesting never becomes the program's
// recursion depth.
nlohmann::json parseStoredJSON(std::string_view text);

}  // namespace tarv::core::text
