#include "TarvSystem/Keychain/KeychainTool.hpp"

#include "TarvSystem/Keychain/HexCoding.hpp"

#include "TarvSystem/Keychain/KeychainFile.hpp"

#include <algorithm>
#include <climits>
#include <unistd.h>
#include <filesystem>
#include <istream>
#include <optional>
#include <ostream>

namespace tarv::system::KeychainTool {

namespace {

constexpr int success = 0;
constexpr int failure = 1;
constexpr int usage = 2;
constexpr int notFound = 44;
constexpr int duplicate = 45;

constexpr const char* notFoundMessage =
    "security: SecKeychainSearchCopyNext: The specified item could not be found in the keychain.";


// The parsed options of one command.
struct Command {
    std::string name;
    bool update = false;      // -U
    bool printData = false;   // -w
    std::optional<std::string> service, account, label, hexData;
    std::optional<std::string> keychain;
};

// Parses the words after the command name. `allowed` lists the options the
// command takes; value options are followed by their value.
std::optional<Command> parse(const std::vector<std::string>& words, std::string_view allowed, std::ostream& errors) {
    Command command;
    command.name = words.front();
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.size() == 2 && word[0] == '-' && allowed.find(word[1]) != std::string_view::npos) {
            const char option = word[1];
            if (option == 'U') {
                command.update = true;
                continue;
            }
            if (option == 'w') {
                command.printData = true;
                continue;
            }
            if (i + 1 >= words.size()) {
                errors << "security: " << command.name << ": option " << word << " needs a value\n";
                return std::nullopt;
            }
            std::string value = words[++i];
            switch (option) {
                case 's': command.service = std::move(value); break;
                case 'a': command.account = std::move(value); break;
                case 'l': command.label = std::move(value); break;
                case 'X': command.hexData = std::move(value); break;
                default: break;
            }
            continue;
        }
        if (!word.empty() && word[0] == '-') {
            errors << "security: " << command.name << ": unknown option " << word << "\n";
            return std::nullopt;
        }
        if (command.keychain) {
            errors << "security: " << command.name << ": more than one keychain given\n";
            return std::nullopt;
        }
        command.keychain = word;
    }
    if (!command.service) {
        errors << "security: " << command.name << ": a service (-s) is required\n";
        return std::nullopt;
    }
    return command;
}

KeychainFile fileFor(const Command& command, const std::string& defaultKeychain) {
    return KeychainFile(command.keychain && !command.keychain->empty() ? *command.keychain : defaultKeychain);
}

int addItem(const Command& command, const std::string& defaultKeychain, std::ostream& errors) {
    if (!command.hexData) {
        errors << "security: add-generic-password: the data (-X) is required\n";
        return usage;
    }
    const auto data = HexCoding::decode(*command.hexData);
    if (!data) {
        errors << "security: add-generic-password: the data is not hexadecimal\n";
        return failure;
    }
    const KeychainFile file = fileFor(command, defaultKeychain);
    file.prepareFolder();
    KeychainFile::FolderLock lock(file, true);
    auto items = file.load();
    const std::string account = command.account.value_or("");
    const auto existing = std::find_if(items.begin(), items.end(), [&](const KeychainFile::Item& item) {
        return item.service == *command.service && item.account == account;
    });
    if (existing != items.end()) {
        if (!command.update) {
            errors << "security: SecKeychainItemCreateFromContent: The specified item already exists in the "
                      "keychain.\n";
            return duplicate;
        }
        existing->data = *data;
        if (command.label) existing->label = *command.label;
    } else {
        items.push_back({*command.service, account, command.label.value_or(*command.service), *data});
    }
    file.save(items);
    return success;
}

int findItem(const Command& command, const std::string& defaultKeychain, std::ostream& output,
             std::ostream& errors) {
    const KeychainFile file = fileFor(command, defaultKeychain);
    KeychainFile::FolderLock lock(file, false);
    const auto items = file.load();
    const auto found = std::find_if(items.begin(), items.end(),
                                    [&](const KeychainFile::Item& item) { return item.service == *command.service; });
    if (found == items.end()) {
        errors << notFoundMessage << "\n";
        return notFound;
    }
    if (command.printData) {
        output.write(reinterpret_cast<const char*>(found->data.data()), static_cast<std::streamsize>(found->data.size()));
        output << "\n";
    } else {
        output << "keychain: \"" << file.path() << "\"\nclass: \"genp\"\nattributes:\n    \"svce\"<blob>=\""
               << found->service << "\"\n    \"acct\"<blob>=\"" << found->account << "\"\n";
    }
    return success;
}

int deleteItem(const Command& command, const std::string& defaultKeychain, std::ostream& errors) {
    const KeychainFile file = fileFor(command, defaultKeychain);
    KeychainFile::FolderLock lock(file, true);
    auto items = file.load();
    const auto found = std::find_if(items.begin(), items.end(),
                                    [&](const KeychainFile::Item& item) { return item.service == *command.service; });
    if (found == items.end()) {
        errors << notFoundMessage << "\n";
        return notFound;
    }
    items.erase(found);
    file.save(items);
    return success;
}

int runCommand(const std::vector<std::string>& words, std::ostream& output, std::ostream& errors,
               const std::string& defaultKeychain) {
    const std::string& name = words.front();
    try {
        if (name == "add-generic-password") {
            const auto command = parse(words, "UsalX", errors);
            return command ? addItem(*command, defaultKeychain, errors) : usage;
        }
        if (name == "find-generic-password") {
            const auto command = parse(words, "sw", errors);
            return command ? findItem(*command, defaultKeychain, output, errors) : usage;
        }
        if (name == "delete-generic-password") {
            const auto command = parse(words, "s", errors);
            return command ? deleteItem(*command, defaultKeychain, errors) : usage;
        }
    } catch (const KeychainFile::Damaged& damaged) {
        errors << "security: " << name << ": " << damaged.what() << "\n";
        return failure;
    } catch (const std::filesystem::filesystem_error& error) {
        errors << "security: " << name << ": " << error.code().message() << ": " << error.path1().string() << "\n";
        return failure;
    }
    errors << "security: unknown command \"" << name << "\"\n";
    return usage;
}

}  // namespace

std::string standInPath() {
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    std::string executable = length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
    const auto slash = executable.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : executable.substr(0, slash);
    return folder + "/tarv-keychain";
}

std::vector<std::string> splitCommandLine(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
            continue;
        }
        if (!quoted && (c == ' ' || c == '\t' || c == '\r')) {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
            continue;
        }
        word += c;
        inWord = true;
    }
    if (inWord) words.push_back(std::move(word));
    return words;
}

int run(const std::vector<std::string>& arguments, std::istream& input, std::ostream& output, std::ostream& errors,
        const std::string& defaultKeychain) {
    if (arguments.empty()) {
        errors << "usage: tarv-keychain -i | find-generic-password -s SERVICE -w [KEYCHAIN] | "
                  "delete-generic-password -s SERVICE [KEYCHAIN]\n";
        return usage;
    }
    if (arguments.size() == 1 && arguments.front() == "-i") {
        int status = success;
        std::string line;
        while (std::getline(input, line)) {
            const auto words = splitCommandLine(line);
            if (words.empty()) continue;
            const int result = runCommand(words, output, errors, defaultKeychain);
            if (status == success) status = result;
        }
        return status;
    }
    return runCommand(arguments, output, errors, defaultKeychain);
}

}  // namespace tarv::system::KeychainTool
