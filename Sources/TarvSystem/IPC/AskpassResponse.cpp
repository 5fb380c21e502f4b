#include "TarvSystem/IPC/AskpassResponse.hpp"

#include <nlohmann/json.hpp>

#include "TarvCore/Text/Utf8.hpp"
#include "TarvSystem/IPC/AskpassWire.hpp"

namespace tarv::system {

std::string AskpassResponse::encode() const {
    nlohmann::json object = nlohmann::json::object();
    object["ok"] = ok;
    if (value) object["value"] = core::text::decodeLossy(*value);
    return object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::optional<AskpassResponse> AskpassResponse::decode(std::string_view line) {
    if (!AskpassWire::isWithinLimits(line)) return std::nullopt;
    const auto object = nlohmann::json::parse(line, nullptr, /*allow_exceptions=*/false);
    if (!object.is_object()) return std::nullopt;
    const auto ok = object.find("ok");
    if (ok == object.end() || !ok->is_boolean()) return std::nullopt;
    AskpassResponse response;
    response.ok = ok->get<bool>();
    const auto value = object.find("value");
    if (value != object.end() && !value->is_null()) {
        if (!value->is_string()) return std::nullopt;
        response.value = value->get<std::string>();
    }
    return response;
}

}  // namespace tarv::system
