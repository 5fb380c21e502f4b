#include "TarvEngine/Parsers/GitFailureClassifier.hpp"

#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "TarvCore/Text/Split.hpp"
#include "TarvCore/Text/Trim.hpp"
#include "TarvCore/Text/Unicode.hpp"

namespace tarv::engine {

namespace {

using core::RemoteFailure;

bool containsAny(const std::string& lower, std::initializer_list<std::string_view> phrases) {
    for (std::string_view phrase : phrases) {
        if (lower.find(phrase) != std::string::npos) return true;
    }
    return false;
}

bool isTokenSeparator(char c) { return c == ' ' || c == '\n' || c == '\t' || c == '\r'; }

bool isTrimmedFromURL(char c) {
    switch (c) {
        case '\'': case '"': case '<': case '>': case '(': case ')': case '.': case ',': case ';':
            return true;
        default:
            return false;
    }
}

// The first "https://" address in the text, from the words after `after`
// (when given) on, that contains `containing` (when given).
std::optional<std::string> url(std::string_view text, std::optional<std::string_view> containing,
                               std::optional<std::string_view> after) {
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isTokenSeparator(text[i])) ++i;
        std::size_t start = i;
        while (i < text.size() && !isTokenSeparator(text[i])) ++i;
        if (i > start) tokens.push_back(text.substr(start, i - start));
    }

    std::size_t start = 0;
    if (after) {
        std::string lowerAfter = core::text::lowercased(*after);
        auto words = core::text::split(std::string_view(lowerAfter), ' ');
        bool found = false;
        for (std::size_t position = 0; position < tokens.size() && !found; ++position) {
            bool matches = true;
            for (std::size_t k = 0; k < words.size(); ++k) {
                if (position + k >= tokens.size() ||
                    !core::text::lowercased(tokens[position + k]).starts_with(words[k])) {
                    matches = false;
                    break;
                }
            }
            if (matches) {
                start = position + words.size();
                found = true;
            }
        }
        if (!found) return std::nullopt;
    }

    for (std::size_t k = start; k < tokens.size(); ++k) {
        std::string_view token = tokens[k];
        while (!token.empty() && isTrimmedFromURL(token.front())) token.remove_prefix(1);
        while (!token.empty() && isTrimmedFromURL(token.back())) token.remove_suffix(1);
        if (!token.starts_with("https://")) continue;
        if (containing && token.find(*containing) == std::string_view::npos) continue;
        return std::string(token);
    }
    return std::nullopt;
}

}  // namespace

RemoteFailure GitFailureClassifier::classify(std::string_view text) {
    const std::string lower = core::text::lowercased(text);

    if (containsAny(lower, {"git-lfs filesystem not found", "configured for git lfs but 'git-lfs' was not found",
                            "'lfs' is not a git command"}))
        return RemoteFailure::lfsMissing();
    if (containsAny(lower, {"gpg failed to sign", "cannot run gpg", "failed to sign the data", "error: load key"}))
        return RemoteFailure::signingFailed();
    if (containsAny(lower, {"saml sso", "saml enforcement", "single sign-on"}))
        return RemoteFailure::ssoRequired(url(text, "/sso", std::nullopt));
    if (containsAny(lower, {"this repository moved", "repository has moved"}))
        return RemoteFailure::repositoryMoved(url(text, std::nullopt, "new location"));
    if (containsAny(lower, {"permission denied (publickey"})) return RemoteFailure::sshKeyMissing();
    if (containsAny(lower, {"host key verification failed", "remote host identification has changed"}))
        return RemoteFailure::hostKeyChanged();
    if (containsAny(lower, {"could not read username", "could not read password", "authentication failed",
                            "invalid username or password", "terminal prompts disabled", "returned error: 401",
                            "bad credentials"}))
        return RemoteFailure::authenticationFailed();
    if (containsAny(lower, {"returned error: 403", "permission to", "access denied", "denied to"}))
        return RemoteFailure::permissionDenied();
    if (containsAny(lower, {"repository not found", "returned error: 404", "does not appear to be a git repository"}) ||
        (lower.find("repository '") != std::string::npos && lower.find("not found") != std::string::npos))
        return RemoteFailure::repositoryNotFound();
    if (containsAny(lower, {"could not resolve host", "network is unreachable", "connection timed out",
                            "failed to connect", "connection refused", "operation timed out", "could not connect"}))
        return RemoteFailure::networkUnavailable();
    if (containsAny(lower, {"divergent branches", "not possible to fast-forward", "need to specify how to reconcile"}))
        return RemoteFailure::divergentBranches();
    if (containsAny(lower, {"non-fast-forward", "fetch first", "tip of your current branch is behind", "[rejected]"}))
        return RemoteFailure::nonFastForward();
    if (containsAny(lower, {"has no upstream branch", "no tracking information", "no upstream configured"}))
        return RemoteFailure::noUpstream();
    if (containsAny(lower, {"no configured push destination", "no remote repository specified", "no such remote"}))
        return RemoteFailure::noRemote();
    if (containsAny(lower, {"hook declined", "pre-receive hook", "pre-push hook", "hook rejected"}))
        return RemoteFailure::hookRejected();

    auto lines = core::text::split(text, '\n');
    if (lines.empty()) return RemoteFailure::other("");
    return RemoteFailure::other(core::text::trimmed(lines.front()));
}

std::optional<RemoteFailure> GitFailureClassifier::classifyLocal(std::string_view text) {
    RemoteFailure failure = classify(text);
    if (std::holds_alternative<RemoteFailure::LfsMissing>(failure.value) ||
        std::holds_alternative<RemoteFailure::SigningFailed>(failure.value))
        return failure;
    return std::nullopt;
}

}  // namespace tarv::engine
