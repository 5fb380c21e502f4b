#pragma once

#include "TarvCore/Concurrency/Channel.hpp"
#include "TarvCore/Models/CredentialPrompt.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tarv::core {

// Relays the credential questions git asks (through the askpass helper) and
// their answers. Neither operation blocks.
class CredentialBroker {
public:
    virtual ~CredentialBroker() = default;

    // One element per prompt that git raises.
    virtual std::shared_ptr<Channel<CredentialPrompt>> prompts() = 0;

    // Answers the prompt with that id; none means the user gave no answer.
    virtual void respond(std::int64_t id, std::optional<std::string> answer) = 0;
};

}  // namespace tarv::core
