#include "TarvCore/Errors/HostingError.hpp"

#include <array>

namespace tarv::core {

const char* HostingError::what() const noexcept {
    static constexpr std::array<const char*, std::variant_size_v<Value>> names = {
        "HostingError.network",      "HostingError.forbidden", "HostingError.http",
        "HostingError.unauthorized", "HostingError.deviceFlowDisabled", "HostingError.notFound",
        "HostingError.rateLimited",  "HostingError.invalidResponse",
    };
    return names[value.index()];
}

std::string HostingError::description() const {
    std::string out = what();
    if (const auto* network = std::get_if<Network>(&value)) {
        out += ": " + network->message;
    } else if (const auto* forbidden = std::get_if<Forbidden>(&value)) {
        out += ": " + forbidden->message;
    } else if (const auto* http = std::get_if<Http>(&value)) {
        out += "(" + std::to_string(http->status) + "): " + http->message;
    }
    return out;
}

}  // namespace tarv::core
