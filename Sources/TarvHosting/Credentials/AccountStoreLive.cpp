#include "TarvHosting/Credentials/AccountStoreLive.hpp"

#include <nlohmann/json.hpp>

#include "TarvCore/Errors/SecretStoreError.hpp"
#include "TarvHosting/GitHub/LooseJSON.hpp"

namespace tarv::hosting {

AccountStoreLive::AccountStoreLive(std::shared_ptr<core::SecretStore> secrets, std::string service)
    : secrets_(std::move(secrets)), service_(std::move(service)) {}

std::string AccountStoreLive::encode(const core::GitHubSession& session) {
    nlohmann::json object = nlohmann::json::object();  // keys come out sorted
    object["login"] = session.login;
    if (session.name) object["name"] = *session.name;
    object["token"] = session.token;
    return object.dump();
}

std::optional<core::GitHubSession> AccountStoreLive::decode(std::string_view text) {
    const auto object = LooseJSON::parse(text);
    if (!object || !object->isObject()) return std::nullopt;
    auto login = object->string("login");
    auto token = object->string("token");
    if (!login || !token) return std::nullopt;
    return core::GitHubSession{std::move(*login), object->string("name"), std::move(*token)};
}

std::optional<core::GitHubSession> AccountStoreLive::load(std::stop_token stop) {
    try {
        const auto stored = secrets_->read(service_, stop);
        if (!stored) return std::nullopt;
        return decode(*stored);
    } catch (...) {
        // Unreadable means nobody is signed in.
        return std::nullopt;
    }
}

void AccountStoreLive::save(const core::GitHubSession& session, std::stop_token stop) {
    std::string text;
    try {
        text = encode(session);
    } catch (const nlohmann::json::exception&) {
        // Only text that is not UTF-8 cannot be written; such a session
        // could not be read back either.
        throw core::SecretStoreError::writeFailed("the session is not valid UTF-8 text");
    }
    secrets_->write(service_, text, stop);
}

void AccountStoreLive::remove(std::stop_token stop) {
    try {
        secrets_->remove(service_, stop);
    } catch (...) {
        // Nothing is reported: a session that cannot be forgotten is no
        // reason to keep the user signed in.
    }
}

}  // namespace tarv::hosting
