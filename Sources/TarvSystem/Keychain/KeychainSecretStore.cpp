#include "TarvSystem/Keychain/KeychainSecretStore.hpp"

#include "TarvSystem/Keychain/HexCoding.hpp"

#include "TarvCore/Errors/ProcessError.hpp"
#include "TarvCore/Errors/SecretStoreError.hpp"
#include "TarvCore/Text/Trim.hpp"
#include "TarvCore/Text/Utf8.hpp"

#include <chrono>

namespace tarv::system {

namespace {

using namespace std::chrono_literals;

constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::string_view storedPrefix = "b64:";
constexpr auto readTimeout = 5000ms;
constexpr auto writeTimeout = 10000ms;
constexpr auto deleteTimeout = 5000ms;

int alphabetIndex(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}


std::string trimmedText(const core::Bytes& bytes) { return core::text::trimmed(core::text::decodeLossy(bytes)); }

// The interactive command line has no escaping: a service or keychain path
// that could end a quoted word or the line would be read as something else.
bool fitsCommandLine(const std::string& service, const std::optional<std::string>& keychain) {
    if (service.empty() || service.find_first_of(" \t\r\n\"") != std::string::npos) return false;
    return !keychain || keychain->find_first_of("\r\n\"") == std::string::npos;
}

}  // namespace

KeychainSecretStore::KeychainSecretStore(std::shared_ptr<core::ProcessRunning> runner, std::string tool,
                                         std::optional<std::string> keychain)
    : runner_(std::move(runner)), tool_(std::move(tool)), keychain_(std::move(keychain)) {}

std::string KeychainSecretStore::base64Encode(std::string_view bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const unsigned value = static_cast<unsigned char>(bytes[i]) << 16 |
                               static_cast<unsigned char>(bytes[i + 1]) << 8 | static_cast<unsigned char>(bytes[i + 2]);
        text += alphabet[(value >> 18) & 63];
        text += alphabet[(value >> 12) & 63];
        text += alphabet[(value >> 6) & 63];
        text += alphabet[value & 63];
    }
    const std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        unsigned value = static_cast<unsigned char>(bytes[i]) << 16;
        if (rest == 2) value |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        text += alphabet[(value >> 18) & 63];
        text += alphabet[(value >> 12) & 63];
        text += rest == 2 ? alphabet[(value >> 6) & 63] : '=';
        text += '=';
    }
    return text;
}

std::optional<std::string> KeychainSecretStore::base64Decode(std::string_view text) {
    if (text.size() % 4 != 0) return std::nullopt;
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        int values[4];
        int padding = 0;
        for (int k = 0; k < 4; ++k) {
            const char c = text[i + k];
            if (c == '=' && last && k >= 2) {
                values[k] = 0;
                ++padding;
                continue;
            }
            if (padding > 0) return std::nullopt;  // data after the fill
            values[k] = alphabetIndex(c);
            if (values[k] < 0) return std::nullopt;
        }
        const unsigned value = static_cast<unsigned>(values[0]) << 18 | static_cast<unsigned>(values[1]) << 12 |
                               static_cast<unsigned>(values[2]) << 6 | static_cast<unsigned>(values[3]);
        bytes += static_cast<char>((value >> 16) & 0xFF);
        if (padding < 2) bytes += static_cast<char>((value >> 8) & 0xFF);
        if (padding < 1) bytes += static_cast<char>(value & 0xFF);
    }
    return bytes;
}

std::string KeychainSecretStore::addCommandLine(const std::string& service, const std::string& value) const {
    const std::string stored = std::string(storedPrefix) + base64Encode(value);
    std::string line = "add-generic-password -U -s " + service + " -a tarv -l \"Tarv (" + service + ")\" -X " +
                       HexCoding::encode(stored);
    if (keychain_) line += " \"" + *keychain_ + "\"";
    line += '\n';
    return line;
}

std::optional<std::string> KeychainSecretStore::read(const std::string& service, std::stop_token stop) {
    core::ProcessSpec spec{.executable = tool_, .arguments = {"find-generic-password", "-s", service, "-w"}};
    if (keychain_) spec.arguments.push_back(*keychain_);
    spec.timeout = readTimeout;
    core::ProcessResult result;
    try {
        result = runner_->run(spec, stop);
    } catch (const core::ProcessError&) {
        return std::nullopt;
    }
    if (result.exitCode != 0) return std::nullopt;
    const std::string text = trimmedText(result.stdout);
    if (text.compare(0, storedPrefix.size(), storedPrefix) != 0) return std::nullopt;
    auto decoded = base64Decode(std::string_view(text).substr(storedPrefix.size()));
    if (!decoded || !core::text::isValidUtf8(*decoded)) return std::nullopt;
    return decoded;
}

void KeychainSecretStore::write(const std::string& service, const std::string& value, std::stop_token stop) {
    if (!fitsCommandLine(service, keychain_)) {
        throw core::SecretStoreError::writeFailed("The service name or keychain path cannot be passed to the tool");
    }
    const std::string line = addCommandLine(service, value);
    core::ProcessSpec spec{.executable = tool_, .arguments = {"-i"}};
    spec.stdin = core::toBytes(line);
    spec.timeout = writeTimeout;
    const core::ProcessResult result = runner_->run(spec, stop);  // ProcessError passes through
    const std::string errors = trimmedText(result.stderr);
    if (result.exitCode != 0) throw core::SecretStoreError::writeFailed(errors);
    if (read(service, stop) != value) throw core::SecretStoreError::writeFailed(errors);
}

void KeychainSecretStore::remove(const std::string& service, std::stop_token stop) {
    core::ProcessSpec spec{.executable = tool_, .arguments = {"delete-generic-password", "-s", service}};
    if (keychain_) spec.arguments.push_back(*keychain_);
    spec.timeout = deleteTimeout;
    try {
        runner_->run(spec, stop);
    } catch (const core::ProcessError&) {
    }
}

}  // namespace tarv::system
