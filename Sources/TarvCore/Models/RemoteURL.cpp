#include "TarvCore/Models/RemoteURL.hpp"

#include "TarvCore/Text/Unicode.hpp"

namespace tarv::core {

std::optional<std::string> RemoteURL::webURL() const {
    if (scheme == Scheme::file || host.empty() || !owner) return std::nullopt;
    return "https://" + host + "/" + *owner + "/" + name;
}

std::optional<std::string> RemoteURL::pullRequestURL(std::string_view branch) const {
    const auto base = webURL();
    if (!base) return std::nullopt;
    const std::string b = encode(branch);
    const std::string lowered = text::lowercased(host);
    if (lowered.find("gitlab") != std::string::npos) {
        return *base + "/-/merge_requests/new?merge_request%5Bsource_branch%5D=" + b;
    }
    if (lowered.find("bitbucket") != std::string::npos) {
        return *base + "/pull-requests/new?source=" + b;
    }
    return *base + "/compare/" + b + "?expand=1";
}

std::string RemoteURL::encode(std::string_view branch) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(branch.size());
    for (char c : branch) {
        const auto byte = static_cast<unsigned char>(c);
        const bool keep = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                          (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
                          byte == '~' || byte == '/';
        if (keep) {
            out.push_back(c);
        } else {
            out.push_back('%');
            out.push_back(hex[byte >> 4]);
            out.push_back(hex[byte & 0x0F]);
        }
    }
    return out;
}

}  // namespace tarv::core
