#include "TarvSystem/IPC/AskpassRequest.hpp"

#include <nlohmann/json.hpp>

#include "TarvCore/Text/Utf8.hpp"
#include "TarvSystem/IPC/AskpassWire.hpp"

namespace tarv::system {

std::string AskpassRequest::encode() const {
    nlohmann::json object = nlohmann::json::object();
    object["token"] = core::text::decodeLossy(token);
    object["prompt"] = core::text::decodeLossy(prompt);
    return object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::optional<AskpassRequest> AskpassRequest::decode(std::string_view line) {
    if (!AskpassWire::isWithinLimits(line)) return std::nullopt;
    const auto object = nlohmann::json::parse(line, nullptr, /*allow_exceptions=*/false);
    if (!object.is_object()) return std::nullopt;
    const auto token = object.find("token");
    const auto prompt = object.find("prompt");
    if (token == object.end() || !token->is_string()) return std::nullopt;
    if (prompt == object.end() || !prompt->is_string()) return std::nullopt;
    return AskpassRequest{token->get<std::string>(), prompt->get<std::string>()};
}

}  // namespace tarv::system
