#include "TarvCore/Rules/CredentialPromptParser.hpp"

#include "TarvCore/Rules/Trimmed.hpp"
#include "TarvCore/Text/Unicode.hpp"

namespace tarv::core::CredentialPromptParser {

namespace {

using Kind = CredentialPrompt::Kind;

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }
bool startsWith(std::string_view text, std::string_view part) { return text.substr(0, part.size()) == part; }

// The text strictly between the first "'" and the last "'" after it; none when
// there are not two quotes or nothing is between them.
std::optional<std::string> quoted(std::string_view text) {
    const std::size_t open = text.find('\'');
    if (open == std::string_view::npos) return std::nullopt;
    const std::size_t close = text.rfind('\'');
    if (close == open) return std::nullopt;
    if (close == open + 1) return std::nullopt;
    return std::string(text.substr(open + 1, close - open - 1));
}

}  // namespace

Parsed parse(std::string_view prompt) {
    const std::string_view t = trimmedView(prompt);
    const std::string l = text::lowercased(t);
    Parsed result;
    result.subject = quoted(t);
    if (contains(l, "(yes/no") || startsWith(l, "are you sure you want to continue connecting")) {
        result.kind = Kind::confirmation;
    } else if (contains(l, "passphrase") || contains(l, "pin for")) {
        result.kind = Kind::passphrase;
    } else if (startsWith(l, "username")) {
        result.kind = Kind::username;
    } else {
        result.kind = Kind::password;
    }
    return result;
}

}  // namespace tarv::core::CredentialPromptParser
