#include "TarvCore/Rules/RemoteURLParser.hpp"

#include "TarvCore/Models/HostingDefaults.hpp"
#include "TarvCore/Rules/Trimmed.hpp"
#include "TarvCore/Text/Unicode.hpp"

#include <string>
#include <vector>

namespace tarv::core::RemoteURLParser {

namespace {

using Scheme = RemoteURL::Scheme;

struct Components {
    std::optional<std::string> owner;
    std::string name;
};

// Owner and name of a path: the pieces between "/" (empty ones dropped); the
// last is the name without ".git", the ones before it joined are the owner.
std::optional<Components> components(std::string_view path) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t slash = path.find('/', start);
        const std::size_t end = slash == std::string_view::npos ? path.size() : slash;
        if (end > start) pieces.push_back(path.substr(start, end - start));
        if (slash == std::string_view::npos) break;
        start = slash + 1;
    }
    if (pieces.empty()) return std::nullopt;
    std::string_view name = pieces.back();
    if (name.size() >= 4 && name.substr(name.size() - 4) == ".git") name.remove_suffix(4);
    if (name.empty()) return std::nullopt;
    Components result;
    result.name = std::string(name);
    if (pieces.size() > 1) {
        std::string owner;
        for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
            if (i > 0) owner += '/';
            owner += pieces[i];
        }
        result.owner = std::move(owner);
    }
    return result;
}

std::optional<RemoteURL> parseURL(std::string_view schemeWord, std::string_view rest, std::string_view original) {
    Scheme scheme;
    if (schemeWord == "https") {
        scheme = Scheme::https;
    } else if (schemeWord == "http") {
        scheme = Scheme::http;
    } else if (schemeWord == "ssh") {
        scheme = Scheme::ssh;
    } else if (schemeWord == "git") {
        scheme = Scheme::git;
    } else if (schemeWord == "file") {
        scheme = Scheme::file;
    } else {
        return std::nullopt;
    }
    if (scheme == Scheme::file) {
        auto parts = components(rest);
        if (!parts) return std::nullopt;
        return RemoteURL{scheme, "", std::move(parts->owner), std::move(parts->name), std::string(original)};
    }
    const std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    std::string_view host = rest.substr(0, slash);
    if (const std::size_t at = host.rfind('@'); at != std::string_view::npos) host = host.substr(at + 1);
    if (const std::size_t colon = host.find(':'); colon != std::string_view::npos) host = host.substr(0, colon);
    if (host.empty()) return std::nullopt;
    auto parts = components(rest.substr(slash));
    if (!parts) return std::nullopt;
    return RemoteURL{scheme, text::lowercased(host), std::move(parts->owner), std::move(parts->name),
                     std::string(original)};
}

std::optional<RemoteURL> parseSCP(std::string_view userHost, std::string_view path, std::string_view original) {
    const std::size_t at = userHost.rfind('@');
    const std::string_view host = at == std::string_view::npos ? userHost : userHost.substr(at + 1);
    if (host.empty()) return std::nullopt;
    // Without a user part the host must look like a host name, so that "c:"
    // or "name:" is not taken for one.
    if (at == std::string_view::npos && host.find('.') == std::string_view::npos) return std::nullopt;
    auto parts = components(path);
    if (!parts) return std::nullopt;
    return RemoteURL{Scheme::ssh, text::lowercased(host), std::move(parts->owner), std::move(parts->name),
                     std::string(original)};
}

std::optional<RemoteURL> parseShorthand(std::string_view t) {
    if (t.front() == '.' || t.front() == '~' || t.front() == '/') return std::nullopt;
    const std::size_t slash = t.find('/');
    if (slash == std::string_view::npos || t.find('/', slash + 1) != std::string_view::npos) return std::nullopt;
    if (slash == 0 || slash + 1 == t.size()) return std::nullopt;
    auto parts = components(t);
    if (!parts || !parts->owner) return std::nullopt;
    return RemoteURL{Scheme::https, std::string(HostingDefaults::webHost), std::move(parts->owner),
                     std::move(parts->name), std::string(t)};
}

bool containsWhitespace(std::string_view t) {
    std::size_t pos = 0;
    while (pos < t.size()) {
        const text::DecodedScalar d = text::decodeScalar(t, pos);
        if (text::isWhitespace(d.scalar)) return true;
        pos += d.length;
    }
    return false;
}

}  // namespace

std::optional<RemoteURL> parse(std::string_view input) {
    const std::string_view t = trimmedView(input);
    if (t.empty() || containsWhitespace(t)) return std::nullopt;
    if (const std::size_t sep = t.find("://"); sep != std::string_view::npos) {
        return parseURL(text::lowercased(t.substr(0, sep)), t.substr(sep + 3), t);
    }
    if (const std::size_t colon = t.find(':');
        colon != std::string_view::npos && t.substr(0, colon).find('/') == std::string_view::npos) {
        return parseSCP(t.substr(0, colon), t.substr(colon + 1), t);
    }
    return parseShorthand(t);
}

}  // namespace tarv::core::RemoteURLParser
