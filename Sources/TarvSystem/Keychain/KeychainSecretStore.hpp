#pragma once

#include "TarvCore/Ports/ProcessRunning.hpp"
#include "TarvCore/Ports/SecretStore.hpp"

#include <memory>
#include <optional>
#include <stop_token>
#include <string>

namespace tarv::system {

// The live secret store: keeps named secrets as generic-password items
// through a keychain command-line tool, run through the process port. On
// Linux the tool is this project's stand-in (KeychainTool), which speaks the
// same commands. A value is stored as "b64:" and its base64 form, and reaches
// the tool only on its standard input as hexadecimal characters, never in an
// argument list. Reading and deleting never fail towards the caller; a write
// is checked by reading the item back.
class KeychainSecretStore final : public core::SecretStore {
public:
    // `keychain`: the item file to use; none means the tool's default.
    KeychainSecretStore(std::shared_ptr<core::ProcessRunning> runner, std::string tool,
                        std::optional<std::string> keychain);

    // The stored value; none when there is none or it cannot be read.
    std::optional<std::string> read(const std::string& service, std::stop_token stop) override;
    // Throws SecretStoreError.writeFailed (the tool's trimmed error output)
    // when the tool fails or the item does not read back as `value`, and the
    // runner's ProcessError unchanged.
    void write(const std::string& service, const std::string& value, std::stop_token stop) override;
    // Removes the item; reports nothing.
    void remove(const std::string& service, std::stop_token stop) override;

    // The command line sent on standard input to store `value` (exposed for
    // the tool's own tests).
    std::string addCommandLine(const std::string& service, const std::string& value) const;

    static std::string base64Encode(std::string_view bytes);
    static std::optional<std::string> base64Decode(std::string_view text);

private:
    std::shared_ptr<core::ProcessRunning> runner_;
    std::string tool_;
    std::optional<std::string> keychain_;
};

}  // namespace tarv::system
