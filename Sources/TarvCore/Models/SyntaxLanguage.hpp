#pragma once

#include <optional>
#include <string_view>
#include <unordered_set>

namespace tarv::core {

// The languages the diff view colours.
enum class SyntaxLanguage { swift, cLike, go, rust, javascript, python, ruby, shell, json, yaml, sql };

// The language of a file from its name (a few whole names such as Makefile or
// Gemfile, else the lower-cased extension); none when it is not known.
std::optional<SyntaxLanguage> detectSyntaxLanguage(std::string_view path);

// The language's keywords; built once, on first use, and shared. SQL's are
// lower case and matched without regard to case.
const std::unordered_set<std::string_view>& syntaxKeywords(SyntaxLanguage language);

// The characters that open and close a string in the language.
std::string_view syntaxStringDelimiters(SyntaxLanguage language);

}  // namespace tarv::core
