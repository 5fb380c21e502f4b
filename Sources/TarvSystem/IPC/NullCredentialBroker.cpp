#include "TarvSystem/IPC/NullCredentialBroker.hpp"

namespace tarv::system {

std::shared_ptr<core::Channel<core::CredentialPrompt>> NullCredentialBroker::prompts() {
    auto stream = core::Channel<core::CredentialPrompt>::make();
    stream->finish();
    return stream;
}

void NullCredentialBroker::respond(std::int64_t, std::optional<std::string>) {}

}  // namespace tarv::system
