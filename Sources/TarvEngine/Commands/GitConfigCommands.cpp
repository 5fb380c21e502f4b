#include "TarvEngine/Commands/GitConfigCommands.hpp"

#include "TarvCore/Text/Split.hpp"
#include "TarvCore/Text/Trim.hpp"

namespace tarv::engine {

namespace {

// Adds the non-blank lines of `text`, trimmed, to `values`.
void addLines(std::string_view text, std::vector<std::string>& values) {
    for (std::string_view line : core::text::split(text, '\n')) {
        std::string_view value = core::text::trimmedView(line);
        if (!value.empty()) values.emplace_back(value);
    }
}

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

// "^(a\.b|c\.d)$": the names exactly, dots and other punctuation escaped.
std::string exactNames(const std::vector<std::string>& keys) {
    std::string pattern = "^(";
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (i > 0) pattern += '|';
        for (char c : lowered(keys[i])) {
            const bool plain = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
            if (!plain) pattern += '\\';
            pattern += c;
        }
    }
    return pattern + ")$";
}

}  // namespace

std::vector<std::vector<std::string>> GitConfigCommands::valuesOfKeys(const std::vector<std::string>& keys,
                                                                      const std::optional<std::string>& directory,
                                                                      std::stop_token stop) const {
    std::vector<std::vector<std::string>> values(keys.size());
    if (keys.empty()) return values;
    auto result = executor.run({"config", "-z", "--get-regexp", exactNames(keys)}, directory,
                               {.allowedExitCodes = {0, 1}}, stop);
    const std::string output = result.stdoutString();
    // Entries "name\nvalue", NUL-terminated; a name without a value has no
    // line break. Names come lower-cased.
    for (std::string_view entry : core::text::split(std::string_view(output), '\0')) {
        const auto newline = entry.find('\n');
        if (newline == std::string_view::npos) continue;
        const std::string name(entry.substr(0, newline));
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (lowered(keys[i]) == name) addLines(entry.substr(newline + 1), values[i]);
        }
    }
    return values;
}

std::vector<std::string> GitConfigCommands::values(const std::string& key, const std::optional<std::string>& directory,
                                                   std::stop_token stop) const {
    auto result = executor.run({"config", "--get-all", key}, directory, {.allowedExitCodes = {0, 1}}, stop);
    const std::string output = result.stdoutString();
    std::vector<std::string> values;
    addLines(output, values);
    return values;
}

std::optional<std::string> GitConfigCommands::value(const std::string& key, const std::optional<std::string>& directory,
                                                    std::stop_token stop) const {
    auto all = values(key, directory, stop);
    if (all.empty()) return std::nullopt;
    return all.back();
}

void GitConfigCommands::setGlobal(const std::string& key, const std::string& value, std::stop_token stop) const {
    executor.run({"config", "--global", key, value}, std::nullopt, {.readOnly = false}, stop);
}

}  // namespace tarv::engine
