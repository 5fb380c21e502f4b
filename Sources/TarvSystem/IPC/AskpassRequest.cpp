#include "TarvSystem/IPC/AskpassRequest.hpp"

#include <nlohmann/json.hpp>

#include "TarvCore/Text/Utf8.hpp"
#include "TarvSystem/IPC/AskpassWire.hpp"

namespace tarv::system {

namespace {

AskpassRequest::Asker askerNamed(const nlohmann::json& object) {
    const auto member = object.find("asker");
    if (member == object.end() || !member->is_string()) return AskpassRequest::Asker::unknown;
    const auto& name = member->get_ref<const std::string&>();
    if (name == "git") return AskpassRequest::Asker::git;
    if (name == "ssh") return AskpassRequest::Asker::ssh;
    return AskpassRequest::Asker::unknown;
}

}  // namespace

std::string AskpassRequest::encode() const {
    nlohmann::json object = nlohmann::json::object();
    object["token"] = core::text::decodeLossy(token);
    object["prompt"] = core::text::decodeLossy(prompt);
    if (asker == Asker::git) object["asker"] = "git";
    if (asker == Asker::ssh) object["asker"] = "ssh";
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
    return AskpassRequest{token->get<std::string>(), prompt->get<std::string>(), askerNamed(object)};
}

}  // namespace tarv::system
