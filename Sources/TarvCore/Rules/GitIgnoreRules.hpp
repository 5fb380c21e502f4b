#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarv::core::GitIgnoreRules {

// The message of the refusal to ignore a path that holds a line break.
inline constexpr std::string_view lineBreakInPathMessage =
    "No se puede ignorar una ruta que contiene un salto de línea";

// One .gitignore line (without line break) that ignores exactly this path,
// relative to the repository root: anchored with a leading "/", with "\", "*",
// "?" and "[" escaped and a trailing run of spaces kept by escaping each.
// A path holding a line feed or carriage return cannot be written as one
// line: throws GitError::invalidArgument (lineBreakInPathMessage).
std::string entry(std::string_view path);

// The content with the line appended (after a line break when the content
// does not end with one), or none when a line of the content already equals
// it. Lines end at LF or CR LF; bytes are kept as they are.
std::optional<std::string> adding(std::string_view line, std::string_view content);

}  // namespace tarv::core::GitIgnoreRules
