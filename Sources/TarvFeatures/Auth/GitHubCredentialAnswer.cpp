#include "TarvFeatures/Auth/GitHubCredentialAnswer.hpp"

#include "TarvCore/Models/HostingDefaults.hpp"
#include "TarvCore/Text/Unicode.hpp"

namespace tarv::features::GitHubCredentialAnswer {

namespace {

constexpr std::string_view scheme = "https://";

bool startsWithHTTPS(std::string_view text) {
    if (text.size() < scheme.size()) return false;
    for (std::size_t i = 0; i < scheme.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != scheme[i]) return false;
    }
    return true;
}

}  // namespace

std::optional<std::string> host(std::string_view subject) {
    if (!startsWithHTTPS(subject)) return std::nullopt;
    std::string_view authority = subject.substr(scheme.size());
    // The authority ends where the path, the query or the fragment begins
    // (a backslash counts as a path separator too). Ending it only at "/"
    // would read "https://evil.example?@host/" as naming "host".
    authority = authority.substr(0, authority.find_first_of("/?#\\"));
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
        authority = authority.substr(at + 1);
    }
    authority = authority.substr(0, authority.find(':'));
    return core::text::lowercased(authority);
}

std::optional<std::string> answer(const core::CredentialPrompt& prompt, const core::GitHubSession& session) {
    // ssh's prompts are never answered, whatever they say: an SSH server
    // may word its own questions exactly like git's.
    if (prompt.asker != core::CredentialPrompt::Asker::git) return std::nullopt;
    if (!prompt.subject) return std::nullopt;
    if (host(*prompt.subject) != core::HostingDefaults::webHost) return std::nullopt;
    switch (prompt.kind) {
        case core::CredentialPrompt::Kind::username:
            return session.login;
        case core::CredentialPrompt::Kind::password:
            return session.token;
        case core::CredentialPrompt::Kind::passphrase:
        case core::CredentialPrompt::Kind::confirmation:
            break;
    }
    return std::nullopt;
}

}  // namespace tarv::features::GitHubCredentialAnswer
