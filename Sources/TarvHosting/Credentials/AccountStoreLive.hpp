#pragma once

#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

#include "TarvCore/Models/GitHubSession.hpp"
#include "TarvCore/Ports/AccountStore.hpp"
#include "TarvCore/Ports/SecretStore.hpp"

namespace tarv::hosting {

// Keeps the signed-in account as one secret: a compact JSON object with the
// keys "login", "name" (left out when there is no name) and "token", in that
// (sorted) order.
class AccountStoreLive final : public core::AccountStore {
public:
    static constexpr std::string_view defaultService = "tarv.github";

    explicit AccountStoreLive(std::shared_ptr<core::SecretStore> secrets,
                              std::string service = std::string(defaultService));

    // None when nothing is stored, the secret cannot be read, or it is not a
    // session (not a JSON object, "login" or "token" not a string). Never
    // throws.
    std::optional<core::GitHubSession> load(std::stop_token stop) override;

    // Replaces any stored session. Passes on the secret store's
    // core::SecretStoreError; nothing is stored then.
    void save(const core::GitHubSession& session, std::stop_token stop) override;

    // Forgets the session; reports nothing.
    void remove(std::stop_token stop) override;

    // The stored text of a session, and a session from such a text.
    static std::string encode(const core::GitHubSession& session);
    static std::optional<core::GitHubSession> decode(std::string_view text);

    const std::string& service() const { return service_; }

private:
    std::shared_ptr<core::SecretStore> secrets_;
    std::string service_;
};

}  // namespace tarv::hosting
