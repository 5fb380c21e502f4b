#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "TarvCore/Ports/CredentialBroker.hpp"

namespace tarv::system {

// The credential broker of a process that runs no askpass server: it never
// produces a prompt.
class NullCredentialBroker final : public core::CredentialBroker {
public:
    // A new stream that has already ended.
    std::shared_ptr<core::Channel<core::CredentialPrompt>> prompts() override;
    // Does nothing.
    void respond(std::int64_t id, std::optional<std::string> answer) override;
};

}  // namespace tarv::system
