// Every JSON file the program keeps for itself, given a document nested far
// deeper than anything it writes, takes the file's usual fallback instead of
// recursing once per level (a stack overflow at every start until the file
// is removed).

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>

#include "TarvCore/Errors/ConfigurationError.hpp"
#include "TarvCore/Ports/SecretStore.hpp"
#include "TarvHosting/Credentials/AccountStoreLive.hpp"
#include "TarvStorage/Stores/JSONKeymapStore.hpp"
#include "TarvStorage/Stores/JSONRepositoryRegistry.hpp"
#include "TarvSystem/FileSystem/LocalFileStore.hpp"
#include "TarvSystem/Keychain/KeychainTool.hpp"
#include "TarvSystemTests/FileSystem/ScratchFolder.hpp"

namespace tarv::app {
namespace {

using testing::ScratchFolder;

constexpr std::size_t deep = 100000;

std::string nested() { return std::string(deep, '[') + std::string(deep, ']'); }

// The deep value where each store looks for its content, so that the
// readers get past the top-level checks.
std::string nestedInsideTheExpectedKeys() {
    const std::string value = nested();
    return R"({"version": 1, "repositories": [)" + value + R"(], "bindings": {"commit": )" + value +
           R"(}, "items": [)" + value + "]}";
}

// Answers one stored value, as the keychain would.
class OneSecret final : public core::SecretStore {
public:
    explicit OneSecret(std::string value) : value_(std::move(value)) {}
    std::optional<std::string> read(const std::string&, std::stop_token) override { return value_; }
    void write(const std::string&, const std::string&, std::stop_token) override {}
    void remove(const std::string&, std::stop_token) override {}

private:
    std::string value_;
};

std::shared_ptr<system::LocalFileStore> disk() { return std::make_shared<system::LocalFileStore>(); }

std::string registryLoad(const ScratchFolder& folder, const std::string& text) {
    folder.write("repositories.json", text);
    storage::JSONRepositoryRegistry registry(disk(), folder.path());
    return std::to_string(registry.load({}).size()) + " entries";
}

std::string registrySave(const ScratchFolder& folder, const std::string& text) {
    folder.write("repositories.json", text);
    storage::JSONRepositoryRegistry registry(disk(), folder.path());
    registry.save({core::RepositoryEntry{"/r", "r", std::nullopt, 1, std::nullopt}}, {});
    int keptAside = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        if (entry.path().filename().string().starts_with("repositories.json.unreadable-") &&
            ScratchFolder::read(entry.path().string()) == text) {
            ++keptAside;
        }
    }
    return std::to_string(keptAside) + " kept aside, " + std::to_string(registry.load({}).size()) + " entries";
}

std::string keymapLoad(const ScratchFolder& folder, const std::string& text) {
    folder.write("keymap.json", text);
    storage::JSONKeymapStore store(disk(), folder.path());
    try {
        store.load();
        return "loaded";
    } catch (const core::ConfigurationError& error) {
        return error == core::ConfigurationError::malformed(folder / "keymap.json") ? "malformed" : "other error";
    }
}

std::string keychainFind(const ScratchFolder& folder, const std::string& text) {
    const std::string path = folder.write("keychain/secrets.json", text);
    std::istringstream input;
    std::ostringstream output;
    std::ostringstream errors;
    const int status =
        system::KeychainTool::run({"find-generic-password", "-s", "tarv.github", "-w", path}, input, output, errors, path);
    return std::to_string(status) + " " + errors.str();
}

std::string accountLoad(const ScratchFolder&, const std::string& text) {
    hosting::AccountStoreLive store(std::make_shared<OneSecret>(text));
    return store.load({}) ? "signed in" : "signed out";
}

TEST(StoredFileNesting, EveryStoredFileTakesItsFallback) {
    struct Reader {
        const char* name;
        std::function<std::string(const ScratchFolder&, const std::string&)> outcome;
        std::string expected;
    };
    const std::vector<Reader> readers = {
        {"registry load", registryLoad, "0 entries"},
        {"registry save", registrySave, "1 kept aside, 1 entries"},
        {"keymap", keymapLoad, "malformed"},
        {"keychain stand-in", keychainFind,
         "1 security: find-generic-password: keychain file nested too deeply\n"},
        {"account store", accountLoad, "signed out"},
    };
    for (const std::string& text : {nested(), nestedInsideTheExpectedKeys()}) {
        for (const Reader& reader : readers) {
            ScratchFolder folder;
            EXPECT_EQ(reader.outcome(folder, text), reader.expected) << reader.name << ", " << text.substr(0, 40);
        }
    }
}

}  // namespace
}  // namespace tarv::app
